// encoding.cpp - code page 932 to UTF-8 with the program's own table, the same in every build.
#include "encoding.h"

#include <stdint.h>

#include "core/cp932.h"

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";

void AppendUtf8(uint32_t codePoint, std::string* out)
{
    if (codePoint < 0x80) {
        *out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        *out += static_cast<char>(0xC0 | codePoint >> 6);
        *out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        *out += static_cast<char>(0xE0 | codePoint >> 12);
        *out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        *out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

std::string Cp932ToUtf8(const char* text, size_t length)
{
    std::string out;
    out.reserve(length + length / 2);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < length;) {
        size_t used;
        long codePoint = Cp932ToUnicode(bytes + i, length - i, &used);
        // Windows reads the lone bytes 0x80, 0xA0 and 0xFD to 0xFF, which are no characters,
        // as stand-ins (U+0080, U+F8F0 to U+F8F3) that only serve to write them back; a
        // reader of the terminal is told they are no characters.
        bool standIn = used == 1 && bytes[i] >= 0x80 && (bytes[i] < 0xA1 || bytes[i] > 0xDF);
        if (codePoint < 0 || standIn)
            out += kReplacement;
        else
            AppendUtf8(static_cast<uint32_t>(codePoint), &out);
        i += used;
    }
    return out;
}
