// textdecode.cpp - UTF-8 and UTF-16 to code page 932, a block at a time and in place.
#include "textdecode.h"

#include <stdint.h>

#include "core/cp932.h"

namespace {

const unsigned char kCtrlZ = 26;

// What ReadUtf8 returns besides a length.
const int kInvalid = 0;
const int kCut = -1;

// The UTF-8 character at bytes[0, available): returns its length and stores it in
// *codePoint, or returns kInvalid when the bytes are no character (overlong forms, surrogates
// and values beyond U+10FFFF included), or kCut when they are a valid start that the end cuts.
inline int ReadUtf8(const unsigned char* bytes, size_t available, uint32_t* codePoint)
{
    unsigned char first = bytes[0];
    int length;
    uint32_t value;
    if (first < 0x80) {
        *codePoint = first;
        return 1;
    } else if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        value = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        value = first & 0x0F;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        value = first & 0x07;
    } else {
        return kInvalid;
    }
    // The second byte's range rules out the overlong forms, the surrogates and the values
    // beyond U+10FFFF, so that a valid start is always the start of a valid character.
    unsigned char low = first == 0xE0 ? 0xA0 : first == 0xF0 ? 0x90 : 0x80;
    unsigned char high = first == 0xED ? 0x9F : first == 0xF4 ? 0x8F : 0xBF;
    for (int i = 1; i < length; i++) {
        if (static_cast<size_t>(i) == available) return kCut;
        if (i == 1 ? bytes[1] < low || bytes[1] > high : (bytes[i] & 0xC0) != 0x80) return kInvalid;
        value = value << 6 | (bytes[i] & 0x3F);
    }
    *codePoint = value;
    return length;
}

// True when bytes[0, 3) are a three-byte UTF-8 character that needs no further check: a lead
// byte whose every continuation is allowed (not 0xE0 or 0xED), and two continuation bytes.
// Kana and kanji are all of this kind, so most of a Japanese text takes this short way.
inline bool IsPlainThreeByteCharacter(const unsigned char* bytes)
{
    return bytes[0] >= 0xE1 && bytes[0] <= 0xEF && bytes[0] != 0xED && (bytes[1] & 0xC0) == 0x80 &&
           (bytes[2] & 0xC0) == 0x80;
}

// Writes the code page 932 form of codePoint at out, or the replacement, marking its offset
// at in the bit set. Returns the number of bytes written.
inline size_t PutCharacter(uint32_t codePoint, unsigned char* out, size_t at, unsigned char* replaced,
                           bool* anyReplaced)
{
    if (int length = UnicodeToCp932(codePoint, out)) return length;
    *out = TEXT_REPLACEMENT;
    replaced[at / 8] |= static_cast<unsigned char>(1u << (at % 8));
    *anyReplaced = true;
    return 1;
}

size_t DecodeUtf8(unsigned char* bytes, size_t length, bool atEnd, size_t* rest, TextFault* fault,
                  unsigned char* replaced, bool* anyReplaced)
{
    const uint16_t* table = Cp932EncodingTable();
    size_t in = 0, out = 0;
    while (in < length) {
        if (bytes[in] < 0x80) {
            bytes[out++] = bytes[in++];
            continue;
        }
        if (in + 3 <= length && IsPlainThreeByteCharacter(bytes + in)) {
            uint16_t code = table[(bytes[in] & 0x0F) << 12 | (bytes[in + 1] & 0x3F) << 6 | (bytes[in + 2] & 0x3F)];
            if (code > 0xFF) {
                bytes[out++] = static_cast<unsigned char>(code >> 8);
                bytes[out++] = static_cast<unsigned char>(code);
                in += 3;
                continue;
            }
        }
        uint32_t codePoint;
        int count = ReadUtf8(bytes + in, length - in, &codePoint);
        if (count == kCut && !atEnd) {
            *rest = length - in;
            return out;
        }
        if (count <= 0) {
            *fault = TEXT_FAULT_UTF8;
            return out;
        }
        out += PutCharacter(codePoint, bytes + out, out, replaced, anyReplaced);
        in += count;
    }
    return out;
}

uint32_t Utf16Unit(const unsigned char* bytes, bool bigEndian)
{
    return bigEndian ? bytes[0] << 8 | bytes[1] : bytes[1] << 8 | bytes[0];
}

size_t DecodeUtf16(unsigned char* bytes, size_t length, bool bigEndian, bool atEnd, size_t* rest, TextFault* fault,
                   unsigned char* replaced, bool* anyReplaced)
{
    size_t in = 0, out = 0;
    while (in + 2 <= length) {
        uint32_t codePoint = Utf16Unit(bytes + in, bigEndian);
        size_t count = 2;
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            if (in + 4 > length) break;  // its partner may be in the next bytes
            uint32_t partner = Utf16Unit(bytes + in + 2, bigEndian);
            if (partner < 0xDC00 || partner > 0xDFFF) {
                *fault = TEXT_FAULT_UTF16;
                return out;
            }
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (partner - 0xDC00);
            count = 4;
        } else if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
            *fault = TEXT_FAULT_UTF16;
            return out;
        }
        out += PutCharacter(codePoint, bytes + out, out, replaced, anyReplaced);
        in += count;
    }
    if (in < length) {
        // A lone last byte, or a first half of a pair with nothing after it.
        if (atEnd)
            *fault = TEXT_FAULT_UTF16;
        else
            *rest = length - in;
    }
    return out;
}

}  // namespace

TextEncoding EncodingFromMark(const unsigned char* bytes, size_t length, size_t* markLength)
{
    *markLength = 0;
    if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        *markLength = 3;
        return TEXT_UTF8;
    }
    if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        *markLength = 2;
        return TEXT_UTF16LE;
    }
    if (length >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        *markLength = 2;
        return TEXT_UTF16BE;
    }
    return TEXT_CP932;
}

Utf8Scan ScanUtf8(const unsigned char* bytes, size_t length, size_t* used, bool* nonAscii)
{
    size_t i = 0;
    while (i < length) {
        if (bytes[i] < 0x80) {
            if (bytes[i] == kCtrlZ) return UTF8_SCAN_ENDED;
            i++;
            continue;
        }
        *nonAscii = true;
        if (i + 3 <= length && IsPlainThreeByteCharacter(bytes + i)) {
            i += 3;
            continue;
        }
        uint32_t codePoint;
        int count = ReadUtf8(bytes + i, length - i, &codePoint);
        if (count == kInvalid) return UTF8_SCAN_BAD;
        if (count == kCut) break;
        i += count;
    }
    *used = i;
    return UTF8_SCAN_GOOD;
}

size_t DecodeText(TextEncoding encoding, unsigned char* bytes, size_t length, bool atEnd, size_t* rest,
                  TextFault* fault, unsigned char* replaced, bool* anyReplaced)
{
    *rest = 0;
    *fault = TEXT_FAULT_NONE;
    if (encoding == TEXT_UTF8) return DecodeUtf8(bytes, length, atEnd, rest, fault, replaced, anyReplaced);
    return DecodeUtf16(bytes, length, encoding == TEXT_UTF16BE, atEnd, rest, fault, replaced, anyReplaced);
}
