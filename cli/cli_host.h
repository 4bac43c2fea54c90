// cli_host.h - how zentavo-cli shows the core's warnings and writes its output.
#ifndef ZENTAVO_CLI_CLI_HOST_H
#define ZENTAVO_CLI_CLI_HOST_H

#include <stddef.h>
#include <stdio.h>

#include <string>

// ---- State, all defined in cli_host.cpp ----
extern bool OutputUtf8;       // convert standard output from code page 932 to UTF-8
extern bool ErrorUtf8;        // the same for standard error
extern bool CaptureWarnings;  // keep warnings in CapturedWarning instead of printing them
extern std::string CapturedWarning;

// Writes length bytes of code page 932 text to stream, converted when the stream's flag
// (ErrorUtf8 for standard error, OutputUtf8 for any other) is set.
void WriteOutput(FILE* stream, const char* text, size_t length);

// Writes a zero-terminated text and one line feed to standard error, converted likewise.
void WriteErrorLine(const char* text);

// Puts standard output and standard error into binary mode, so a line feed stays one byte.
void UseBinaryStandardStreams();

#endif
