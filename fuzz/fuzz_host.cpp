// fuzz_host.cpp - silent host functions and in-memory input files for the fuzz targets.
#include "fuzz_host.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

int WarningCount;

namespace {

const int kSlots = 4;
int SlotFile[kSlots] = {-1, -1, -1, -1};
char SlotPath[kSlots][64];

}  // namespace

void ShowWarning(const char*)
{
    WarningCount++;
}

WallClockTime ReadWallClock()
{
    return WallClockTime{1000, 0};
}

void ShowRecordingMark(int) {}

void ResetWarnings()
{
    WarningCount = 0;
}

void FuzzRequire(bool holds, const char* expectation)
{
    if (holds) return;
    fprintf(stderr, "fuzz expectation broken: %s\n", expectation);
    abort();
}

const char* WriteFuzzFile(int slot, const uint8_t* data, size_t size)
{
    FuzzRequire(slot >= 0 && slot < kSlots, "a valid input slot");
    if (SlotFile[slot] < 0) {
        SlotFile[slot] = memfd_create("zentavo-fuzz-input", 0);
        FuzzRequire(SlotFile[slot] >= 0, "memfd_create works");
        // Opening this path gives a new description of the same file, read from its start.
        snprintf(SlotPath[slot], sizeof SlotPath[slot], "/proc/self/fd/%d", SlotFile[slot]);
    }
    int file = SlotFile[slot];
    FuzzRequire(ftruncate(file, 0) == 0, "the input file can be emptied");
    size_t written = 0;
    while (written < size) {
        ssize_t count = pwrite(file, data + written, size - written, static_cast<off_t>(written));
        FuzzRequire(count > 0, "the input file takes the bytes");
        written += static_cast<size_t>(count);
    }
    return SlotPath[slot];
}
