// bench_host.h - what the benchmark programs' host functions record.
#ifndef ZENTAVO_BENCH_BENCH_HOST_H
#define ZENTAVO_BENCH_BENCH_HOST_H

#include "core/host.h"

// ---- State, defined in bench_host.cpp ----
extern unsigned long BenchWarnings;  // warnings the core has shown so far

#endif
