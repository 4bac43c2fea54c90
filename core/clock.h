// clock.h - turning the platform's clock counts into the core's wall-clock readings.
#ifndef ZENTAVO_CORE_CLOCK_H
#define ZENTAVO_CORE_CLOCK_H

#include <stdint.h>

#include "core/host.h"

// Converts a Windows file time (100-nanosecond intervals, in whatever zone the host reads
// it) into whole seconds and the millisecond part. The seconds keep their low 32 bits only:
// the core subtracts two readings, and the difference survives the wrap.
WallClockTime WallClockFromFileTime(uint64_t ticks);

#endif
