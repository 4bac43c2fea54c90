// cp932.cpp - lookups in the code page 932 table, both ways.
#include "cp932.h"

#include "core/codepage.h"

namespace {

const unsigned kFirstTrail = 0x40;
const unsigned kLastTrail = 0xFC;

// The index of a lead byte's row in CP932_DOUBLE_BYTES.
unsigned LeadIndex(unsigned char lead)
{
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1);
}

// The lead bytes in the order in which their codes win when one character has several:
// JIS X 0208, NEC row 13, the IBM extensions, the NEC-selected IBM extensions, then the
// user-defined area (which holds no duplicates).
const struct {
    unsigned char first, last;
} kLeadPreference[] = {
    {0x81, 0x84}, {0x88, 0x9F}, {0xE0, 0xEA}, {0x87, 0x87}, {0xFA, 0xFC}, {0xED, 0xEE}, {0xF0, 0xF9},
};

// Unicode to code page 932 for every BMP character: 0 for none, otherwise the byte or the
// lead and trail bytes as one number. Built from the decoding table on first use.
struct EncodingTable {
    uint16_t code[0x10000];
    EncodingTable();
};

EncodingTable::EncodingTable() : code()
{
    for (unsigned byte = 0x80; byte <= 0xFF; byte++)
        if (uint16_t c = CP932_SINGLE_BYTES[byte - 0x80]) code[c] = static_cast<uint16_t>(byte);
    for (const auto& range : kLeadPreference) {
        for (unsigned lead = range.first; lead <= range.last; lead++) {
            const uint16_t* row = CP932_DOUBLE_BYTES + LeadIndex(static_cast<unsigned char>(lead)) * CP932_TRAIL_COUNT;
            for (unsigned trail = kFirstTrail; trail <= kLastTrail; trail++) {
                uint16_t c = row[trail - kFirstTrail];
                if (c && !code[c]) code[c] = static_cast<uint16_t>(lead << 8 | trail);
            }
        }
    }
}

const EncodingTable& Encoding()
{
    static const EncodingTable table;
    return table;
}

}  // namespace

long Cp932ToUnicode(const unsigned char* bytes, size_t length, size_t* used)
{
    *used = 1;
    unsigned char byte = bytes[0];
    if (byte < 0x80) return byte;
    if (!IsLeadByte(byte)) return CP932_SINGLE_BYTES[byte - 0x80] ? CP932_SINGLE_BYTES[byte - 0x80] : -1;
    if (length < 2 || bytes[1] < kFirstTrail || bytes[1] > kLastTrail) return -1;
    uint16_t c = CP932_DOUBLE_BYTES[LeadIndex(byte) * CP932_TRAIL_COUNT + bytes[1] - kFirstTrail];
    if (!c) return -1;
    *used = 2;
    return c;
}

const uint16_t* Cp932EncodingTable()
{
    return Encoding().code;
}

int UnicodeToCp932(uint32_t codePoint, unsigned char out[2])
{
    if (codePoint < 0x80) {
        out[0] = static_cast<unsigned char>(codePoint);
        return 1;
    }
    if (codePoint > 0xFFFF) return 0;
    uint16_t code = Encoding().code[codePoint];
    if (code == 0) return 0;
    if (code <= 0xFF) {
        out[0] = static_cast<unsigned char>(code);
        return 1;
    }
    out[0] = static_cast<unsigned char>(code >> 8);
    out[1] = static_cast<unsigned char>(code);
    return 2;
}
