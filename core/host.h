// host.h - what the portable core needs from the program around it.
//
// The window program, the command-line tool and the tests each define these functions
// (at link time); the core itself never touches the window system or the clock directly.
#ifndef ZENTAVO_CORE_HOST_H
#define ZENTAVO_CORE_HOST_H

#include <stdint.h>

// A wall-clock reading: whole seconds and the millisecond part (0 to 999).
struct WallClockTime {
    uint32_t seconds;
    uint32_t milliseconds;
};

// Room for any warning the program formats with numbers filled in, its terminating zero included.
enum { MESSAGE_BUFFER_SIZE = 128 };

// Tells the user about a failure: message is a zero-terminated code page 932 text. The
// window program shows it in the warning box owned by the main window and returns when the
// user has dismissed it.
void ShowWarning(const char* message);

// Reads the wall clock with millisecond resolution. The core uses only the difference between
// two readings (seeds count milliseconds since the start), so the time zone is the host's own
// choice: the window program reads local time, zentavo-cli universal time.
WallClockTime ReadWallClock();

// Shows whether recording is on: the record command's check mark and pressed toolbar
// button in the window program; nothing elsewhere.
void ShowRecordingMark(int on);

#endif
