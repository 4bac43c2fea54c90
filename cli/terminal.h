// terminal.h - whether a stream is a terminal that reads UTF-8.
#ifndef ZENTAVO_CLI_TERMINAL_H
#define ZENTAVO_CLI_TERMINAL_H

#include <stdio.h>

// True when stream is a terminal and the user's locale (LC_ALL, LC_CTYPE, LANG) has the
// character set UTF-8; on Windows, when it is a console whose output code page is UTF-8.
// Leaves the program's own locale as it was.
bool IsUtf8Terminal(FILE* stream);

#endif
