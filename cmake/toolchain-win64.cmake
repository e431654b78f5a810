# Cross build for 64-bit Windows (PE32+) with mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TARVO_TRIPLET x86_64-w64-mingw32)
set(TARVO_FLAVOUR win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
