// textstream.h - text files read and written the way the program has always seen them.
//
// Every file the program touches (templates, transcripts, the settings file) goes through
// these streams. The file is opened in binary mode and translated here, identically on
// every platform, so that what the Linux tests check is exactly what the Windows program
// does:
//   reading: text saved as UTF-8 or UTF-16 is first converted to code page 932 (see
//            OpenTextStream); then each CR LF pair arrives as one LF, any other CR is passed
//            through, and a byte 26 (Ctrl-Z) ends the input for good;
//   writing: each LF is written as CR LF, every other byte unchanged.
#ifndef ZENTAVO_CORE_TEXTSTREAM_H
#define ZENTAVO_CORE_TEXTSTREAM_H

#include <stddef.h>

#include "core/textdecode.h"

struct TextStream;

// ---- State, defined in textstream.cpp ----
// Why the last failed open, write or flush of any text stream failed: the system's errno
// value (EISDIR when the path names a folder), or 0 when the system gave no reason. The
// window program's messages do not use it; zentavo-cli names the reason beside the path.
extern int LastTextStreamError;

enum TextStreamMode { TEXT_READ, TEXT_WRITE };

// Opens path (bytes in the platform's code page) for reading, or for writing from the
// start (creating or emptying the file). Returns a stream the caller closes with
// CloseTextStream, or nullptr when the file cannot be opened or is a folder (with the
// reason in LastTextStreamError).
// A file opened for reading is read as UTF-8 or UTF-16 when a byte-order mark says so, or
// as UTF-8 when it has no mark and all of it (up to a Ctrl-Z) is valid UTF-8 with at least
// one character beyond ASCII; every other file is code page 932 and read unchanged.
TextStream* OpenTextStream(const char* path, TextStreamMode mode);

// Closes the stream and frees it; nullptr is allowed. Returns 1 when everything still
// buffered reached the file, 0 otherwise.
int CloseTextStream(TextStream* stream);

// Reads the next line into buffer (size >= 2 bytes): at most size - 1 bytes, up to and
// including the first line feed, then a terminating zero. A longer line is returned in
// pieces. Returns the number of bytes stored (zero bytes inside the line count too), or 0
// at the end of the input or after a read error; the end is permanent.
size_t ReadTextLine(TextStream* stream, char* buffer, size_t size);

// The physical line (from 1) on which the bytes of the last ReadTextLine began, or 1 before
// any read. Pieces of one long line share its number. Once a fault has ended the input, the
// line on which the bad bytes are.
unsigned long TextLineNumber(const TextStream* stream);

// How the file being read is encoded; TEXT_CP932 for a file being written.
TextEncoding TextStreamEncoding(const TextStream* stream);

// TEXT_FAULT_NONE, or the kind of bytes that are no UTF-8 or UTF-16 character which ended the
// input of a converted file. The bytes before them are read as usual; TextLineNumber then
// gives the line they are on.
TextFault TextStreamFault(const TextStream* stream);

// 1 when the bytes the last ReadTextLine returned hold a TEXT_REPLACEMENT that stands for a
// character code page 932 cannot hold, 0 otherwise.
int TextPieceHasReplacement(const TextStream* stream);

// Queues length bytes for writing, each LF as CR LF. Returns 1, or 0 once a write to the
// file has failed (the stream then stays failed, the reason in LastTextStreamError).
int WriteText(TextStream* stream, const char* bytes, size_t length);

// Hands everything queued to the operating system, in one write when no more than 64 KB
// (after translation) were queued since the last flush. Returns 1 on success, 0 when any
// write since the stream was opened has failed.
int FlushTextStream(TextStream* stream);

#endif
