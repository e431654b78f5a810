# Shared by both toolchain files; TARVO_TRIPLET names the target.
# The posix-thread compilers are used because GoogleTest needs std::mutex.
set(CMAKE_C_COMPILER ${TARVO_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVO_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVO_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${TARVO_TRIPLET}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${TARVO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows programs built here run under Wine through the test rig.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-rig.sh exec)
