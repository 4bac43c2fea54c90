// textstream.cpp - the program's own text-mode translation over binary file I/O.
#include "textstream.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "core/bytescan.h"
#include "core/textdecode.h"

namespace {

// Large blocks keep reads cheap even where the C runtime's own line reading is slow.
const size_t kBlockSize = 64 * 1024;
const unsigned char kCtrlZ = 26;
const int kNoByte = -1;

}  // namespace

struct TextStream {
    FILE* file;
    TextStreamMode mode;
    unsigned char block[kBlockSize];
    size_t next;         // reading: first unread byte; writing: bytes queued
    size_t filled;       // reading: bytes in block
    int inputEnded;      // reading: end of file, read error or Ctrl-Z seen
    int failed;          // writing: a write or flush has failed
    unsigned long line;  // line on which the last returned piece began
    unsigned long nextLine;
    // Reading a converted file: the block holds converted bytes.
    TextEncoding encoding;
    size_t unconverted;    // bytes at the block's front still to be converted, after opening
    unsigned char cut[3];  // a character cut by the end of the last bytes converted
    size_t cutLength;
    TextFault faultAhead;                    // where the converted bytes end, bytes that are no character
    TextFault fault;                         // such bytes, once the reader has reached them
    bool blockReplaced;                      // some byte of the block is a replacement...
    unsigned char replaced[kBlockSize / 8];  // ...namely those whose bits are set
    int pieceReplaced;                       // the last piece returned holds a replacement
};

int LastTextStreamError;

static int IsFolder(FILE* file)
{
    struct stat info;
    return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

// Keeps why the open of path failed. Some systems refuse to open a folder with "no
// permission" (and Linux opens one for reading): a folder is reported as a folder everywhere.
static TextStream* FailOpen(const char* path, int error)
{
    struct stat info;
    LastTextStreamError = stat(path, &info) == 0 && S_ISDIR(info.st_mode) ? EISDIR : error;
    return nullptr;
}

// Only a regular file has an end to read to and a start to come back to: a device such as
// /dev/zero may never end, and a pipe cannot be read twice.
static bool CanReadTwice(FILE* file)
{
    struct stat info;
    return fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && fseek(file, 0, SEEK_CUR) == 0;
}

// Whether a file without a byte-order mark, whose first `length` bytes are in the block, is
// UTF-8: all of it up to a Ctrl-Z is valid UTF-8, and it holds at least one character beyond
// ASCII (ASCII alone reads the same either way). Text in code page 932 is never taken for
// UTF-8: its kana and kanji have lead bytes 0x81 to 0x9F or 0xE0 to 0xFC followed by trail
// bytes 0x40 to 0xFC, and half-width kana are lone bytes 0xA1 to 0xDF; UTF-8 allows a byte
// from 0x80 up only in a run of one lead byte 0xC2 to 0xF4 and its exact number of
// continuation bytes 0x80 to 0xBF, which such text breaks at once, in practice at its first
// kana or kanji. When the first block decides nothing the rest is checked too and the file
// rewound, and *rewound set; any other file (a pipe, a device) is judged by its first block
// alone.
static bool IsUnmarkedUtf8(TextStream* stream, size_t length, bool* rewound)
{
    bool nonAscii = false;
    size_t used = 0;
    Utf8Scan scan = ScanUtf8(stream->block, length, &used, &nonAscii);
    bool more = length == kBlockSize && scan == UTF8_SCAN_GOOD;
    if (more && CanReadTwice(stream->file)) {
        *rewound = true;
        for (;;) {
            size_t carried = length - used;
            memmove(stream->block, stream->block + used, carried);
            length = carried + fread(stream->block + carried, 1, kBlockSize - carried, stream->file);
            scan = ScanUtf8(stream->block, length, &used, &nonAscii);
            if (scan != UTF8_SCAN_GOOD || length < kBlockSize) break;
        }
        more = false;
        if (fseek(stream->file, 0, SEEK_SET) != 0) return false;
    }
    // A character cut by the end of the file is no UTF-8.
    bool valid = scan == UTF8_SCAN_ENDED || (scan == UTF8_SCAN_GOOD && (used == length || more));
    return valid && nonAscii;
}

// Reads the first block and decides how the file is encoded. The block is then ready for
// PeekRawByte: code page 932 bytes as they are, or the bytes after a mark left at its front
// for the first conversion.
static void StartReading(TextStream* stream)
{
    size_t length = fread(stream->block, 1, kBlockSize, stream->file);
    size_t mark = 0;
    bool rewound = false;
    stream->encoding = EncodingFromMark(stream->block, length, &mark);
    if (stream->encoding == TEXT_CP932 && IsUnmarkedUtf8(stream, length, &rewound)) stream->encoding = TEXT_UTF8;
    if (rewound) return;  // the first refill reads from the start again
    if (stream->encoding == TEXT_CP932) {
        stream->filled = length;
        return;
    }
    memmove(stream->block, stream->block + mark, length - mark);
    stream->unconverted = length - mark;
}

TextStream* OpenTextStream(const char* path, TextStreamMode mode)
{
    FILE* file = fopen(path, mode == TEXT_READ ? "rb" : "wb");
    if (!file) return FailOpen(path, errno);
    if (IsFolder(file)) {
        fclose(file);
        return FailOpen(path, EISDIR);
    }
    TextStream* stream = static_cast<TextStream*>(calloc(1, sizeof(TextStream)));
    if (!stream) {
        fclose(file);
        return FailOpen(path, ENOMEM);
    }
    // The stream's own block is the only buffer of a file being written, so every flush
    // reaches the system in one write: a record flushed on its own is never split between
    // two writes, and a process killed between them cannot leave half a record behind.
    if (mode == TEXT_WRITE) setvbuf(file, nullptr, _IONBF, 0);
    stream->file = file;
    stream->mode = mode;
    stream->line = 1;
    stream->nextLine = 1;
    if (mode == TEXT_READ) StartReading(stream);
    return stream;
}

// Marks the stream failed and keeps the system's reason, unless an earlier failure has.
static void FailWrite(TextStream* stream)
{
    if (!stream->failed) LastTextStreamError = errno;
    stream->failed = 1;
}

static int WriteQueuedBytes(TextStream* stream)
{
    errno = 0;
    if (stream->next > 0 && !stream->failed && fwrite(stream->block, 1, stream->next, stream->file) != stream->next)
        FailWrite(stream);
    stream->next = 0;
    return !stream->failed;
}

int FlushTextStream(TextStream* stream)
{
    WriteQueuedBytes(stream);
    errno = 0;
    if (fflush(stream->file) != 0 || ferror(stream->file)) FailWrite(stream);
    return !stream->failed;
}

int CloseTextStream(TextStream* stream)
{
    if (!stream) return 1;
    int ok = 1;
    if (stream->mode == TEXT_WRITE) ok = FlushTextStream(stream);
    if (fclose(stream->file) != 0) ok = 0;
    free(stream);
    return ok;
}

// Refills the block from the file: the file's bytes as they are, or converted. Leaves
// stream->filled 0 at the end of the input or at bytes that are no character.
static void FillBlock(TextStream* stream)
{
    stream->next = 0;
    if (stream->encoding == TEXT_CP932) {
        stream->filled = fread(stream->block, 1, kBlockSize, stream->file);
        return;
    }
    if (stream->blockReplaced) memset(stream->replaced, 0, sizeof stream->replaced);
    stream->blockReplaced = false;
    stream->filled = 0;
    bool atEnd = false;
    while (stream->filled == 0 && !atEnd && !stream->faultAhead) {
        size_t have = stream->unconverted;
        if (have == 0) {
            memcpy(stream->block, stream->cut, stream->cutLength);
            have = stream->cutLength;
        }
        size_t wanted = kBlockSize - have;
        size_t got = fread(stream->block + have, 1, wanted, stream->file);
        atEnd = got < wanted;
        size_t length = have + got;
        size_t rest;
        stream->filled = DecodeText(stream->encoding, stream->block, length, atEnd, &rest, &stream->faultAhead,
                                    stream->replaced, &stream->blockReplaced);
        memcpy(stream->cut, stream->block + length - rest, rest);
        stream->cutLength = rest;
        stream->unconverted = 0;
    }
    if (stream->filled == 0) stream->fault = stream->faultAhead;
}

// 1 when one of the block's bytes [from, from + count) is a replacement.
static int HoldsReplacement(const TextStream* stream, size_t from, size_t count)
{
    for (size_t i = from; i < from + count; i++)
        if (stream->replaced[i / 8] & (1u << (i % 8))) return 1;
    return 0;
}

// The next raw byte without taking it, or kNoByte once the input has ended. A Ctrl-Z ends
// the input for good: nothing behind it is ever returned.
static int PeekRawByte(TextStream* stream)
{
    if (stream->inputEnded) return kNoByte;
    if (stream->next == stream->filled) {
        FillBlock(stream);
        if (stream->filled == 0) {
            stream->inputEnded = 1;
            return kNoByte;
        }
    }
    int byte = stream->block[stream->next];
    if (byte == kCtrlZ) {
        stream->inputEnded = 1;
        return kNoByte;
    }
    return byte;
}

// Where the plain run at the start of bytes ends: the index of its first LF, CR or Ctrl-Z,
// or length when there is none.
static size_t PlainRunLength(const unsigned char* bytes, size_t length)
{
    return FindFirstOf<'\n', '\r', kCtrlZ>(bytes, length);
}

size_t ReadTextLine(TextStream* stream, char* buffer, size_t size)
{
    size_t count = 0;
    unsigned long firstLine = stream->nextLine;
    stream->pieceReplaced = 0;
    while (count + 1 < size) {
        if (PeekRawByte(stream) == kNoByte) break;
        // Copy the plain bytes that are in the block and fit, in one go.
        size_t room = size - 1 - count;
        size_t available = stream->filled - stream->next;
        const unsigned char* bytes = stream->block + stream->next;
        size_t plain = PlainRunLength(bytes, available < room ? available : room);
        memcpy(buffer + count, bytes, plain);
        if (stream->blockReplaced && HoldsReplacement(stream, stream->next, plain)) stream->pieceReplaced = 1;
        count += plain;
        stream->next += plain;
        if (count + 1 == size) break;
        int byte = PeekRawByte(stream);  // refills when the run reached the block's end
        if (byte == kNoByte) break;
        if (byte != '\n' && byte != '\r') continue;  // the block ended inside the run
        stream->next++;
        // A CR directly followed by LF is read as that LF, even across a refill.
        if (byte == '\r' && PeekRawByte(stream) == '\n') {
            stream->next++;
            byte = '\n';
        }
        buffer[count++] = static_cast<char>(byte);
        if (byte == '\n') {
            stream->nextLine++;
            break;
        }
    }
    buffer[count] = '\0';  // size is at least 2
    if (count > 0) stream->line = firstLine;
    if (stream->fault) stream->line = stream->nextLine;
    return count;
}

unsigned long TextLineNumber(const TextStream* stream)
{
    return stream->line;
}

TextEncoding TextStreamEncoding(const TextStream* stream)
{
    return stream->encoding;
}

TextFault TextStreamFault(const TextStream* stream)
{
    return stream->fault;
}

int TextPieceHasReplacement(const TextStream* stream)
{
    return stream->pieceReplaced;
}

int WriteText(TextStream* stream, const char* bytes, size_t length)
{
    for (size_t i = 0; i < length && !stream->failed; i++) {
        // Room for a CR LF pair at any point.
        if (stream->next + 2 > kBlockSize) WriteQueuedBytes(stream);
        if (bytes[i] == '\n') stream->block[stream->next++] = '\r';
        stream->block[stream->next++] = static_cast<unsigned char>(bytes[i]);
    }
    return !stream->failed;
}
