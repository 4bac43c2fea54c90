// bench_host.cpp - the core's host functions for the benchmark programs.
//
// Benchmarks seed every composition themselves, so the clock is never read; a warning
// means the benchmark's input is broken, and is printed and counted.
#include <stdio.h>

#include "bench/bench_host.h"

unsigned long BenchWarnings;

void ShowWarning(const char* message)
{
    BenchWarnings++;
    fprintf(stderr, "warning (code page 932): %s\n", message);
}

WallClockTime ReadWallClock()
{
    return WallClockTime{};
}

void ShowRecordingMark(int) {}
