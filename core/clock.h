// clock.h - turning the platforms' clock counts into the core's wall-clock readings.
#ifndef ZENTAVO_CORE_CLOCK_H
#define ZENTAVO_CORE_CLOCK_H

#include <stdint.h>

#include "core/host.h"

// Converts a Windows file time (100-nanosecond intervals, in whatever zone the host reads
// it) into whole seconds and the millisecond part. The seconds keep their low 32 bits only:
// the core subtracts two readings, and the difference survives the wrap.
WallClockTime WallClockFromFileTime(uint64_t ticks);

// Converts a POSIX clock reading (seconds and nanoseconds, 0 to 999,999,999) likewise.
WallClockTime WallClockFromPosixTime(int64_t seconds, long nanoseconds);

#endif
