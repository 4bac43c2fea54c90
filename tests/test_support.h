// test_support.h - file helpers every test program shares. Linking them also gives each test a
// fresh scratch folder of its own as the current folder, removed with everything in it when
// the test ends, so no test sees what an earlier one left behind.
#ifndef ZENTAVO_TESTS_TEST_SUPPORT_H
#define ZENTAVO_TESTS_TEST_SUPPORT_H

#include <stddef.h>

#include <string>

// Writes the bytes to a new file at path (relative paths land in the scratch folder) and
// returns the path.
std::string WriteScratchFile(const std::string& path, const std::string& bytes);

// The whole content of a file, or "<missing>" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

#ifndef _WIN32
// How many files the test program has open, to show that a file was closed again.
size_t OpenFileCount();
#endif

#endif
