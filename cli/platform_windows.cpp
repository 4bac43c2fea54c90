// platform_windows.cpp - zentavo-cli's console test, standard streams and clock on Windows.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "cli/platform.h"
#include "core/clock.h"
#include "core/host.h"

bool IsUtf8Terminal(FILE* stream)
{
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode;
    return GetConsoleMode(handle, &mode) && GetConsoleOutputCP() == CP_UTF8;
}

void PrepareHeap(size_t) {}  // the Windows heap is left to itself

void UseBinaryStandardStreams()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

// Universal time, unlike the window program: only differences between readings count, and
// they do not jump when the zone's offset changes during a run.
WallClockTime ReadWallClock()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return WallClockFromFileTime(static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime);
}
