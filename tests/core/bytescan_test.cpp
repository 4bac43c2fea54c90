// bytescan_test.cpp - the byte scans against a plain search, at every offset and length.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/bytescan.h"

namespace {

typedef size_t (*Scan)(const unsigned char*, size_t);

// Every way of scanning this platform has: the word scan always, the 16-byte scan where
// the processor has it, and the choice FindFirstOf makes.
template <unsigned char... Values>
std::vector<Scan> Scans()
{
    std::vector<Scan> scans = {bytescan::FindInWords<Values...>, FindFirstOf<Values...>};
#ifdef ZENTAVO_BYTESCAN_SSE2
    if (bytescan::HaveSse2()) scans.push_back(bytescan::FindInBlocks<Values...>);
#endif
    return scans;
}

// Fills a buffer with near misses: bytes one off each value and with the high bit added,
// which a carry between the bytes of a word could mistake for a hit.
std::string NearMisses(const std::string& values, size_t size)
{
    std::string misses;
    for (unsigned char v : values) misses += {char(v + 1), char(v ^ 0x80), char(v + 0x81), char(v - 1)};
    std::string bytes;
    for (size_t i = 0; i < size; i++) bytes += misses[i % misses.size()];
    return bytes;
}

template <unsigned char... Values>
void ExpectFirstHitEverywhere(const std::string& values)
{
    const size_t kSize = 70;  // more than four 16-byte blocks, and not a multiple of a word
    for (Scan scan : Scans<Values...>()) {
        for (size_t length = 0; length <= kSize; length++) {
            std::string bytes = NearMisses(values, kSize);
            auto data = reinterpret_cast<const unsigned char*>(bytes.data());
            EXPECT_EQ(scan(data, length), length) << "no hit in " << length << " bytes";
            for (size_t hit = 0; hit < length; hit++) {
                bytes = NearMisses(values, kSize);
                bytes[hit] = values[hit % values.size()];
                if (hit + 3 < kSize) bytes[hit + 3] = values[0];  // a later hit does not count
                data = reinterpret_cast<const unsigned char*>(bytes.data());
                EXPECT_EQ(scan(data, length), hit) << "hit at " << hit << " in " << length << " bytes";
            }
        }
    }
}

TEST(ByteScan, FindsTheFirstLineEndOrCtrlZ)
{
    ExpectFirstHitEverywhere<'\n', '\r', 26>(std::string("\n\r\x1a"));
}

TEST(ByteScan, FindsTheFirstSlashOrZeroByte)
{
    ExpectFirstHitEverywhere<'/', 0>(std::string("/\0", 2));
}

}  // namespace
