# MinGW.cmake - cross build for Windows with MinGW-w64, for the processor that the including
# toolchain file names in ZENTAVO_MINGW_PROCESSOR (i686 or x86_64); tests run under Wine, with the
# loader and prefix of that build (ZENTAVO_WINDOWS_BUILD: win32 or win64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZENTAVO_MINGW_PROCESSOR})
set(triplet ${ZENTAVO_MINGW_PROCESSOR}-w64-mingw32)
# The POSIX threading flavour: its C++ library has std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run --${ZENTAVO_WINDOWS_BUILD})
