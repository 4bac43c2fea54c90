// test_host.h - the core's host functions for the tests: warnings and the recording mark
// are recorded, and the clock is whatever the test sets.
#ifndef ZENTAVO_TESTS_TEST_HOST_H
#define ZENTAVO_TESTS_TEST_HOST_H

#include <string>
#include <vector>

#include "core/host.h"
#include "tests/test_support.h"

extern std::vector<std::string> Warnings;  // every warning shown, in order
extern WallClockTime FakeClock;            // what ReadWallClock returns
extern int RecordingMark;                  // last value given to ShowRecordingMark, or -1

// Empties the template store, the composer and the records above.
void ResetCoreForTest();

#endif
