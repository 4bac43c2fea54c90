// platform.h - what zentavo-cli asks of the operating system, defined once per platform
// (platform_posix.cpp, platform_windows.cpp; the build picks one). The clock the core reads
// (ReadWallClock, core/host.h) is defined there too.
#ifndef ZENTAVO_CLI_PLATFORM_H
#define ZENTAVO_CLI_PLATFORM_H

#include <stddef.h>
#include <stdio.h>

// True when stream is a terminal that reads UTF-8: on POSIX systems a terminal whose user
// locale (LC_ALL, LC_CTYPE, LANG) has the character set UTF-8, on Windows a console whose
// output code page is UTF-8. Leaves the program's own locale as it was.
bool IsUtf8Terminal(FILE* stream);

// Puts standard output and standard error into binary mode, so that a line feed stays one
// byte where the C runtime would otherwise write CR LF.
void UseBinaryStandardStreams();

// Makes the heap hold `bytes` of memory that is already in place, where the system allows it,
// so that the many small allocations of a template's sentences that follow land on pages
// that fault no more. Call once, before the first load.
void PrepareHeap(size_t bytes);

#endif
