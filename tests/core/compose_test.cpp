// compose_test.cpp - the random source and the news composer.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "core/clock.h"
#include "template/template.h"
#include "test_host.h"

namespace {

class Compose : public ::testing::Test {
protected:
    void SetUp() override { ResetCoreForTest(); }
    void TearDown() override { ResetCoreForTest(); }

    void Load(const std::string& bytes)
    {
        ASSERT_EQ(LoadTemplate(WriteScratchFile("compose", bytes).c_str()), 1) << Warnings.size();
    }
};

std::vector<int> Draws(uint32_t seed, int count)
{
    RandomSeed = seed;
    std::vector<int> values;
    for (int i = 0; i < count; i++) values.push_back(NextRandom7());
    return values;
}

TEST_F(Compose, GeneratorSequences)
{
    EXPECT_EQ(Draws(1, 8), (std::vector<int>{41, 35, 62, 4, 97, 108, 86, 46}));
    EXPECT_EQ(Draws(0, 8), (std::vector<int>{38, 39, 118, 5, 23, 21, 45, 29}));
}

TEST_F(Compose, SeedIsTheElapsedMillisecondsOnTheWallClock)
{
    FakeClock = {1000, 900};
    RecordStartTime();
    FakeClock = {1002, 100};
    EXPECT_EQ(ElapsedMilliseconds(), 1200u);
    FakeClock = {999, 0};  // a clock set back wraps as a 32-bit value
    EXPECT_EQ(ElapsedMilliseconds(), static_cast<uint32_t>(-1900));
    // Platform readings keep the low 32 bits of their seconds: a Windows file time of
    // 13,400,000,001.2345678 seconds, a POSIX time of 2^32 + 1 seconds and 999,999,999 ns;
    // a millisecond begins at its first nanosecond.
    WallClockTime fileTime = WallClockFromFileTime(134000000012345678u);
    EXPECT_EQ(fileTime.seconds, 13400000001u % (1ull << 32));
    EXPECT_EQ(fileTime.milliseconds, 234u);
    WallClockTime posixTime = WallClockFromPosixTime(4294967297, 999999999);
    EXPECT_EQ(posixTime.seconds, 1u);
    EXPECT_EQ(posixTime.milliseconds, 999u);
    EXPECT_EQ(WallClockFromPosixTime(0, 1000000).milliseconds, 1u);
    // The worked example: 1,000 ms after the start, the first flow line and its first sentences.
    Load("T\n0,1,-2\n1,0,-1\nP\nQ\nR\n/E\nx\ny\n/E\n");
    FakeClock = {1001, 900};
    ASSERT_EQ(ComposeNextNews(), 1);
    EXPECT_STREQ(NewsBuffer, "Px\n\n");
}

// With 41 flow lines and seed 1, draw 41 is rejected and line 35 taken; its block's
// sentence selection starts at the next draw, 62.
TEST_F(Compose, RejectedDrawsAreSkipped)
{
    std::string bytes = "T\n";
    for (int line = 0; line < 41; line++)
        bytes += std::to_string(line == 35 ? 1 : 0) + (line == 40 ? ",-1\n" : ",-2\n");
    bytes += "zero\n/E\n";
    for (int s = 0; s < 100; s++) bytes += "s" + std::to_string(s) + "\n";
    bytes += "/E\n";
    Load(bytes);
    ASSERT_EQ(ComposeNewsSeeded(1), 1);
    EXPECT_STREQ(NewsBuffer, "s62\n\n");
}

TEST_F(Compose, UndefinedBlockWarnsAndShowKeepsThePreviousText)
{
    Load("T\n0,-2\n0,1,7,-1\na\n/E\nb\n/E\nc\n/E\nd\n/E\ne\n/E\n");
    strcpy(NewsBuffer, "previous\n\n");
    bool failed = false;
    for (uint32_t seed = 0; seed < 50 && !failed; seed++) {
        if (ComposeNextNewsSeeded(seed)) continue;
        failed = true;
        EXPECT_EQ(Warnings.back(), "定義されていないブロック7が、流れデータ第2行目の第3個目で指定されました");
        EXPECT_STREQ(NewsBuffer, "previous\n\n");
    }
    EXPECT_TRUE(failed);
}

TEST_F(Compose, EmptyFlowLineAndEmptyBlockAddNothing)
{
    Load("T\n-1\nx\n/E\n");
    ASSERT_EQ(ComposeNewsSeeded(3), 1);
    EXPECT_STREQ(NewsBuffer, "\n\n");

    // The empty block makes no draw: the generator ends where it does without it.
    Load("T\n1,1,-1\n/E\nx\n/E\n");
    ASSERT_EQ(ComposeNewsSeeded(9), 1);
    const uint32_t draws = RandomSeed;
    Load("T\n1,0,1,-1\n/E\nx\n/E\n");
    ASSERT_EQ(ComposeNewsSeeded(9), 1);
    EXPECT_STREQ(NewsBuffer, "xx\n\n");
    EXPECT_EQ(RandomSeed, draws);
}

TEST_F(Compose, LongestTextFitsTheBuffer)
{
    std::string bytes = "T\n";
    for (int e = 0; e < 100; e++) bytes += "0,";
    bytes += "-1\n";
    for (int s = 0; s < 3; s++) bytes += std::string(254, 'a' + s) + "\x82\n";
    bytes += "/E\n";
    Load(bytes);
    ASSERT_EQ(ComposeNewsSeeded(12345), 1);
    EXPECT_EQ(strlen(NewsBuffer), 25502u);
    EXPECT_EQ(NewsBuffer[25501], '\n');
}

}  // namespace
