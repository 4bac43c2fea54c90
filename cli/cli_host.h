// cli_host.h - how zentavo-cli shows the core's warnings and writes its output and reports.
#ifndef ZENTAVO_CLI_CLI_HOST_H
#define ZENTAVO_CLI_CLI_HOST_H

#include <stddef.h>
#include <stdio.h>

#include <string>

// ---- State, all defined in cli_host.cpp ----
extern bool OutputUtf8;          // convert standard output from code page 932 to UTF-8
extern bool ErrorUtf8;           // the same for standard error
extern std::string LastWarning;  // the core's last warning, kept for the caller to report

// Writes length bytes of code page 932 text to stream, converted when the stream's flag
// (ErrorUtf8 for standard error, OutputUtf8 for any other) is set. Returns false when the
// stream did not take every byte; errno then says why.
bool WriteOutput(FILE* stream, const char* text, size_t length);

// Writes the program's own code page 932 text and a line feed to standard error, converted
// when ErrorUtf8 is set.
void WriteErrorLine(const std::string& text);

// Reports on standard error where a fault is and what it is: "PATH:LINE: MESSAGE", or
// "PATH: MESSAGE" for line 0. The path goes out as the user typed it; the message is the
// program's own code page 932 text and is converted like every warning.
void ReportAt(const char* path, unsigned long line, const std::string& message);

// The message followed by " (REASON)", the reason being the errno value error said in
// Japanese like the messages ("フォルダです"); the message alone when error is 0.
std::string WithReason(const std::string& message, int error);

#endif
