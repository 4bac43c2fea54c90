// textstream_fuzzer.cpp - the text streams against a plain model of text-mode files.
//
// Reading: the bytes before the first Ctrl-Z, with each CR that directly precedes an LF
// dropped, come back in lines of at most N - 1 bytes that end at the first LF; each piece
// reports the line it began on. Writing: every LF reaches the file as CR LF, whatever the
// pieces it was written in. The first two input bytes choose N and whether plain lines in
// front push the rest of the input across the streams' 64 KB block boundary.
#include <string.h>

#include <string>
#include <vector>

#include "core/textstream.h"
#include "fuzz/fuzz_host.h"

namespace {

const char kCtrlZ = 26;

FUZZ_NOT_COVERED std::string ModelTextOf(const std::string& bytes)
{
    std::string kept = bytes.substr(0, bytes.find(kCtrlZ));
    std::string text;
    text.reserve(kept.size());
    for (size_t i = 0; i < kept.size(); i++)
        if (!(kept[i] == '\r' && i + 1 < kept.size() && kept[i + 1] == '\n')) text.push_back(kept[i]);
    return text;
}

FUZZ_NOT_COVERED std::string WithCrLf(const std::string& bytes)
{
    std::string written;
    written.reserve(2 * bytes.size());
    for (char byte : bytes) {
        if (byte == '\n') written.push_back('\r');
        written.push_back(byte);
    }
    return written;
}

FUZZ_NOT_COVERED void CheckReading(const char* path, const std::string& bytes, size_t size)
{
    std::string text = ModelTextOf(bytes);
    TextStream* stream = OpenTextStream(path, TEXT_READ);
    FuzzRequire(stream != nullptr, "the input file opens");
    std::vector<char> buffer(size + 1, 'x');
    size_t at = 0;
    unsigned long line = 1;
    for (;;) {
        size_t count = ReadTextLine(stream, buffer.data(), size);
        size_t end = text.find('\n', at);
        size_t expected = std::min(end == std::string::npos ? text.size() - at : end + 1 - at, size - 1);
        FuzzRequire(count == expected, "each read takes up to the LF, at most N - 1 bytes");
        FuzzRequire(buffer[count] == '\0' && buffer[size] == 'x', "the piece is terminated inside the buffer");
        if (count == 0) break;
        FuzzRequire(memcmp(buffer.data(), text.data() + at, count) == 0, "the piece holds the model's bytes");
        FuzzRequire(TextLineNumber(stream) == line, "the piece reports the line it began on");
        at += count;
        line += buffer[count - 1] == '\n';
    }
    FuzzRequire(at == text.size(), "everything before Ctrl-Z is read");
    FuzzRequire(ReadTextLine(stream, buffer.data(), size) == 0, "the end of the input is permanent");
    CloseTextStream(stream);
}

FUZZ_NOT_COVERED void CheckWriting(const std::string& bytes, size_t piece)
{
    const char* path = WriteFuzzFile(1, nullptr, 0);  // an empty file in memory
    TextStream* stream = OpenTextStream(path, TEXT_WRITE);
    FuzzRequire(stream != nullptr, "the output file opens");
    for (size_t at = 0; at < bytes.size(); at += piece)
        FuzzRequire(WriteText(stream, bytes.data() + at, std::min(piece, bytes.size() - at)) == 1, "writes succeed");
    FuzzRequire(CloseTextStream(stream) == 1, "closing succeeds");
    std::string expected = WithCrLf(bytes);
    std::vector<uint8_t> written(expected.size() + 1);
    size_t count = ReadRawFile(path, written.data(), written.size());
    FuzzRequire(count == expected.size() && memcmp(written.data(), expected.data(), count) == 0,
                "the file holds the bytes with each LF as CR LF");
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
    CheckReading(WriteFuzzFile(0, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), bytes, bufferSize);
    CheckWriting(bytes, bufferSize);
    return 0;
}
