// cp932_windows_test.cpp - the program's code page 932 table against the system's conversion.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>

#include "core/codepage.h"
#include "core/cp932.h"

namespace {

// Every byte and every lead byte with every trail byte decode as MultiByteToWideChar decodes
// them; every BMP character encodes as WideCharToMultiByte encodes it without best-fit
// guesses ("?" where code page 932 has no such character).
TEST(Cp932Table, MatchesTheSystemConversionBothWays)
{
    std::ostringstream differences;
    int count = 0;
    for (unsigned code = 0x80; code <= 0xFCFC; code++) {
        bool pair = code > 0xFF;
        unsigned char bytes[2] = {static_cast<unsigned char>(pair ? code >> 8 : code),
                                  static_cast<unsigned char>(code)};
        if (pair != IsLeadByte(bytes[0]) || (pair && (bytes[1] < 0x40 || bytes[1] > 0xFC))) continue;
        wchar_t wide[2] = {};
        const char* text = reinterpret_cast<char*>(bytes);
        int system = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, pair ? 2 : 1, wide, 2);
        // The strict conversion refuses the lone bytes 0xA0 and 0xFD to 0xFF, which the ordinary
        // one reads as private-use stand-ins; the table holds what the ordinary one gives.
        if (system == 0 && !pair) system = MultiByteToWideChar(932, 0, text, 1, wide, 2);
        size_t used;
        long ours = Cp932ToUnicode(bytes, pair ? 2 : 1, &used);
        long theirs = system == 1 ? wide[0] : -1;
        if (ours != theirs && count++ < 20) differences << std::hex << " " << code << ":" << ours << "/" << theirs;
    }
    for (unsigned unit = 0x80; unit <= 0xFFFF; unit++) {
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        wchar_t wide = static_cast<wchar_t>(unit);
        char system[2];
        BOOL replaced = FALSE;
        int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &wide, 1, system, 2, "?", &replaced);
        unsigned char ours[2];
        int ourLength = UnicodeToCp932(unit, ours);
        bool same =
            replaced ? ourLength == 0 : ourLength == length && memcmp(ours, system, static_cast<size_t>(length)) == 0;
        if (!same && count++ < 40) differences << std::hex << " U+" << unit << ":" << ourLength << "/" << length;
    }
    EXPECT_EQ(count, 0) << differences.str();
}

}  // namespace
