// helpfile_test.cpp - the help file generator's structures, read back the way Wine's help viewer reads them.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "help/compile.h"
#include "help/hlpfile.h"
#include "help/manual.h"
#include "help/topic.h"

namespace {

unsigned Word(const Bytes& b, size_t at)
{
    return b[at] | b[at + 1] << 8;
}
uint32_t Dword(const Bytes& b, size_t at)
{
    return Word(b, at) | static_cast<uint32_t>(Word(b, at + 2)) << 16;
}

// Finds a key in a B+ tree the way the viewer does: down the index pages, then along a leaf.
// keyLength gives the size of an index key at p; leafLength the size of a leaf entry.
using Measure = std::function<size_t(size_t)>;

long SearchBTree(const Bytes& tree, size_t start, const std::function<int(size_t)>& compare, const Measure& keyLength,
                 const Measure& leafLength)
{
    EXPECT_EQ(Word(tree, start), 0x293Bu);
    unsigned pageSize = Word(tree, start + 4), page = Word(tree, start + 26), levels = Word(tree, start + 32);
    size_t pages = start + 38;
    while (--levels > 0) {
        size_t p = pages + page * pageSize;
        int entries = static_cast<int16_t>(Word(tree, p + 2));
        size_t at = p + 6;
        for (int i = 0; i < entries && compare(at) <= 0; ++i) at += keyLength(at) + 2;
        page = Word(tree, at - 2);
    }
    size_t p = pages + page * pageSize;
    size_t at = p + 8;
    for (int i = 0; i < static_cast<int16_t>(Word(tree, p + 2)); ++i, at += leafLength(at))
        if (compare(at) == 0) return at;
    return -1;
}

// The content of an internal file, found through the directory.
Bytes InternalFile(const Bytes& file, const char* name)
{
    size_t directory = Dword(file, 4) + 9;
    auto length = [&](size_t at) { return strlen(reinterpret_cast<const char*>(&file[at])) + 1; };
    auto leafLength = [&](size_t at) { return length(at) + 4; };
    long entry = SearchBTree(
        file, directory, [&](size_t at) { return strcmp(reinterpret_cast<const char*>(&file[at]), name); }, length,
        leafLength);
    if (entry < 0) return Bytes();
    size_t header = Dword(file, entry + strlen(name) + 1);
    EXPECT_GE(Dword(file, header), Dword(file, header + 4) + 9) << name;
    return Bytes(file.begin() + header + 9, file.begin() + header + 9 + Dword(file, header + 4));
}

TEST(HelpNumbers, CompressedFormsMatchTheirDocumentedBytes)
{
    struct Case {
        void (*put)(Bytes*, int64_t);
        int64_t value;
        Bytes expected;
    } cases[] = {
        {[](Bytes* b, int64_t v) { PutCompressedUnsigned16(b, v); }, 5, {10}},
        {[](Bytes* b, int64_t v) { PutCompressedUnsigned16(b, v); }, 300, {(300 % 128) * 2 + 1, 2}},
        {[](Bytes* b, int64_t v) { PutCompressedSigned16(b, v); }, -16, {(64 - 16) * 2}},
        {[](Bytes* b, int64_t v) { PutCompressedSigned16(b, v); },
         100,
         {((100 + 16384) % 128) * 2 + 1, (100 + 16384) / 128}},
        {[](Bytes* b, int64_t v) { PutCompressedUnsigned32(b, v); }, 1000, {0xD0, 0x07}},
        {[](Bytes* b, int64_t v) { PutCompressedSigned32(b, v); }, 12, {0x18, 0x80}},
    };
    for (const Case& c : cases) {
        Bytes out;
        c.put(&out, c.value);
        EXPECT_EQ(out, c.expected) << c.value;
    }
}

TEST(HelpNumbers, ContextHashFollowsTheViewersTable)
{
    struct Case {
        const char* name;
        uint32_t hash;
    } cases[] = {
        {"", 1}, {"A", 17}, {"a", 17}, {"AB", 17 * 43 + 18}, {"x1", 40 * 43 + 1}, {"_0.", (13 * 43 + 10) * 43 + 12}};
    for (const Case& c : cases) EXPECT_EQ(ContextHash(c.name), c.hash) << c.name;
}

TEST(HelpBTree, EveryKeyIsFoundThroughIndexPages)
{
    std::vector<BTreeEntry> entries;
    for (int i = 0; i < 600; ++i) {
        BTreeEntry entry;
        PutDword(&entry.key, i * 7);
        entry.leaf = entry.key;
        PutDword(&entry.leaf, i);
        entries.push_back(entry);
    }
    BTree tree = BuildBTree(entries, 0x0002, 0x0400, "L4");
    EXPECT_GE(Word(tree.bytes, 32), 2u) << "600 entries need an index level";
    EXPECT_EQ(Dword(tree.bytes, 34), 600u);
    EXPECT_EQ(tree.bytes.size(), 38 + Word(tree.bytes, 30) * 0x400u);
    auto four = [](size_t) { return size_t(4); };
    auto eight = [](size_t) { return size_t(8); };
    for (int i = 0; i < 600; i += 37) {
        auto compare = [&](size_t at) { return static_cast<int>(Dword(tree.bytes, at)) - i * 7; };
        long at = SearchBTree(tree.bytes, 0, compare, four, eight);
        ASSERT_GE(at, 0) << i;
        EXPECT_EQ(Dword(tree.bytes, at + 4), static_cast<uint32_t>(i));
    }
    auto missing = [&](size_t at) { return static_cast<int>(Dword(tree.bytes, at)) - 8; };
    EXPECT_LT(SearchBTree(tree.bytes, 0, missing, four, eight), 0);
}

TEST(HelpFileLayout, DirectoryFindsEveryInternalFile)
{
    std::map<std::string, Bytes> files = {{"|SYSTEM", {1, 2, 3}}, {"|TOPIC", Bytes(4096, 7)}, {"|FONT", {9}}};
    Bytes file = PackHelpFile(files);
    EXPECT_EQ(Dword(file, 0), 0x00035F3Fu);
    EXPECT_EQ(Dword(file, 12), file.size());
    for (const auto& entry : files) EXPECT_EQ(InternalFile(file, entry.first.c_str()), entry.second) << entry.first;
    EXPECT_TRUE(InternalFile(file, "|CONTEXT").empty());
}

// A paragraph of the given size: text of n bytes.
ParagraphRecord ParagraphOf(size_t n)
{
    ParagraphBuilder builder;
    BeginParagraph(&builder, {0, 0, 0, 0});
    AddText(&builder, std::string(n, 'x'));
    return EndParagraph(&builder);
}

TEST(HelpTopicFile, RecordsChainThroughBlocksWithConsistentOffsets)
{
    std::vector<TopicRecords> topics = {{"One", {ParagraphOf(3000), ParagraphOf(5000)}}, {"Two", {ParagraphOf(10)}}};
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
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(std::string(&stream[texts[1]], &stream[texts[1]] + 5000), std::string(5000, 'x'))
        << "the long paragraph runs on through the next block";
    EXPECT_EQ(file.bytes.size(), 3u * TOPIC_BLOCK_SIZE);
    EXPECT_EQ(Dword(stream, headers[1] + 21 + 4), file.topicOffsets[0]) << "browse back";
    EXPECT_EQ(Dword(stream, headers[1] + 21 + 8), 0xFFFFFFFFu) << "browse forward from the last topic";
    EXPECT_EQ(std::string(&stream[headers[1] + 49], &stream[headers[1] + 52]), "Two");

    topics[0].paragraphs.push_back(ParagraphOf(MAX_PARAGRAPH_TEXT));
    EXPECT_FALSE(BuildTopicFile(topics, &file, &error));
}

}  // namespace
