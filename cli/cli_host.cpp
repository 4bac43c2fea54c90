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
#include <time.h>
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
