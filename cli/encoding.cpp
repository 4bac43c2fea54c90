// encoding.cpp - code page 932 to UTF-8 with the platform's own converter.
#include "encoding.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <errno.h>
#include <iconv.h>
#endif

#include <vector>

#include "core/codepage.h"

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";

#ifdef _WIN32

// One character (one or two bytes) at a time, so an invalid one becomes U+FFFD alone.
bool ConvertCharacter(const char* bytes, int count, std::string* out)
{
    wchar_t wide[2];
    int wideCount = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, count, wide, 2);
    if (wideCount <= 0) return false;
    char utf8[8];
    int utf8Count = WideCharToMultiByte(CP_UTF8, 0, wide, wideCount, utf8, sizeof utf8, nullptr, nullptr);
    if (utf8Count <= 0) return false;
    out->append(utf8, utf8Count);
    return true;
}

#else

bool ConvertCharacter(const char* bytes, int count, std::string* out)
{
    static iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    char utf8[8];
    char* in = const_cast<char*>(bytes);
    size_t inLeft = count;
    char* result = utf8;
    size_t outLeft = sizeof utf8;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &inLeft, &result, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return false;
    out->append(utf8, result - utf8);
    return true;
}

#endif

}  // namespace

std::string Cp932ToUtf8(const char* text, size_t length)
{
    std::string out;
    out.reserve(length + length / 2);
    for (size_t i = 0; i < length;) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte);  // ASCII, line feeds and zero bytes as they are
            i++;
            continue;
        }
        int count = IsLeadByte(byte) && i + 1 < length ? 2 : 1;
        if (!ConvertCharacter(text + i, count, &out)) {
            out += kReplacement;
            count = 1;  // resynchronise on the next byte
        }
        i += count;
    }
    return out;
}
