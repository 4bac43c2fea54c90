// textstream_test.cpp - what text streams read and write, byte for byte, and opening them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/textstream.h"
#include "tests/test_support.h"

namespace {

TEST(TextStreamOpening, RefusesMissingFilesAndFoldersAndClosesCleanly)
{
    EXPECT_EQ(OpenTextStream("no-such-file", TEXT_READ), nullptr);
    EXPECT_EQ(OpenTextStream(".", TEXT_READ), nullptr);
    EXPECT_EQ(OpenTextStream("no-such-folder/file.txt", TEXT_WRITE), nullptr);
    EXPECT_EQ(CloseTextStream(nullptr), 1);  // what a failed open returned may be closed
    EXPECT_EQ(CloseTextStream(OpenTextStream(WriteScratchFile("file.txt", "x\n").c_str(), TEXT_READ)), 1);
}

// Successive reads with a buffer of N bytes: a CR directly before an LF is dropped, any other
// CR is kept, Ctrl-Z ends the input, and a line longer than N - 1 bytes comes in pieces.
TEST(TextStreamReading, Vectors)
{
    typedef std::vector<std::string> Reads;
    const std::string a254(254, 'a'), a255(255, 'a');
    const struct {
        size_t size;
        std::string input;
        Reads reads;
    } cases[] = {
        {256, "A\rB\n", {"A\rB\n"}},
        {256, "A\r\r\r\n\n\r", {"A\r\r\n", "\n", "\r"}},
        {256, "\r\n", {"\n"}},
        {256, "A\r\x1aZ\n", {"A\r"}},
        {256, "AB\r\n\x1a", {"AB\n"}},
        {256, "\x1aZ\n", {}},
        {256, std::string("A\0B\r\nC\n", 7), {std::string("A\0B\n", 4), "C\n"}},
        {256, "\x82\xa0\r\n\x81\r\n", {"\x82\xa0\n", "\x81\n"}},
        {256, a255 + "\r\nB\n", {a255, "\n", "B\n"}},
        {305, a255 + "\r\nB\n", {a255 + "\n", "B\n"}},
        {256, a254 + "\r\r\nB\n", {a254 + "\r", "\n", "B\n"}},
        {305, std::string(600, 'a') + "\r\n", {std::string(304, 'a'), std::string(296, 'a') + "\n"}},
    };
    for (const auto& c : cases) {
        TextStream* stream = OpenTextStream(WriteScratchFile("in.txt", c.input).c_str(), TEXT_READ);
        ASSERT_NE(stream, nullptr);
        Reads reads;
        std::vector<char> buffer(c.size);
        for (size_t count; (count = ReadTextLine(stream, buffer.data(), c.size)) > 0;)
            reads.emplace_back(buffer.data(), count);
        CloseTextStream(stream);
        EXPECT_EQ(reads, c.reads) << c.input.substr(0, 12) << " with " << c.size;
    }
}

TEST(TextStreamWriting, EachLineFeedBecomesCrLf)
{
    TextStream* stream = OpenTextStream("out.txt", TEXT_WRITE);
    for (const std::string piece : {"a\nb\r\nc\rd\x1a"
                                    "e\n\n",
                                    "f\r\r\n", "\n", "\r", "g\nh"})
        EXPECT_EQ(WriteText(stream, piece.data(), piece.size()), 1);
    EXPECT_EQ(CloseTextStream(stream), 1);
    EXPECT_EQ(ReadWholeFile("out.txt"),
              "a\r\nb\r\r\nc\rd\x1a"
              "e\r\n\r\nf\r\r\r\n\r\n\rg\r\nh");
}

}  // namespace
