// template_test.cpp - the template loader: format, limits, faults and the store it leaves.
#include <gtest/gtest.h>
#include <string.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <string>
#include <vector>

#include "template/template.h"
#include "test_host.h"

namespace {

class TemplateLoad : public ::testing::Test {
protected:
    void SetUp() override { ResetCoreForTest(); }
    void TearDown() override { ResetCoreForTest(); }
};

int LoadBytes(const std::string& bytes)
{
    return LoadTemplate(WriteScratchFile("template", bytes).c_str());
}

std::vector<int> FlowLine(int line)
{
    std::vector<int> entries;
    for (int e = 0; e < FlowLineLength(line); e++) entries.push_back(LoadedTemplate.FlowTable[line][e]);
    return entries;
}

std::vector<std::string> Block(int block)
{
    std::vector<std::string> sentences;
    for (int s = 0; s < BlockSentenceCount(block); s++) sentences.push_back(LoadedTemplate.SentenceTable[block][s]);
    return sentences;
}

std::string Repeat(const std::string& part, int count)
{
    std::string text;
    for (int i = 0; i < count; i++) text += part;
    return text;
}

const char kWorkedExample[] =
    ";weather template\n"
    "Today's weather\n"
    "\n"
    "0,1,2,-2\n"
    ";second flow line\n"
    "0,,2,-1\n"
    "Good morning.\n"
    "Good evening.\n"
    "/E\n"
    "It is sunny.\n"
    "/e\n"
    "Rain later./@Take an umbrella.\n"
    "/E\n";

void ExpectWorkedExampleLoaded()
{
    EXPECT_TRUE(TemplateIsLoaded());
    EXPECT_STREQ(LoadedTemplate.TitleBuffer, "Today's weather");
    EXPECT_EQ(LoadedTemplate.LastFlowLine, 1);
    EXPECT_EQ(FlowLine(0), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(FlowLine(1), (std::vector<int>{0, 2}));
    EXPECT_EQ(LoadedTemplate.LastBlock, 2);
    EXPECT_EQ(Block(0), (std::vector<std::string>{"Good morning.", "Good evening."}));
    EXPECT_EQ(Block(1), (std::vector<std::string>{"It is sunny."}));
    EXPECT_EQ(Block(2), (std::vector<std::string>{"Rain later.\nTake an umbrella."}));
}

TEST_F(TemplateLoad, WorkedExampleWithEitherLineEnd)
{
    EXPECT_EQ(LoadBytes("T\n"), 0);
    EXPECT_FALSE(TemplateIsLoaded());
    Warnings.clear();
    ASSERT_EQ(LoadBytes(kWorkedExample), 1);
    ExpectWorkedExampleLoaded();
    EXPECT_TRUE(Warnings.empty());

    ResetCoreForTest();
    ASSERT_EQ(LoadBytes(WithCrLf(kWorkedExample)), 1);
    ExpectWorkedExampleLoaded();
    EXPECT_EQ(LoadedSourceLines.FlowLine[1], 6u);
    EXPECT_EQ(LoadedSourceLines.Block[2], 12u);
}

#ifndef _WIN32
TEST_F(TemplateLoad, LeavesNoFileOpen)
{
    const size_t openFiles = OpenFileCount();
    ASSERT_EQ(LoadBytes(kWorkedExample), 1);
    ASSERT_EQ(LoadBytes("T\n0,x,-1\n"), 0);
    EXPECT_EQ(OpenFileCount(), openFiles);
}
#endif

struct FaultCase {
    const char* what;
    std::string bytes;
    const char* message;
    unsigned long line;  // where the fault was found
};

TEST_F(TemplateLoad, EachFaultGivesOneWarningAtItsLine)
{
    const std::string flow100 = Repeat("1,", 100);
    const FaultCase cases[] = {
        {"comments and empty lines only", ";a\n\n;b\n", MSG_TITLE_READ_ERROR, 3},
        {"empty file", "", MSG_TITLE_READ_ERROR, 1},
        {"title, no flow data", "T\n;c\n", MSG_FLOW_READ_ERROR, 2},
        {"end of file after -2", "T\n1,-2\n", MSG_FLOW_READ_ERROR, 2},
        {"spaces after commas", "T\n1, 2, -1\nx\n/E\n", MSG_FLOW_BAD_CHARACTER, 2},
        {"byte after the end mark", "T\n1,-1x\nx\n/E\n", MSG_FLOW_BAD_CHARACTER, 2},
        {"lone CR in a flow line", "T\n1,\r-1\nx\n/E\n", MSG_FLOW_BAD_CHARACTER, 2},
        {"double-byte digit", "T\n\x82\x50,-1\nx\n/E\n", MSG_FLOW_BAD_CHARACTER, 2},
        {"101 numbers on a line", "T\n" + flow100 + "1,-1\nx\n/E\n", MSG_FLOW_TOO_MANY_ELEMENTS, 2},
        {"-2 on the 100th flow line", "T\n" + Repeat("0,-2\n", 99) + "0,-2\n0,-1\nx\n/E\n", MSG_FLOW_TOO_MANY_LINES,
         101},
        {"no sentence data", "T\n0,-1\n", MSG_SENTENCE_READ_ERROR, 2},
        {"last end of block without line feed", "T\n0,-1\nx\n/E", MSG_SENTENCE_READ_ERROR, 4},
        {"Ctrl-Z right after the last end of block", "T\n0,-1\nx\n/E\x1a\n", MSG_SENTENCE_READ_ERROR, 4},
        {"sentence after the last end of block", "T\n0,-1\nx\n/E\ny\n", MSG_SENTENCE_READ_ERROR, 5},
        {"101st block", "T\n0,-1\n" + Repeat("x\n/E\n", 100) + "x\n", MSG_TOO_MANY_BLOCKS, 203},
        {"101st sentence in a block", "T\n0,-1\n" + Repeat("x\n", 101) + "/E\n", MSG_TOO_MANY_SENTENCES, 103},
        // Flow lines whose numbers run out before an end mark, reading nothing beyond.
        {"no end mark", "T\n1,2,\nx\n/E\n", MSG_FLOW_READ_ERROR, 2},
        {"only commas", "T\n,,,\nx\n/E\n", MSG_FLOW_READ_ERROR, 2},
        {"unknown end mark", "T\n1,2,-5\nx\n/E\n", MSG_FLOW_READ_ERROR, 2},
        {"zero byte", std::string("T\n1,2") + '\0' + ",-1\nx\n/E\n", MSG_FLOW_READ_ERROR, 2},
        {"-1 beyond 304 bytes", "T\n" + std::string(302, '0') + ",-1\nx\n/E\n", MSG_FLOW_READ_ERROR, 2},
    };
    for (const FaultCase& c : cases) {
        ResetCoreForTest();
        EXPECT_EQ(LoadBytes(c.bytes), 0) << c.what;
        EXPECT_EQ(Warnings, std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(LastLoadFaultLine, c.line) << c.what;
    }
}

TEST_F(TemplateLoad, FlowNumbers)
{
    const struct {
        const char* line;
        std::vector<int> blocks;
    } cases[] = {
        {"7,-1", {7}},      {"007,-1", {7}},     {"-5,3,-1", {3}},        {"-,-1", {0}},
        {"1-2,-1", {1}},    {"--1,-1", {0}},     {"300,256,-1", {44, 0}}, {"65536,-1", {0}},
        {"65535", {}},      {"1,,2,-2", {1, 2}}, {",1,2,-1", {1, 2}},     {"1,2,-1,7", {1, 2}},
        {"-65535,-1", {1}}, {"-1", {}},          {"5,-1,,,", {5}},        {"-65536,-1", {0}},
    };
    for (const auto& c : cases) {
        ResetCoreForTest();
        std::string flow = c.line;
        if (flow.find("-2") != std::string::npos) flow += "\n9,-1";
        ASSERT_EQ(LoadBytes(std::string("T\n") + flow + "\nx\n/E\n"), 1) << c.line;
        EXPECT_EQ(FlowLine(0), c.blocks) << c.line;
    }
}

TEST_F(TemplateLoad, Sentences)
{
    ASSERT_EQ(LoadBytes("T\n0,-1\nGood morning.\nA/@B\n/@\nA/@\n//@\n/@/@\n/E \n/E\n/E\n/e\n"), 1);
    EXPECT_EQ(Block(0), (std::vector<std::string>{"Good morning.", "A\nB", "\n", "A\n", "/\n", "\n\n", "/E "}));
    // Right after an end of block, "/E" is the next block's first sentence.
    EXPECT_EQ(Block(1), (std::vector<std::string>{"/E"}));
    EXPECT_EQ(LoadedTemplate.LastBlock, 1);

    // An end of block first leaves block 0 empty; a zero byte ends a title or a sentence.
    ASSERT_EQ(LoadBytes(std::string("Ti\0tle\n1,-1\n/E\nse\0nt\n/E\n", 24)), 1);
    EXPECT_STREQ(LoadedTemplate.TitleBuffer, "Ti");
    EXPECT_EQ(Block(0), std::vector<std::string>{});
    EXPECT_EQ(Block(1), std::vector<std::string>{"se"});
}

TEST_F(TemplateLoad, LongLinesAreReadInPieces)
{
    // A 255-byte title loads whole; a 300-byte one leaves 45 bytes that are read as flow data.
    ASSERT_EQ(LoadBytes(std::string(255, 'T') + "\n0,-1\nx\n/E\n"), 1);
    EXPECT_EQ(strlen(LoadedTemplate.TitleBuffer), 255u);
    EXPECT_EQ(LoadBytes(std::string(300, 'T') + "\n0,-1\nx\n/E\n"), 0);
    EXPECT_EQ(Warnings, std::vector<std::string>{MSG_FLOW_BAD_CHARACTER});

    // A 256-byte sentence line is two sentences.
    ResetCoreForTest();
    ASSERT_EQ(LoadBytes("T\n0,-1\n" + std::string(255, 's') + "t\n/E\n"), 1);
    EXPECT_EQ(Block(0), (std::vector<std::string>{std::string(255, 's'), "t"}));

    // The rest of a long comment is data unless it starts like a skipped line.
    ResetCoreForTest();
    ASSERT_EQ(LoadBytes(";" + std::string(254, 'c') + ";rest\nT\n0,-1\nx\n/E\n"), 1);
    EXPECT_STREQ(LoadedTemplate.TitleBuffer, "T");
    ASSERT_EQ(LoadBytes(";" + std::string(254, 'c') + "rest\nT\n0,-1\nx\n/E\n"), 0);
    EXPECT_STREQ(LoadedTemplate.TitleBuffer, "T");  // the failed load changed nothing
}

TEST_F(TemplateLoad, LargestTemplateFillsEveryIndex)
{
    std::string bytes = "T\n";
    for (int line = 0; line < 100; line++) bytes += Repeat("99,", 100) + (line == 99 ? "-1\n" : "-2\n");
    for (int block = 0; block < 100; block++) bytes += Repeat(std::string(255, 'a' + block % 26) + "\n", 100) + "/E\n";
    ASSERT_EQ(LoadBytes(bytes), 1);
    EXPECT_EQ(LoadedTemplate.LastFlowLine, 99);
    EXPECT_EQ(LoadedTemplate.LastBlock, 99);
    for (int i = 0; i < 100; i++) {
        EXPECT_EQ(FlowLineLength(i), 100);
        EXPECT_EQ(BlockSentenceCount(i), 100);
    }
    EXPECT_EQ(strlen(LoadedTemplate.SentenceTable[99][99]), 255u);
}

TEST_F(TemplateLoad, SmallerTemplateReplacesLargerOne)
{
    ASSERT_EQ(LoadBytes("Big\n" + Repeat("0,1,-2\n", 9) + "7,-1\n" + Repeat("a\nb\n/E\n", 8)), 1);
    ASSERT_EQ(LoadBytes("Small\n0,-2\n1,-2\n0,1,-1\nx\n/E\ny\n/E\n"), 1);
    EXPECT_STREQ(LoadedTemplate.TitleBuffer, "Small");
    EXPECT_EQ(LoadedTemplate.LastFlowLine, 2);
    EXPECT_EQ(LoadedTemplate.LastBlock, 1);
    EXPECT_EQ(FlowLine(2), (std::vector<int>{0, 1}));
}

#ifdef __GLIBC__
// A good load frees the sentences of the template it replaces, a failed one those it took: the
// bytes in use stay the same however often a template is loaded.
TEST_F(TemplateLoad, LoadsFreeTheSentencesTheyNoLongerNeed)
{
    const std::string bytes = "T\n0,1,-1\n" + Repeat("a sentence\n", 50) + "/E\nb\n/E\n";
    const auto loadTwice = [&] {
        ASSERT_EQ(LoadBytes(bytes), 1);
        ASSERT_EQ(LoadBytes(bytes + "after the end\n"), 0);
        Warnings.clear();
    };
    loadTwice();
    loadTwice();  // the first rounds make allocations that live for the whole run
    const size_t inUse = mallinfo2().uordblks;
    for (int i = 0; i < 3; i++) loadTwice();
    EXPECT_EQ(mallinfo2().uordblks, inUse);
}
#endif

}  // namespace
