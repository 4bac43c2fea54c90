// clock.cpp - the platforms' clock readings as the core's, shared by every host of a platform.
#include "clock.h"

WallClockTime WallClockFromFileTime(uint64_t ticks)
{
    WallClockTime now;
    now.seconds = static_cast<uint32_t>(ticks / 10000000u);
    now.milliseconds = static_cast<uint32_t>(ticks / 10000u % 1000u);
    return now;
}

WallClockTime WallClockFromPosixTime(int64_t seconds, long nanoseconds)
{
    WallClockTime now;
    now.seconds = static_cast<uint32_t>(seconds);
    now.milliseconds = static_cast<uint32_t>(nanoseconds / 1000000);
    return now;
}
