// transcript_test.cpp - the transcript's records, bytes and write failures.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "template/template.h"
#include "test_host.h"
#include "transcript/transcript.h"

namespace {

class Transcript : public ::testing::Test {
protected:
    void SetUp() override { ResetCoreForTest(); }
    void TearDown() override { ResetCoreForTest(); }
    const std::string path = "transcript.txt";
};

TEST_F(Transcript, StartingWritesTheTitleAndTheNewsOnScreen)
{
#ifndef _WIN32
    const size_t openFiles = OpenFileCount();
#endif
    // Before any template, an existing file is emptied and nothing is written.
    WriteScratchFile(path, "old content");
    ASSERT_EQ(StartTranscript(path.c_str()), 1);
    StopTranscript();
    EXPECT_EQ(ReadWholeFile(path), "");
    strcpy(LoadedTemplate.TitleBuffer, "T");
    strcpy(NewsBuffer, "AB\n\n");
    EXPECT_EQ(RecordTitle(), 1);  // nothing is written while recording is off
    EXPECT_EQ(RecordNews(), 1);
    EXPECT_EQ(TranscriptFile, nullptr);
    ASSERT_EQ(StartTranscript(path.c_str()), 1);
    EXPECT_EQ(RecordingFlag, 1);
    EXPECT_EQ(RecordingMark, 1);
    // Every record is in the file as soon as it is written.
    EXPECT_EQ(ReadWholeFile(path), "T\r\n\r\nAB\r\n\r\n");

    strcpy(NewsBuffer, "line/\nbreak\n\n");
    EXPECT_EQ(RecordNews(), 1);
    EXPECT_EQ(RecordTitle(), 1);
    StopTranscript();
    EXPECT_EQ(RecordingFlag, 0);
    EXPECT_EQ(RecordingMark, 0);
    EXPECT_EQ(ReadWholeFile(path), "T\r\n\r\nAB\r\n\r\nline/\r\nbreak\r\n\r\nT\r\n\r\n");
    EXPECT_TRUE(Warnings.empty());
#ifndef _WIN32
    EXPECT_EQ(OpenFileCount(), openFiles);
#endif
}

TEST_F(Transcript, OpenFailureWarnsAndStaysOff)
{
    EXPECT_EQ(StartTranscript("no-such-folder/transcript.txt"), 0);
    EXPECT_EQ(Warnings, std::vector<std::string>{MSG_TRANSCRIPT_OPEN_FAILED});
    EXPECT_EQ(RecordingFlag, 0);
    EXPECT_EQ(TranscriptFile, nullptr);
    EXPECT_EQ(RecordingMark, -1);  // the mark was never set, so nothing to clear
}

#ifndef _WIN32
// A full disk is found at the record's flush, while starting (with the title, or with the news on
// screen when there is no title) or later: one warning each, recording off, the mark cleared and
// the file closed.
TEST_F(Transcript, WriteFailureStopsRecording)
{
    strcpy(LoadedTemplate.TitleBuffer, "T");
    EXPECT_EQ(StartTranscript("/dev/full"), 0);
    EXPECT_EQ(TranscriptFile, nullptr);
    LoadedTemplate.TitleBuffer[0] = '\0';
    strcpy(NewsBuffer, "news\n\n");
    EXPECT_EQ(StartTranscript("/dev/full"), 0);
    EXPECT_EQ(TranscriptFile, nullptr);

    NewsBuffer[0] = '\0';
    ASSERT_EQ(StartTranscript("/dev/full"), 1);
    strcpy(NewsBuffer, "news\n\n");
    EXPECT_EQ(RecordNews(), 0);
    EXPECT_EQ(Warnings, std::vector<std::string>(3, MSG_TRANSCRIPT_WRITE_FAILED));
    EXPECT_EQ(RecordingFlag, 0);
    EXPECT_EQ(RecordingMark, 0);
    EXPECT_EQ(TranscriptFile, nullptr);
    EXPECT_EQ(RecordNews(), 1);  // off now: nothing more is tried
    EXPECT_EQ(Warnings.size(), 3u);
}
#endif

}  // namespace
