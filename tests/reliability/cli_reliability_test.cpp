// cli_reliability_test.cpp - zentavo-cli killed or cut short by a full file while it records.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "core/test_host.h"
#include "transcript/transcript.h"

namespace {

// Every record of this template is 256 bytes in the transcript: a 252-byte title or
// sentence and two CR LF pairs. Records then never straddle a page of the file, so what is
// checked below is the program's own writing, not how the kernel cuts a write when a
// process is killed in the middle of it (docs/RELIABILITY.md).
std::string FixedRecordTemplate()
{
    std::string bytes = std::string(252, 'K') + "\n0,-1\n";
    for (int i = 100; i < 200; i++) bytes += std::to_string(i).substr(1) + std::string(250, 'x') + "\n";
    return bytes + "/E\n";
}

const size_t kRecordSize = 256;

off_t FileSize(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_size : 0;
}

TEST(TranscriptFailure, FileFullHalfwayThroughARecordKeepsTheRecordsBefore)
{
    std::string path = WriteScratchFile("fixed.new", FixedRecordTemplate());
    ChildRun whole = RunCliChild({"--elapsed", "3", "--count", "20", "--transcript", "zentavo-test-whole.txt", path});
    ASSERT_EQ(whole.status, 0);
    std::string expected = ReadWholeFile("zentavo-test-whole.txt");
    ASSERT_EQ(expected.size(), 21 * kRecordSize);

    const long long limit = 5 * kRecordSize + 100;  // the sixth record fills the file
    ChildRun cut =
        RunCliChild({"--elapsed", "3", "--count", "20", "--transcript", "zentavo-test-cut.txt", path}, limit);
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.err, "zentavo-test-cut.txt: " + std::string(MSG_TRANSCRIPT_WRITE_FAILED) +
                           " (ファイルの大きさの上限を超えました)\n");
    std::string written = ReadWholeFile("zentavo-test-cut.txt");
    EXPECT_EQ(written.size(), static_cast<size_t>(limit));
    EXPECT_EQ(written, expected.substr(0, written.size()));
}

TEST(TranscriptFailure, KilledProcessLeavesOnlyWholeRecordsInOrder)
{
    std::string path = WriteScratchFile("fixed.new", FixedRecordTemplate());
    const std::string transcript = "zentavo-test-killed.txt";
    unlink(transcript.c_str());
    double startedAt = MonotonicSeconds();
    pid_t child = StartCli({"--elapsed", "9", "--count", "100000", "--transcript", transcript, path}, "/dev/null",
                           "zentavo-test-killed-err");
    ASSERT_GT(child, 0);
    // Kill it once a thousand records are in, while it is still writing.
    while (FileSize(transcript) < static_cast<off_t>(1000 * kRecordSize) && MonotonicSeconds() - startedAt < 30)
        usleep(200);
    kill(child, SIGKILL);
    ChildRun run = FinishChild(child, "/dev/null", "zentavo-test-killed-err");
    ASSERT_EQ(run.signal, SIGKILL) << "finished before it could be killed";

    std::string written = ReadWholeFile(transcript);
    ASSERT_GE(written.size(), 1000 * kRecordSize);
    EXPECT_EQ(written.size() % kRecordSize, 0u) << "a record was cut";
    size_t news = written.size() / kRecordSize - 1;
    ChildRun again = RunCliChild({"--elapsed", "9", "--count", std::to_string(news), path});
    ASSERT_EQ(again.status, 0);
    EXPECT_TRUE(written == std::string(252, 'K') + "\r\n\r\n" + WithCrLf(again.out)) << "records lost or out of order";
}

// The same with records of every size from 13 bytes to 2.5 KB, killed at random moments;
// run by make reliability (ZENTAVO_KILL_RUNS times, default 100). A kill that lands while
// the kernel copies a record that straddles a page of the file can cut that record at the
// page boundary, after the program handed it over whole in one write; so the last record
// may be cut there and nowhere else, and everything before it is whole and in order.
TEST(TranscriptFailure, DISABLED_KilledAtRandomMomentsWithRecordsOfAnySize)
{
    std::string bytes = "Varied\n";
    for (int line = 1; line <= 10; line++) {
        for (int element = 0; element < line; element++) bytes += std::to_string(element) + ",";
        bytes += line < 10 ? "-2\n" : "-1\n";
    }
    for (int block = 0; block < 10; block++) {
        for (int sentence = 0; sentence < 20; sentence++)
            bytes +=
                std::to_string(block) + ":" + std::string((block * 37 + sentence * 53) % 250 + 1, 'a' + block) + "\n";
        bytes += "/E\n";
    }
    std::string path = WriteScratchFile("varied.new", bytes);
    ChildRun reference = RunCliChild({"--elapsed", "5", "--count", "100000", path});
    ASSERT_EQ(reference.status, 0);
    std::string expected = "Varied\r\n\r\n" + WithCrLf(reference.out);
    const char* setting = getenv("ZENTAVO_KILL_RUNS");
    int runs = setting ? atoi(setting) : 100;
    int cut = 0;
    srand(static_cast<unsigned>(getpid()));
    for (int i = 0; i < runs; i++) {
        const std::string transcript = "zentavo-test-varied.txt";
        pid_t child = StartCli({"--elapsed", "5", "--count", "100000", "--transcript", transcript, path}, "/dev/null",
                               "zentavo-test-varied-err");
        usleep(5000 + rand() % 50000);
        kill(child, SIGKILL);
        ASSERT_EQ(FinishChild(child, "/dev/null", "zentavo-test-varied-err").signal, SIGKILL);
        std::string written = ReadWholeFile(transcript);
        ASSERT_EQ(written, expected.substr(0, written.size())) << "records lost or out of order";
        if (written.empty() || (written.size() >= 4 && written.compare(written.size() - 4, 4, "\r\n\r\n") == 0))
            continue;
        cut++;
        EXPECT_EQ(written.size() % 4096, 0u) << "a record cut inside a page, at " << written.size();
    }
    printf("%d kills at random moments: %d left the last record cut at a page boundary\n", runs, cut);
}

}  // namespace
