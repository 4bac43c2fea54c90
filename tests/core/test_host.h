// test_host.h - the core's host functions for the tests: warnings and the recording mark
// are recorded, and the clock is whatever the test sets.
#ifndef ZENTAVO_TESTS_TEST_HOST_H
#define ZENTAVO_TESTS_TEST_HOST_H

#include <string>
#include <vector>

#include "core/host.h"

extern std::vector<std::string> Warnings;  // every warning shown, in order
extern WallClockTime FakeClock;            // what ReadWallClock returns
extern int RecordingMark;                  // last value given to ShowRecordingMark, or -1

// Empties the template store, the composer and the records above.
void ResetCoreForTest();

// Writes bytes to a fresh file in the test's scratch folder and returns its path.
std::string WriteScratchFile(const std::string& name, const std::string& bytes);

// The whole content of a file, or "<missing>" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

#endif
