// textstream_test.cpp - opening text streams, and write failures that only show at the flush.
// What the streams read and write, byte for byte, is checked against a plain model of text
// files by the text stream fuzz target over its corpus.
#include <gtest/gtest.h>

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
