// cli_host.cpp - the core's warning box, clock and recording mark for zentavo-cli.
#include "cli_host.h"

#include <string.h>

#include "cli/encoding.h"
#include "core/host.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <malloc.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#endif

bool OutputUtf8;
bool ErrorUtf8;
bool CaptureWarnings;
std::string CapturedWarning;

void WriteOutput(FILE* stream, const char* text, size_t length)
{
    if (stream == stderr ? ErrorUtf8 : OutputUtf8) {
        std::string converted = Cp932ToUtf8(text, length);
        fwrite(converted.data(), 1, converted.size(), stream);
    } else {
        fwrite(text, 1, length, stream);
    }
}

void WriteErrorLine(const char* text)
{
    WriteOutput(stderr, text, strlen(text));
    fputc('\n', stderr);
    fflush(stderr);
}

void UseBinaryStandardStreams()
{
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

#if defined(__linux__) && defined(__GLIBC__)

// The largest template's sentences fill 2.6 MB of fresh memory. In 4 KB pages that is some
// 650 page faults, which cost more than the whole load otherwise does; in 2 MB pages it is
// two. So the heap is grown once, far enough for the largest template, the stretch from the
// first 2 MB boundary on is marked for huge pages before anything touches it, and the heap
// is never handed back. The bytes before that boundary stay allocated and unused (and so
// never touched), so that the template lands behind it.
static void* HeapBeforeBoundary;  // allocated once, never used

void PrepareHeapForTemplates()
{
    const uintptr_t hugePage = 2 << 20;
    const size_t reserve = 8 << 20;
    mallopt(M_TRIM_THRESHOLD, 2 * reserve);
    mallopt(M_TOP_PAD, reserve);
    mallopt(M_MMAP_THRESHOLD, 4 << 20);                   // above the stretch set aside below
    char* probe = static_cast<char*>(malloc(256 << 10));  // grows the heap by the reserve
    if (!probe) return;
    uintptr_t at = reinterpret_cast<uintptr_t>(probe);
    uintptr_t start = (at + hugePage - 1) & ~(hugePage - 1);
    uintptr_t end = reinterpret_cast<uintptr_t>(sbrk(0)) & ~(hugePage - 1);
    free(probe);
    // Only where the probe came from the top of glibc's own heap: a memory checker's
    // allocator keeps its blocks elsewhere, and is left alone.
    if (end <= start || end - at > 2 * reserve) return;
    madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    // The same place again, up to the next block's header.
    HeapBeforeBoundary = malloc(start - at - 2 * sizeof(size_t));
}

#else

void PrepareHeapForTemplates() {}

#endif

void ShowWarning(const char* message)
{
    if (CaptureWarnings)
        CapturedWarning = message;
    else
        WriteErrorLine(message);
}

WallClockTime ReadWallClock()
{
    WallClockTime now;
#ifdef _WIN32
    FILETIME fileTime;
    GetSystemTimeAsFileTime(&fileTime);
    ULARGE_INTEGER ticks;  // 100-nanosecond units
    ticks.LowPart = fileTime.dwLowDateTime;
    ticks.HighPart = fileTime.dwHighDateTime;
    now.seconds = static_cast<uint32_t>(ticks.QuadPart / 10000000u);
    now.milliseconds = static_cast<uint32_t>(ticks.QuadPart / 10000u % 1000u);
#else
    struct timespec reading;
    clock_gettime(CLOCK_REALTIME, &reading);
    now.seconds = static_cast<uint32_t>(reading.tv_sec);
    now.milliseconds = static_cast<uint32_t>(reading.tv_nsec / 1000000);
#endif
    return now;
}

void ShowRecordingMark(int) {}
