// codepage.h - telling the bytes of code page 932 text apart.
#ifndef ZENTAVO_CORE_CODEPAGE_H
#define ZENTAVO_CORE_CODEPAGE_H

// True for the first byte of a double-byte code page 932 character (0x81 to 0x9F and 0xE0 to
// 0xFC); the byte after it belongs to the same character, whatever its value.
inline bool IsLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

#endif
