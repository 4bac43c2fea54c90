// helpfile_test.cpp - the help file generator's structures that the manual alone does not reach,
// read back the way Wine's help viewer reads them.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "help/hlpfile.h"
#include "help/topicfile.h"

namespace {

unsigned Word(const Bytes& b, size_t at)
{
    return b[at] | b[at + 1] << 8;
}
uint32_t Dword(const Bytes& b, size_t at)
{
    return Word(b, at) | static_cast<uint32_t>(Word(b, at + 2)) << 16;
}

TEST(HelpNumbers, ContextHashFollowsTheViewersTable)
{
    // Letters count from 17 whatever their case, '1' as 1, '0' as 10, '.' as 12, '_' as 13.
    EXPECT_EQ(ContextHash(""), 1u);
    EXPECT_EQ(ContextHash("aB"), 17u * 43 + 18);
    EXPECT_EQ(ContextHash("x1"), 40u * 43 + 1);
    EXPECT_EQ(ContextHash("_0."), (13u * 43 + 10) * 43 + 12);
}

// The manual's trees all fit one page: only this many keys reach the index pages.
TEST(HelpBTree, EveryKeyIsFoundThroughIndexPages)
{
    std::vector<BTreeEntry> entries(600);
    for (uint32_t i = 0; i < entries.size(); ++i) {
        PutDword(&entries[i].key, i * 7);
        entries[i].leaf = entries[i].key;
        PutDword(&entries[i].leaf, i);
    }
    const Bytes tree = BuildBTree(entries, 0x0002, 0x0400, "L4").bytes;
    const unsigned pageSize = Word(tree, 4), levels = Word(tree, 32);
    ASSERT_GE(levels, 2u) << "600 entries need an index level";
    // Down the index pages (4-byte keys, each after a page number), then along a leaf.
    auto find = [&](uint32_t key) -> long {
        unsigned page = Word(tree, 26);
        for (unsigned level = 1; level < levels; ++level) {
            size_t p = 38 + page * pageSize, at = p + 6;
            for (int i = 0; i < static_cast<int16_t>(Word(tree, p + 2)) && Dword(tree, at) <= key; ++i) at += 6;
            page = Word(tree, at - 2);
        }
        size_t p = 38 + page * pageSize;
        for (int i = 0; i < static_cast<int16_t>(Word(tree, p + 2)); ++i)
            if (Dword(tree, p + 8 + i * 8) == key) return Dword(tree, p + 12 + i * 8);
        return -1;
    };
    for (uint32_t i = 0; i < entries.size(); ++i) ASSERT_EQ(find(i * 7), static_cast<long>(i)) << i;
    EXPECT_EQ(find(8), -1);
}

// The viewer searches the index comparing ASCII letters without regard to case, but leaves the
// second byte of a double-byte character as it is: "チ" (83 61) and "ア" (83 41) stay apart.
TEST(HelpKeywords, TheIndexIsInTheOrderTheViewerComparesIn)
{
    std::map<std::string, Bytes> files;
    AddKeywordFiles({{"quorvel", 1}, {"\x83\x61", 2}, {"Zentavo", 3}, {"_x", 4}, {"\x83\x41", 5}, {"Q", 6}}, &files);
    const Bytes& tree = files["|KWBTREE"];
    std::vector<std::string> order;  // each keyword of the one leaf page, with its topic from |KWDATA
    for (size_t i = 0, at = 38 + 8; i < Word(tree, 38 + 2); ++i) {
        std::string keyword(reinterpret_cast<const char*>(&tree[at]));
        order.push_back(keyword + "=" + std::to_string(Dword(files["|KWDATA"], Dword(tree, at + keyword.size() + 3))));
        at += keyword.size() + 7;
    }
    EXPECT_EQ(order, std::vector<std::string>({"Q=6", "quorvel=1", "Zentavo=3", "_x=4", "\x83\x41=5", "\x83\x61=2"}));
}

ParagraphRecord ParagraphOf(size_t textBytes)
{
    ParagraphBuilder builder;
    BeginParagraph(&builder, {0, 0, 0, 0});
    AddText(&builder, std::string(textBytes, 'x'));
    return EndParagraph(&builder);
}

// A paragraph of n bytes of text is a record of n + 35 bytes, a topic header one of 52 here: the
// header of "Two" ends exactly at the end of block 1, and the closing header would start 18 bytes
// before the end of block 2.
TEST(HelpTopicFile, RecordsChainThroughBlocksWithConsistentOffsets)
{
    std::vector<TopicRecords> topics = {{"One", {ParagraphOf(3000), ParagraphOf(5025)}}, {"Two", {ParagraphOf(4000)}}};
    TopicFile file;
    std::string error;
    ASSERT_TRUE(BuildTopicFile(topics, &file, &error)) << error;
    ASSERT_EQ(file.bytes.size() % TOPIC_BLOCK_SIZE, 0u);
    ASSERT_EQ(file.topicOffsets.size(), 2u);
    // The blocks' data as one stream, as the viewer reads it.
    const size_t capacity = TOPIC_BLOCK_SIZE - 12;
    Bytes stream;
    for (size_t block = 0; block < file.bytes.size(); block += TOPIC_BLOCK_SIZE)
        stream.insert(stream.end(), file.bytes.begin() + block + 12, file.bytes.begin() + block + TOPIC_BLOCK_SIZE);
    // Walk the chain as the viewer does, computing TOPICOFFSETs as it does.
    std::vector<uint32_t> headerOffsets;
    std::vector<size_t> headers, texts;
    unsigned lastBlock = ~0u, characters = 0;
    for (uint32_t pos = 12; pos != 0xFFFFFFFF;) {
        unsigned block = (pos - 12) >> 14;
        size_t at = block * capacity + ((pos - 12) & 0x3FFF);
        if (block != lastBlock) {
            characters = 0, lastBlock = block;
            EXPECT_EQ(Dword(file.bytes, block * TOPIC_BLOCK_SIZE + 4), pos) << "first record of block " << block;
        }
        if (stream[at + 20] == 2) {
            headerOffsets.push_back(block * 0x8000 + characters);
            headers.push_back(at);
        } else {
            characters += Dword(stream, at + 4);
            texts.push_back(at + Dword(stream, at + 16));
        }
        pos = Dword(stream, at + 12);
    }
    ASSERT_EQ(headerOffsets.size(), 3u) << "two topics and the closing header";
    EXPECT_EQ(headerOffsets[0], file.topicOffsets[0]);
    EXPECT_EQ(headerOffsets[1], file.topicOffsets[1]);
    EXPECT_EQ(headerOffsets[1], 0x8000u) << "a record header fits the last 21 bytes of a block";
    EXPECT_EQ(headerOffsets[2], 3 * 0x8000u) << "a record header never runs on into the next block";
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(std::string(&stream[texts[1]], &stream[texts[1]] + 5025), std::string(5025, 'x'))
        << "the long paragraph runs on through the next block";
    EXPECT_EQ(Dword(stream, headers[1] + 21 + 4), file.topicOffsets[0]) << "browse back";
    EXPECT_EQ(Dword(stream, headers[1] + 21 + 8), 0xFFFFFFFFu) << "browse forward from the last topic";
    EXPECT_EQ(Dword(stream, headers[2] + 21 + 4), 0xFFFFFFFFu) << "the closing header browses nowhere";

    topics[0].paragraphs.push_back(ParagraphOf(MAX_PARAGRAPH_TEXT));
    EXPECT_FALSE(BuildTopicFile(topics, &file, &error));
}

}  // namespace
