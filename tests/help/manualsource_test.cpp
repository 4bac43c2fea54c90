// manualsource_test.cpp - the manual's markup, its checks, where its links' hot spots lie, and the manual itself.
#include <gtest/gtest.h>

#include <string.h>

#include "compose/compose.h"
#include "help/compile.h"
#include "help/manualsource.h"
#include "template/template.h"
#include "tests/core/test_host.h"
#include "transcript/transcript.h"

namespace {

// Sources are UTF-8 whatever the build does with other literals.
ManualTopic Parse(const char* text)
{
    ManualTopic topic;
    std::string error;
    EXPECT_TRUE(ParseTopicSource(text, "t.txt", &topic, &error)) << error;
    return topic;
}

TEST(ManualMarkup, BlocksAndRuns)
{
    ManualTopic topic = Parse(
        u8"; note\n@topic T_1 7\n@title 題\n@keywords a; b\n\n== 見出し\nline one\nline two\n"
        u8"日本\n語\n\n- item **bold**\n continued\n| code  \n|\n> [[X]]\n> [[Y|text]]\n");
    EXPECT_EQ(topic.id, "T_1");
    EXPECT_EQ(topic.mapNumber, 7u);
    EXPECT_EQ(topic.keywords, std::vector<std::string>({"a", "b"}));
    ASSERT_EQ(topic.blocks.size(), 5u);
    EXPECT_EQ(topic.blocks[0].kind, BLOCK_HEADING);
    EXPECT_EQ(topic.blocks[1].runs[0].text, u8"line one line two日本語") << "a space only between ASCII";
    EXPECT_EQ(topic.blocks[2].kind, BLOCK_ITEM);
    EXPECT_EQ(topic.blocks[2].runs[1].kind, RUN_BOLD);
    EXPECT_EQ(topic.blocks[2].runs[2].text, " continued");
    EXPECT_EQ(topic.blocks[3].lines, std::vector<std::string>({"code  ", ""}));
    ASSERT_EQ(topic.blocks[4].runs.size(), 2u);
    EXPECT_EQ(topic.blocks[4].runs[1].target, "Y");
    EXPECT_EQ(topic.blocks[4].runs[1].text, "text");
}

TEST(ManualMarkup, MistakesNameTheLine)
{
    struct Case {
        const char* text;
        const char* where;
    } cases[] = {
        {"@topic X\n@title t\n", "t.txt:1:"},
        {"@topic X 1\n@title t\n@colour red\n", "t.txt:3:"},
        {"@topic X 1\n@title t\n\nsee [[Y]] here\n", "t.txt:4:"},
        {"@topic X 1\n@title t\n\n> [[Y] \n", "t.txt:4:"},
        {"@topic X 1\n@title t\n\n**open\n", "t.txt:4:"},
        {"@title t\n", "t.txt:1:"},
    };
    for (const Case& c : cases) {
        ManualTopic topic;
        std::string error;
        EXPECT_FALSE(ParseTopicSource(c.text, "t.txt", &topic, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.where, 0), 0u) << error;
    }
}

TEST(ManualChecks, ContentsMustReachEveryTopicAndNamesMustBeUnique)
{
    const char* contents = "@topic C 1\n@title c\n@keywords k\n\n> [[A]]\n";
    struct Case {
        const char* second;
        bool ok;
    } cases[] = {
        {"@topic A 2\n@title a\n", true},
        {"@topic B 2\n@title b\n", false},               // unknown link, and B unreached
        {"@topic A 1\n@title a\n", false},               // number used twice
        {"@topic A 2\n@title a\n@keywords k\n", false},  // keyword used twice
        {"@topic A 2\n@title a\n\n> [[Q]]\n", false},    // link to no topic
    };
    for (const Case& c : cases) {
        std::vector<ManualTopic> topics = {Parse(contents), Parse(c.second)};
        std::string error;
        EXPECT_EQ(ResolveManual(&topics, &error), c.ok) << c.second << error;
    }
}

// A hot spot as the format places it: from its jump command to the end-of-link command,
// in bytes of the paragraph's text.
struct HotSpot {
    size_t start, end;
    uint32_t target;
};

size_t CompressedSize(unsigned char first, size_t small)
{
    return first & 1 ? small * 2 : small;
}

// Reads a paragraph record: its text, and its hot spots.
std::string WalkParagraph(const ParagraphRecord& record, std::vector<HotSpot>* spots)
{
    const Bytes& f = record.formatting;
    size_t at = CompressedSize(f[0], 2);
    at += CompressedSize(f[at], 1) + 4;
    unsigned settings = f[at] | f[at + 1] << 8;
    at += 2;
    for (unsigned bit = 0x0002; bit <= 0x0040; bit <<= 1)
        if (settings & bit) at += CompressedSize(f[at], 1);
    const char* text = reinterpret_cast<const char*>(record.text.data());
    std::string shown;
    for (;;) {
        shown += text;
        text += strlen(text) + 1;
        unsigned char command = f[at];
        if (command == 0xFF) return shown;
        if (command == 0x81) shown += '\n';
        if (command == 0xE7)
            spots->push_back({shown.size(), 0,
                              static_cast<uint32_t>(f[at + 1] | f[at + 2] << 8 | f[at + 3] << 16 | f[at + 4] << 24)});
        if (command == 0x89) spots->back().end = shown.size();
        at += command == 0x80 ? 3 : command == 0xE7 ? 5 : 1;
    }
}

TEST(ManualLinks, EachHotSpotCoversExactlyItsTextAloneInItsParagraph)
{
    std::vector<ManualTopic> topics = {
        Parse(u8"@topic C 1\n@title 長い目次のタイトル\n\n日本語の説明がここに長く続きます。\n\n> [[A]]\n> "
              u8"[[B|もうひとつ]]\n"),
        Parse(u8"@topic A 2\n@title 最初のトピック\n"), Parse(u8"@topic B 3\n@title b\n")};
    std::string error, listing;
    ASSERT_TRUE(ResolveManual(&topics, &error)) << error;
    std::vector<TopicRecords> records;
    ASSERT_TRUE(CompileTopics(topics, &records, &listing, &error)) << error;
    std::string first, second;
    ASSERT_TRUE(Utf8ToCp932(u8"最初のトピック", &first) && Utf8ToCp932(u8"もうひとつ", &second));
    std::vector<std::string> linked;
    for (const ParagraphRecord& paragraph : records[0].paragraphs) {
        std::vector<HotSpot> spots;
        std::string shown = WalkParagraph(paragraph, &spots);
        if (spots.empty()) continue;
        ASSERT_EQ(spots.size(), 1u) << shown;
        EXPECT_EQ(spots[0].start, 0u) << "the link starts its paragraph";
        EXPECT_EQ(spots[0].end, shown.size()) << "nothing follows the link";
        linked.push_back(shown);
        EXPECT_EQ(spots[0].target, ContextHash(linked.size() == 1 ? "A" : "B"));
    }
    EXPECT_EQ(linked, std::vector<std::string>({first, second})) << "a bare link shows its target's title";
}

ManualTopic RealManual(const char* name)
{
    ManualTopic topic;
    std::string error;
    EXPECT_TRUE(ParseTopicSource(ReadWholeFile(std::string(ZENTAVO_HELP_SOURCES) + "/" + name), name, &topic, &error))
        << error;
    return topic;
}

// Each warning the program shows stands in bold, exactly as shown, in the messages topic.
TEST(RealManual, MessagesTopicQuotesEveryWarningExactly)
{
    char undefinedBlock[128];
    FormatUndefinedBlockMessage(undefinedBlock, 7, 1, 2);
    const char* warnings[] = {
        MSG_FILE_NOT_FOUND,         MSG_TITLE_READ_ERROR,    MSG_FLOW_BAD_CHARACTER,  MSG_FLOW_READ_ERROR,
        MSG_FLOW_TOO_MANY_ELEMENTS, MSG_FLOW_TOO_MANY_LINES, MSG_SENTENCE_READ_ERROR, MSG_TOO_MANY_BLOCKS,
        MSG_TOO_MANY_SENTENCES,     MSG_OUT_OF_MEMORY,       undefinedBlock,          MSG_TRANSCRIPT_OPEN_FAILED,
        MSG_TRANSCRIPT_WRITE_FAILED};
    const ManualTopic messages = RealManual("07-messages.txt");
    std::string text;
    for (const Block& block : messages.blocks)
        for (const ::Run& run : block.runs)
            if (run.kind == RUN_BOLD) text += run.text + "\n";
    std::string shown;
    ASSERT_TRUE(Utf8ToCp932(text, &shown));
    for (const char* warning : warnings)
        EXPECT_NE(shown.find(std::string(warning) + "\n"), std::string::npos) << warning;
}

TEST(RealManual, TheExampleTemplateLoads)
{
    const ManualTopic topic = RealManual("06-example.txt");
    const Block& example = topic.blocks.at(1);
    ASSERT_EQ(example.kind, BLOCK_VERBATIM);
    std::string utf8, bytes;
    for (const std::string& line : example.lines) utf8 += line + "\n";
    ASSERT_TRUE(Utf8ToCp932(utf8, &bytes));
    ResetCoreForTest();
    EXPECT_EQ(LoadTemplate(WriteScratchFile("example.new", bytes).c_str()), 1) << (Warnings.empty() ? "" : Warnings[0]);
    EXPECT_STREQ(LoadedTemplate.TitleBuffer, "今日の天気");
}

}  // namespace
