# mingw-i686.cmake - cross build for 32-bit Windows, the program we ship first.
set(ZENTAVO_MINGW_PROCESSOR i686)
set(ZENTAVO_WINDOWS_BUILD win32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
