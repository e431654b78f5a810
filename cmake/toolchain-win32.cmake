# Cross build for 32-bit Windows (PE32) with mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TARVO_TRIPLET i686-w64-mingw32)
set(TARVO_FLAVOUR win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
