// textstream_test.cpp - the text streams against the platform runtime's measured behaviour.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/textstream.h"
#include "test_host.h"

namespace {

std::string A(size_t count)
{
    return std::string(count, 'a');
}

// Every line ReadTextLine returns for the file's bytes with a buffer of `size` bytes.
std::vector<std::string> ReadAllLines(const std::string& bytes, size_t size)
{
    std::string path = WriteScratchFile("stream", bytes);
    TextStream* stream = OpenTextStream(path.c_str(), TEXT_READ);
    EXPECT_NE(stream, nullptr);
    std::vector<std::string> lines;
    std::vector<char> buffer(size);
    size_t count;
    while (stream && (count = ReadTextLine(stream, buffer.data(), size)) > 0) {
        EXPECT_EQ(buffer[count], '\0');
        lines.emplace_back(buffer.data(), count);
        if (lines.size() > 100000) break;
    }
    CloseTextStream(stream);
    return lines;
}

struct ReadVector {
    std::string input;
    std::vector<std::string> at256;  // reads with a 256-byte buffer
    std::vector<std::string> at305;  // reads with a 305-byte buffer
};

const std::string NUL(1, '\0');

const ReadVector kReadVectors[] = {
    {"A\rB\n", {"A\rB\n"}, {"A\rB\n"}},
    {"A\r\r\nB\n", {"A\r\n", "B\n"}, {"A\r\n", "B\n"}},
    {"A\r\r\r\n\n\r", {"A\r\r\n", "\n", "\r"}, {"A\r\r\n", "\n", "\r"}},
    {"A\r", {"A\r"}, {"A\r"}},
    {"\r", {"\r"}, {"\r"}},
    {"\r\n", {"\n"}, {"\n"}},
    {"A\n\rB", {"A\n", "\rB"}, {"A\n", "\rB"}},
    {"A\r\x1a"
     "B\n",
     {"A\r"},
     {"A\r"}},
    {"AB\x1a"
     "CD\nEF\n",
     {"AB"},
     {"AB"}},
    {"AB\n\x1a"
     "CD\n",
     {"AB\n"},
     {"AB\n"}},
    {"AB\r\n\x1a", {"AB\n"}, {"AB\n"}},
    {"\x1a"
     "AB\n",
     {},
     {}},
    {"", {}, {}},
    {"A" + NUL + "B\r\nC\n", {"A" + NUL + "B\n", "C\n"}, {"A" + NUL + "B\n", "C\n"}},
    {"\x82\xa0\x82\xa2\r\n\x81\r\n", {"\x82\xa0\x82\xa2\n", "\x81\n"}, {"\x82\xa0\x82\xa2\n", "\x81\n"}},
    {"A\n\n\r\n", {"A\n", "\n", "\n"}, {"A\n", "\n", "\n"}},
    {A(254) + "\r\nB\n", {A(254) + "\n", "B\n"}, {A(254) + "\n", "B\n"}},
    {A(255) + "\r\nB\n", {A(255), "\n", "B\n"}, {A(255) + "\n", "B\n"}},
    {A(256) + "\r\nB\n", {A(255), "a\n", "B\n"}, {A(256) + "\n", "B\n"}},
    {A(304) + "\r\nB\n", {A(255), A(49) + "\n", "B\n"}, {A(304), "\n", "B\n"}},
    {A(305) + "\r\nB\n", {A(255), A(50) + "\n", "B\n"}, {A(304), "a\n", "B\n"}},
    {A(254) + "\r\r\nB\n", {A(254) + "\r", "\n", "B\n"}, {A(254) + "\r\n", "B\n"}},
    {A(254) + "\rb\n", {A(254) + "\r", "b\n"}, {A(254) + "\rb\n"}},
    {A(600) + "\r\n", {A(255), A(255), A(90) + "\n"}, {A(304), A(296) + "\n"}},
    {A(255) + "\x1a"
              "B\n",
     {A(255)},
     {A(255)}},
};

TEST(TextStreamReading, MatchesTheRuntimeVectors)
{
    for (const ReadVector& vector : kReadVectors) {
        EXPECT_EQ(ReadAllLines(vector.input, 256), vector.at256) << "input of " << vector.input.size() << " bytes";
        EXPECT_EQ(ReadAllLines(vector.input, 305), vector.at305) << "input of " << vector.input.size() << " bytes";
    }
}

TEST(TextStreamReading, CountsPhysicalLines)
{
    std::string path = WriteScratchFile("lines", "one\r\n\r\n" + A(300) + "\nlast");
    TextStream* stream = OpenTextStream(path.c_str(), TEXT_READ);
    ASSERT_NE(stream, nullptr);
    char buffer[256];
    std::vector<unsigned long> numbers;
    while (ReadTextLine(stream, buffer, sizeof buffer) > 0) numbers.push_back(TextLineNumber(stream));
    CloseTextStream(stream);
    EXPECT_EQ(numbers, (std::vector<unsigned long>{1, 2, 3, 3, 4}));
}

TEST(TextStreamOpening, RefusesMissingFilesAndFolders)
{
    EXPECT_EQ(OpenTextStream("no-such-file", TEXT_READ), nullptr);
    EXPECT_EQ(OpenTextStream(".", TEXT_READ), nullptr);
    EXPECT_EQ(OpenTextStream("no-such-folder/file.txt", TEXT_WRITE), nullptr);
}

TEST(TextStreamWriting, TranslatesLineFeedsOnly)
{
    std::string path = "written";
    TextStream* stream = OpenTextStream(path.c_str(), TEXT_WRITE);
    ASSERT_NE(stream, nullptr);
    const char first[] =
        "a\nb\r\nc\rd\x1a"
        "e\n\n";
    EXPECT_EQ(WriteText(stream, first, sizeof first - 1), 1);
    EXPECT_EQ(WriteText(stream, "f\r\r\n", 4), 1);
    EXPECT_EQ(WriteText(stream, "\n", 1), 1);
    EXPECT_EQ(WriteText(stream, "\r", 1), 1);
    EXPECT_EQ(WriteText(stream, "g\nh", 3), 1);
    EXPECT_EQ(CloseTextStream(stream), 1);
    EXPECT_EQ(ReadWholeFile(path),
              "a\r\nb\r\r\nc\rd\x1a"
              "e\r\n\r\nf\r\r\r\n\r\n\rg\r\nh");
}

#ifndef _WIN32
// A full device accepts buffered writes; the failure has to surface at the flush.
TEST(TextStreamWriting, FailureOnAFullDeviceSurfacesAtFlush)
{
    TextStream* stream = OpenTextStream("/dev/full", TEXT_WRITE);
    ASSERT_NE(stream, nullptr);
    WriteText(stream, "abc\n", 4);
    EXPECT_EQ(FlushTextStream(stream), 0);
    EXPECT_EQ(WriteText(stream, "more", 4), 0);
    EXPECT_EQ(CloseTextStream(stream), 0);
}
#endif

}  // namespace
