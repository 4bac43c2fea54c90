// platform_posix.cpp - zentavo-cli's terminal test, standard streams and clock on Linux and
// other POSIX systems.
#include <langinfo.h>
#include <locale.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "cli/platform.h"
#include "core/clock.h"
#include "core/host.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

static bool IsUtf8Name(const std::string& codeset)
{
    return strcasecmp(codeset.c_str(), "UTF-8") == 0 || strcasecmp(codeset.c_str(), "UTF8") == 0;
}

// Whether the locale the environment names for character types (LC_ALL, LC_CTYPE, LANG, the
// first one set) asks for UTF-8: "ja_JP.UTF-8" does, "C" does not.
static bool NamedLocaleIsUtf8()
{
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* name = getenv(variable);
        if (!name || !*name) continue;
        const char* dot = strchr(name, '.');
        return dot && IsUtf8Name(std::string(dot + 1, strcspn(dot + 1, "@")));
    }
    return false;
}

// Asks the user's locale for its character set, then puts the program's own back, so that
// nothing else the program does depends on the user's locale. A locale the system does not
// have (a UTF-8 terminal on a machine without that locale installed is common) is judged by
// its name.
static bool UserLocaleIsUtf8()
{
    const char* current = setlocale(LC_CTYPE, nullptr);
    std::string saved = current ? current : "C";
    if (!setlocale(LC_CTYPE, "")) return NamedLocaleIsUtf8();
    bool utf8 = IsUtf8Name(nl_langinfo(CODESET));
    setlocale(LC_CTYPE, saved.c_str());
    return utf8;
}

bool IsUtf8Terminal(FILE* stream)
{
    return isatty(fileno(stream)) && UserLocaleIsUtf8();
}

void UseBinaryStandardStreams() {}  // POSIX streams have no text mode

// A fresh page costs a page fault at its first write, and on some machines (virtual ones in
// particular) a fault costs more than loading the bytes that land on the page: the largest
// template's 2.6 MB of sentences take some 650 of them. One request to the kernel puts the
// same pages in place for a fraction of that. Below the thresholds set here, glibc takes a
// block from its heap and keeps it there when it is freed, so the sentences then come from
// pages that are already in place. Elsewhere, or on an older kernel, nothing changes.
void PrepareHeap(size_t bytes)
{
#if defined(__GLIBC__) && defined(MADV_POPULATE_WRITE)
    const size_t kPage = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    if (bytes < 2 * kPage || !mallopt(M_MMAP_THRESHOLD, 2 * bytes) || !mallopt(M_TRIM_THRESHOLD, 2 * bytes)) return;
    char* block = static_cast<char*>(malloc(bytes));
    if (!block) return;
    uintptr_t start = (reinterpret_cast<uintptr_t>(block) + kPage - 1) & ~(kPage - 1);
    madvise(reinterpret_cast<void*>(start), bytes - kPage, MADV_POPULATE_WRITE);
    free(block);
#else
    (void)bytes;
#endif
}

WallClockTime ReadWallClock()
{
    struct timespec reading;
    clock_gettime(CLOCK_REALTIME, &reading);
    return WallClockFromPosixTime(reading.tv_sec, reading.tv_nsec);
}
