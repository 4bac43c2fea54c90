// win32_timing.h - the clock and the median shared by the Windows benchmark programs.
#ifndef ZENTAVO_BENCH_WIN32_TIMING_H
#define ZENTAVO_BENCH_WIN32_TIMING_H

#include <windows.h>

#include <algorithm>
#include <vector>

// Seconds on the performance counter, from an arbitrary start.
inline double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The middle value of values (the upper one of the two middles for an even count).
inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

#endif
