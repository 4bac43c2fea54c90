// commandline.cpp - finding the template path in the command-line tail.
#include "commandline.h"

#include <string.h>

char* TemplatePathFromTail(char* tail)
{
    if (!tail || tail[0] == '\0') return nullptr;
    if (tail[0] != '"') return tail;
    char* path = tail + 1;
    // A byte-wise search is safe: a quote is never the second byte of a double-byte character.
    char* closing = strchr(path, '"');
    if (closing) *closing = '\0';
    return path[0] ? path : nullptr;
}
