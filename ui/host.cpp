// host.cpp - the core's warning box and clock in the window program (the recording mark is in
// menus.cpp, with the other command states).
#include <windows.h>

#include "core/clock.h"
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
    return WallClockFromFileTime(static_cast<uint64_t>(local.dwHighDateTime) << 32 | local.dwLowDateTime);
}
