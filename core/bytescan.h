// bytescan.h - finding the first of a few byte values in a buffer, many bytes per step.
//
// Reading a template looks at every byte of it for line ends and marks. The C runtime that
// the Windows program runs on walks memchr and strlen a byte at a time, which makes those
// scans cost several times the reading itself. These test 16 bytes per step with SSE2 where
// the processor has it (every x86 processor since 2001; the 32-bit Windows build asks at run
// time) and a machine word per step elsewhere.
#ifndef ZENTAVO_CORE_BYTESCAN_H
#define ZENTAVO_CORE_BYTESCAN_H

#include <stddef.h>
#include <string.h>

#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
#include <emmintrin.h>
#define ZENTAVO_BYTESCAN_SSE2 1
#endif

namespace bytescan {

const size_t kOnes = ~size_t{0} / 0xFF;  // 0x0101...01
const size_t kHighs = kOnes * 0x80;      // 0x8080...80

// Nonzero when some byte of word is zero. Exact: no false positives.
inline size_t HasZeroByte(size_t word)
{
    return (word - kOnes) & ~word & kHighs;
}

// FindFirstOf a machine word at a time.
template <unsigned char... Values>
size_t FindInWords(const unsigned char* bytes, size_t length)
{
    size_t i = 0;
    for (; i + sizeof(size_t) <= length; i += sizeof(size_t)) {
        size_t word;
        memcpy(&word, bytes + i, sizeof word);  // an unaligned load
        if ((HasZeroByte(word ^ (kOnes * Values)) | ...)) break;
    }
    for (; i < length; i++)
        if (((bytes[i] == Values) || ...)) return i;
    return length;
}

#ifdef ZENTAVO_BYTESCAN_SSE2

// FindFirstOf 16 bytes at a time.
template <unsigned char... Values>
__attribute__((target("sse2"))) size_t FindInBlocks(const unsigned char* bytes, size_t length)
{
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(static_cast<char>(Values))))), ...);
        if (int mask = _mm_movemask_epi8(hits)) return i + __builtin_ctz(static_cast<unsigned>(mask));
    }
    return i + FindInWords<Values...>(bytes + i, length - i);
}

inline bool HaveSse2()
{
#ifdef __SSE2__
    return true;
#else
    static const bool have = (__builtin_cpu_init(), __builtin_cpu_supports("sse2"));
    return have;
#endif
}

#endif

}  // namespace bytescan

// The index of the first byte in bytes[0, length) that equals one of Values, or length
// when there is none.
template <unsigned char... Values>
size_t FindFirstOf(const unsigned char* bytes, size_t length)
{
#ifdef ZENTAVO_BYTESCAN_SSE2
    if (bytescan::HaveSse2()) return bytescan::FindInBlocks<Values...>(bytes, length);
#endif
    return bytescan::FindInWords<Values...>(bytes, length);
}

#endif
