// textdecode.h - text saved as UTF-8 or UTF-16, turned into code page 932 as it is read.
//
// The program works on code page 932 bytes throughout. Text files written by today's editors
// in UTF-8 or UTF-16 are converted on the way in, before any line is cut from them, so that
// everything after this point (line ends, Ctrl-Z, read limits, line numbers) sees exactly the
// bytes the same text saved in code page 932 holds.
#ifndef ZENTAVO_CORE_TEXTDECODE_H
#define ZENTAVO_CORE_TEXTDECODE_H

#include <stddef.h>

enum TextEncoding { TEXT_CP932, TEXT_UTF8, TEXT_UTF16LE, TEXT_UTF16BE };

enum TextFault { TEXT_FAULT_NONE, TEXT_FAULT_UTF8, TEXT_FAULT_UTF16 };

// What a character that code page 932 cannot hold becomes: "?", which Windows itself writes
// for such characters when text is saved in code page 932, and which, being ASCII, can never
// pair with a neighbouring byte as a lead or trail byte.
const unsigned char TEXT_REPLACEMENT = '?';

// The encoding that a byte-order mark at the start of bytes[0, length) announces, with the
// mark's length in *markLength; TEXT_CP932 with 0 when there is no mark.
TextEncoding EncodingFromMark(const unsigned char* bytes, size_t length, size_t* markLength);

// The result of looking through unmarked text for UTF-8.
enum Utf8Scan {
    UTF8_SCAN_GOOD,   // valid so far; the last *used bytes up to length may start a cut character
    UTF8_SCAN_BAD,    // not UTF-8
    UTF8_SCAN_ENDED,  // valid up to a Ctrl-Z, where the text ends
};

// Checks bytes[0, length) as UTF-8, stopping at a Ctrl-Z. Sets *nonAscii when it passes a
// byte from 0x80 up. On UTF8_SCAN_GOOD, *used is how many bytes were checked: a character cut
// by the end is left for the next call, in front of the bytes that follow.
Utf8Scan ScanUtf8(const unsigned char* bytes, size_t length, size_t* used, bool* nonAscii);

// Converts bytes[0, length), in encoding (not TEXT_CP932), to code page 932 in place and
// returns the number of bytes converted; the result is never longer than its source. A
// character cut by the end is left unconverted at the end: *rest gets the number of its bytes
// (the caller puts them in front of the next bytes), unless atEnd says no bytes follow, which
// makes it a fault. At a fault (a byte sequence that is no character, a broken surrogate pair)
// conversion stops in front of it, *fault says which and *rest is 0. Each character that code
// page 932 cannot hold becomes TEXT_REPLACEMENT, and its offset in the result is marked in the
// bit set replaced (one bit per byte, least significant first), which *anyReplaced records.
size_t DecodeText(TextEncoding encoding, unsigned char* bytes, size_t length, bool atEnd, size_t* rest,
                  TextFault* fault, unsigned char* replaced, bool* anyReplaced);

#endif
