// textstream.cpp - the program's own text-mode translation over binary file I/O.
#include "textstream.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "core/bytescan.h"

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

// The next raw byte without taking it, or kNoByte once the input has ended. A Ctrl-Z ends
// the input for good: nothing behind it is ever returned.
static int PeekRawByte(TextStream* stream)
{
    if (stream->inputEnded) return kNoByte;
    if (stream->next == stream->filled) {
        stream->next = 0;
        stream->filled = fread(stream->block, 1, kBlockSize, stream->file);
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
    while (count + 1 < size) {
        if (PeekRawByte(stream) == kNoByte) break;
        // Copy the plain bytes that are in the block and fit, in one go.
        size_t room = size - 1 - count;
        size_t available = stream->filled - stream->next;
        const unsigned char* bytes = stream->block + stream->next;
        size_t plain = PlainRunLength(bytes, available < room ? available : room);
        memcpy(buffer + count, bytes, plain);
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
    if (size > 0) buffer[count] = '\0';
    if (count > 0) stream->line = firstLine;
    return count;
}

unsigned long TextLineNumber(const TextStream* stream)
{
    return stream->line;
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
