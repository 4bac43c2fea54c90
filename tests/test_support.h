// test_support.h - file helpers and test data every test program shares. Every test program
// also takes its main from test_support.cpp, which gives each test a fresh scratch folder of its
// own as the current folder, removed with everything in it when the test ends, so no test sees
// what an earlier one left behind.
#ifndef ZENTAVO_TESTS_TEST_SUPPORT_H
#define ZENTAVO_TESTS_TEST_SUPPORT_H

#include <stddef.h>

#include <string>

// Writes the bytes to a new file at path (relative paths land in the scratch folder) and
// returns the path.
std::string WriteScratchFile(const std::string& path, const std::string& bytes);

// The whole content of a file, or "<missing>" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The text with each line feed made CR LF, as Windows text files and the transcript hold it.
std::string WithCrLf(const std::string& text);

// The bytes on both sides of each edge of code page 932's two lead-byte ranges (0x81 to 0x9F,
// 0xE0 to 0xFC), each with whether it is a lead byte: every reader that splits text into
// characters is checked against the same table.
struct LeadByteEdge {
    char byte;
    bool lead;
};
extern const LeadByteEdge LEAD_BYTE_EDGES[8];

#ifndef _WIN32
// How many files the test program has open, to show that a file was closed again.
size_t OpenFileCount();

// A shell command's exit status (-1 when a signal ended it) and what it wrote to standard
// output and standard error, caught in scratch files.
struct ShellRun {
    int status;
    std::string out;
    std::string err;
};
ShellRun RunShell(const std::string& command);
#endif

#endif
