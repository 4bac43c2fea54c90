// encoding.h - converting the program's code page 932 text for a UTF-8 terminal.
#ifndef ZENTAVO_CLI_ENCODING_H
#define ZENTAVO_CLI_ENCODING_H

#include <stddef.h>

#include <string>

// Converts length bytes of code page 932 text to UTF-8. Bytes that are not valid code page
// 932 come out as U+FFFD, so nothing is dropped silently.
std::string Cp932ToUtf8(const char* text, size_t length);

#endif
