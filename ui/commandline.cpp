// commandline.cpp - finding the template path in the command-line tail.
#include "commandline.h"

#include <string.h>

// Blanks as the command line counts them: every byte from 1 to 32.
static bool IsBlank(char byte)
{
    return byte > 0 && static_cast<unsigned char>(byte) <= ' ';
}

char* TemplatePathFromTail(char* tail)
{
    if (!tail || tail[0] == '\0') return nullptr;
    if (tail[0] != '"') return tail;
    // Byte-wise searches are safe: a quote is never the second byte of a double-byte character.
    char* closing = strchr(tail + 1, '"');
    if (!closing || closing == tail + 1) return tail;
    for (const char* rest = closing + 1; *rest; rest++)
        if (!IsBlank(*rest)) return tail;
    *closing = '\0';
    return tail + 1;
}
