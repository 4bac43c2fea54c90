// host.cpp - the core's warning box and clock in the window program (the recording mark is in
// menus.cpp, with the other command states).
#include <windows.h>

#include "core/host.h"
#include "ui/window.h"

static const char WARNING_CAPTION[] = "Zentavo";

void ShowWarning(const char* message)
{
    MessageBoxA(MainWindow, message, WARNING_CAPTION, MB_ICONWARNING | MB_OK);
}

WallClockTime ReadWallClock()
{
    FILETIME universal, local;
    GetSystemTimeAsFileTime(&universal);
    FileTimeToLocalFileTime(&universal, &local);
    ULARGE_INTEGER ticks;  // 100-nanosecond units
    ticks.LowPart = local.dwLowDateTime;
    ticks.HighPart = local.dwHighDateTime;
    WallClockTime now;
    now.seconds = static_cast<uint32_t>(ticks.QuadPart / 10000000u);
    now.milliseconds = static_cast<uint32_t>(ticks.QuadPart / 10000u % 1000u);
    return now;
}
