// textstream_fuzzer.cpp - the text streams on arbitrary bytes, read and written back.
//
// Reading any file gives pieces of at most N - 1 bytes, each ending at its first LF or at the
// limit, terminated inside the buffer, each reporting the line it began on, and then an end
// that stays. Writing the input, in pieces of N bytes, and reading that file back gives the
// input up to its first Ctrl-Z. The first two input bytes choose N and whether plain lines
// in front push the rest of the input across the streams' 64 KB block boundary. The exact
// bytes of each read are pinned by the unit tests' vectors.
#include <string.h>

#include <string>
#include <vector>

#include "core/textstream.h"
#include "fuzz/fuzz_host.h"

namespace {

// Reads the whole file in pieces into a buffer of size bytes, checks each piece, and returns
// them put together.
FUZZ_NOT_COVERED std::string ReadChecked(const char* path, size_t size)
{
    TextStream* stream = OpenTextStream(path, TEXT_READ);
    FuzzRequire(stream != nullptr, "the file opens");
    std::vector<char> buffer(size + 1, 'x');
    std::string text;
    unsigned long line = 1;
    bool ended = false;  // the last piece stopped short of both the limit and a line feed
    for (size_t count; (count = ReadTextLine(stream, buffer.data(), size)) > 0;) {
        FuzzRequire(!ended && count < size, "each read takes at most N - 1 bytes, the last a short one");
        FuzzRequire(buffer[count] == '\0' && buffer[size] == 'x', "the piece is terminated inside the buffer");
        FuzzRequire(memchr(buffer.data(), '\n', count - 1) == nullptr, "a piece ends at its first line feed");
        FuzzRequire(TextLineNumber(stream) == line, "the piece reports the line it began on");
        line += buffer[count - 1] == '\n';
        ended = buffer[count - 1] != '\n' && count < size - 1;
        text.append(buffer.data(), count);
    }
    FuzzRequire(ReadTextLine(stream, buffer.data(), size) == 0, "the end of the input is permanent");
    CloseTextStream(stream);
    return text;
}

FUZZ_NOT_COVERED void CheckWritingReadsBack(const std::string& bytes, size_t piece)
{
    const char* path = WriteFuzzFile(1, nullptr, 0);  // an empty file in memory
    TextStream* stream = OpenTextStream(path, TEXT_WRITE);
    FuzzRequire(stream != nullptr, "the output file opens");
    for (size_t at = 0; at < bytes.size(); at += piece)
        FuzzRequire(WriteText(stream, bytes.data() + at, std::min(piece, bytes.size() - at)) == 1, "writes succeed");
    FuzzRequire(CloseTextStream(stream) == 1, "closing succeeds");
    FuzzRequire(ReadChecked(path, piece) == bytes.substr(0, bytes.find('\x1a')),
                "what is written reads back as it was, up to a Ctrl-Z");
}

// Plain lines that end up to 496 bytes before the 64 KB block boundary.
FUZZ_NOT_COVERED std::string LinesBeforeBoundary(unsigned before)
{
    std::string lines;
    while (lines.size() < 65536 - before) lines += std::string(99, 'f') + "\n";
    lines.resize(65536 - before - 1);
    return lines + "\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) return 0;
    // 2 to 513 bytes; 256 and 305, the loader's two buffers, are among them.
    size_t bufferSize = 2 + data[0] + (data[1] & 1) * 256;
    std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    if ((data[1] & 6) == 6) bytes = LinesBeforeBoundary((data[1] >> 3) * 16) + bytes;  // one input in four
    ReadChecked(WriteFuzzFile(0, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), bufferSize);
    CheckWritingReadsBack(bytes, bufferSize);
    return 0;
}
