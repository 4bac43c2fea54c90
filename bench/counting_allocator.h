// counting_allocator.h - how many allocations the benchmark process has made so far.
#ifndef ZENTAVO_BENCH_COUNTING_ALLOCATOR_H
#define ZENTAVO_BENCH_COUNTING_ALLOCATOR_H

// Allocations (malloc, calloc, realloc, the aligned forms, and so operator new) since the
// process started. Take it before and after the code under test.
unsigned long AllocationCount();

#endif
