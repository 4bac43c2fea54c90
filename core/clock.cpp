// clock.cpp - the Windows file time as a wall-clock reading, shared by every Windows host.
#include "clock.h"

WallClockTime WallClockFromFileTime(uint64_t ticks)
{
    WallClockTime now;
    now.seconds = static_cast<uint32_t>(ticks / 10000000u);
    now.milliseconds = static_cast<uint32_t>(ticks / 10000u % 1000u);
    return now;
}
