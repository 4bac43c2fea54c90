// cp932.h - code page 932 characters to and from Unicode, by one table for every build.
//
// The window programs (32-bit and 64-bit) and zentavo-cli convert with this table rather than
// with the platform's converter, so the same file gives the same bytes everywhere. It is the
// Windows conversion of code page 932, duplicates and extensions included.
#ifndef ZENTAVO_CORE_CP932_H
#define ZENTAVO_CORE_CP932_H

#include <stddef.h>
#include <stdint.h>

enum {
    CP932_LEAD_COUNT = 60,   // lead bytes 0x81 to 0x9F and 0xE0 to 0xFC
    CP932_TRAIL_COUNT = 189  // trail bytes 0x40 to 0xFC
};

// The generated table (core/cp932table.cpp): the character of each byte from 0x80 up, and of
// each lead and trail byte pair, lead by lead; 0 where there is none.
extern const uint16_t CP932_SINGLE_BYTES[128];
extern const uint16_t CP932_DOUBLE_BYTES[CP932_LEAD_COUNT * CP932_TRAIL_COUNT];

// The Unicode character of the code page 932 character at bytes[0, length) (length >= 1): one
// byte, or a lead byte and the byte after it. Stores the number of bytes it takes in *used and
// returns the character, or returns -1 with *used 1 when the byte, or the pair it starts, is no
// character (so the caller goes on with the next byte).
long Cp932ToUnicode(const unsigned char* bytes, size_t length, size_t* used);

// Writes the code page 932 character for the Unicode character codePoint into out (one or two
// bytes) and returns how many, or returns 0 when code page 932 has no such character. Where code
// page 932 holds a character twice, the code is the one Windows writes: JIS X 0208 before NEC
// row 13, NEC row 13 before the IBM extensions, and those before the NEC-selected copies of them.
int UnicodeToCp932(uint32_t codePoint, unsigned char out[2]);

// UnicodeToCp932 as one table for converting much text: the code of every character from
// U+0000 to U+FFFF, 0 for none (and for U+0000 itself), a single byte as a value up to 0xFF
// and a lead and a trail byte as lead * 256 + trail.
const uint16_t* Cp932EncodingTable();

#endif
