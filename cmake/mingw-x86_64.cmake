# mingw-x86_64.cmake - cross build for 64-bit Windows, for machines that cannot run the 32-bit one.
set(ZENTAVO_MINGW_PROCESSOR x86_64)
set(ZENTAVO_WINDOWS_BUILD win64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
