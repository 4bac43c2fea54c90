// fuzz_host.h - the core's host functions for the fuzz targets, and their input files.
//
// Warnings are counted, not shown; the clock stands still. The inputs reach the core as
// files, because the core reads templates only through its text streams.
#ifndef ZENTAVO_FUZZ_FUZZ_HOST_H
#define ZENTAVO_FUZZ_FUZZ_HOST_H

#include <stddef.h>
#include <stdint.h>

#include "core/host.h"

// Marks a target's own checking code, which libFuzzer's coverage should not count: only
// the paths of the core are to guide the mutations (and the checks stay cheap).
#if defined(__clang__)
#define FUZZ_NOT_COVERED __attribute__((no_sanitize("coverage")))
#else
#define FUZZ_NOT_COVERED
#endif

// ---- State, all defined in fuzz_host.cpp ----
extern int WarningCount;  // warnings shown since the last ResetWarnings

void ResetWarnings();

// Replaces the content of input file `slot` (0 to 3) with the bytes and returns its path,
// which stays valid for the whole run. The files live in memory (memfd), not on disk.
const char* WriteFuzzFile(int slot, const uint8_t* data, size_t size);

// Ends the run with a report naming the broken expectation when `holds` is false, so that
// libFuzzer (or the replay driver) keeps the input as a crash.
void FuzzRequire(bool holds, const char* expectation);

#endif
