// platform_posix.cpp - zentavo-cli's terminal test, standard streams and clock on Linux and
// other POSIX systems.
#include <langinfo.h>
#include <locale.h>
#include <strings.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "cli/platform.h"
#include "core/clock.h"
#include "core/host.h"

// Asks the user's locale for its character set, then puts the program's own back, so that
// nothing else the program does depends on the user's locale.
static bool UserLocaleIsUtf8()
{
    const char* current = setlocale(LC_CTYPE, nullptr);
    std::string saved = current ? current : "C";
    if (!setlocale(LC_CTYPE, "")) return false;
    const char* codeset = nl_langinfo(CODESET);
    bool utf8 = strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0;
    setlocale(LC_CTYPE, saved.c_str());
    return utf8;
}

bool IsUtf8Terminal(FILE* stream)
{
    return isatty(fileno(stream)) && UserLocaleIsUtf8();
}

void UseBinaryStandardStreams() {}  // POSIX streams have no text mode

WallClockTime ReadWallClock()
{
    struct timespec reading;
    clock_gettime(CLOCK_REALTIME, &reading);
    return WallClockFromPosixTime(reading.tv_sec, reading.tv_nsec);
}
