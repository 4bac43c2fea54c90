// topicfile.cpp - paragraph records and the layout of the |TOPIC file.
#include "help/topicfile.h"

#include <algorithm>

namespace {

enum {
    RECORD_TOPIC_HEADER = 0x02,
    RECORD_TEXT = 0x20,
};

enum {
    COMMAND_FONT = 0x80,
    COMMAND_LINE_BREAK = 0x81,
    COMMAND_END_PARAGRAPH = 0x82,
    COMMAND_END_LINK = 0x89,
    COMMAND_JUMP = 0xE3,
    COMMAND_PLAIN_JUMP = 0xE7,
    COMMAND_END = 0xFF,
};

enum {
    SETTING_SPACE_ABOVE = 0x0002,
    SETTING_SPACE_BELOW = 0x0004,
    SETTING_LEFT_INDENT = 0x0010,
    SETTING_FIRST_LINE_INDENT = 0x0040,
};

const uint32_t NONE = 0xFFFFFFFF;

// Every command closes the piece of text before it with a zero byte.
void AddCommand(ParagraphBuilder* paragraph, unsigned command)
{
    paragraph->text.push_back(0);
    PutByte(&paragraph->commands, command);
}

}  // namespace

void BeginParagraph(ParagraphBuilder* paragraph, const ParagraphStyle& style)
{
    *paragraph = ParagraphBuilder();
    unsigned settings = 0;
    if (style.spaceAbove) settings |= SETTING_SPACE_ABOVE;
    if (style.spaceBelow) settings |= SETTING_SPACE_BELOW;
    if (style.leftIndent) settings |= SETTING_LEFT_INDENT;
    if (style.firstLineIndent) settings |= SETTING_FIRST_LINE_INDENT;
    Bytes& out = paragraph->settings;
    PutByte(&out, 0x00);  // two fixed bytes and a paragraph id of 0, as compilers write them
    PutByte(&out, 0x80);
    PutWord(&out, 0);
    PutWord(&out, settings);
    if (style.spaceAbove) PutCompressedSigned16(&out, style.spaceAbove);
    if (style.spaceBelow) PutCompressedSigned16(&out, style.spaceBelow);
    if (style.leftIndent) PutCompressedSigned16(&out, style.leftIndent);
    if (style.firstLineIndent) PutCompressedSigned16(&out, style.firstLineIndent);
}

void AddText(ParagraphBuilder* paragraph, const std::string& bytes)
{
    paragraph->text.insert(paragraph->text.end(), bytes.begin(), bytes.end());
}

void SetFont(ParagraphBuilder* paragraph, unsigned descriptor)
{
    AddCommand(paragraph, COMMAND_FONT);
    PutWord(&paragraph->commands, descriptor);
}

void AddLineBreak(ParagraphBuilder* paragraph)
{
    AddCommand(paragraph, COMMAND_LINE_BREAK);
}

void StartLink(ParagraphBuilder* paragraph, uint32_t targetHash)
{
    AddCommand(paragraph, COMMAND_JUMP);
    PutDword(&paragraph->commands, targetHash);
}

void StartPlainLink(ParagraphBuilder* paragraph, uint32_t targetHash)
{
    AddCommand(paragraph, COMMAND_PLAIN_JUMP);
    PutDword(&paragraph->commands, targetHash);
}

void EndLink(ParagraphBuilder* paragraph)
{
    AddCommand(paragraph, COMMAND_END_LINK);
}

ParagraphRecord EndParagraph(ParagraphBuilder* paragraph)
{
    AddCommand(paragraph, COMMAND_END_PARAGRAPH);
    AddCommand(paragraph, COMMAND_END);
    ParagraphRecord record;
    // The record opens with the size of the formatting that follows these two numbers and
    // the length of the text, which is also how far the paragraph moves a TOPICOFFSET.
    PutCompressedSigned32(&record.formatting, paragraph->settings.size() + paragraph->commands.size());
    PutCompressedUnsigned16(&record.formatting, paragraph->text.size());
    record.formatting.insert(record.formatting.end(), paragraph->settings.begin(), paragraph->settings.end());
    record.formatting.insert(record.formatting.end(), paragraph->commands.begin(), paragraph->commands.end());
    record.text = paragraph->text;
    return record;
}

namespace {

// One TOPICLINK with its place in the file.
struct Link {
    unsigned type;
    Bytes data1;
    Bytes data2;
    size_t topic;       // index of the topic it belongs to
    uint32_t position;  // TOPICPOS: block * 0x4000 + 12 + offset in the block's data
    uint32_t offset;    // TOPICOFFSET: block * 0x8000 + text bytes before it in the block
    unsigned block;
    size_t start;  // where it starts in the stream of all blocks' data
};

size_t LinkSize(const Link& link)
{
    return TOPIC_LINK_HEADER_SIZE + link.data1.size() + link.data2.size();
}

std::vector<Link> CollectLinks(const std::vector<TopicRecords>& topics)
{
    std::vector<Link> links;
    for (size_t t = 0; t <= topics.size(); ++t) {
        // A last, empty topic header ends the chain, as help compilers end it.
        Link header{RECORD_TOPIC_HEADER, Bytes(28, 0), Bytes(), t, 0, 0, 0, 0};
        if (t < topics.size()) header.data2.assign(topics[t].title.begin(), topics[t].title.end());
        links.push_back(header);
        if (t == topics.size()) break;
        for (const ParagraphRecord& paragraph : topics[t].paragraphs)
            links.push_back({RECORD_TEXT, paragraph.formatting, paragraph.text, t, 0, 0, 0, 0});
    }
    return links;
}

// The records form one stream of data through the blocks, each block's data following its
// 12-byte header; a record that does not fit the rest of a block continues in the next one,
// but its 21-byte record header never does: where less than that is left of a block, the record
// starts at the top of the next block and the rest stays zero. A record's TOPICOFFSET counts
// the text of the records before it that start in its block.
void PlaceLinks(std::vector<Link>* links)
{
    const size_t capacity = TOPIC_BLOCK_SIZE - TOPIC_BLOCK_HEADER_SIZE;
    size_t at = 0;  // in the stream of block data
    unsigned block = ~0u;
    uint32_t characters = 0;
    for (Link& link : *links) {
        if (capacity - at % capacity < TOPIC_LINK_HEADER_SIZE) at += capacity - at % capacity;
        if (at / capacity != block) block = at / capacity, characters = 0;
        link.start = at;
        link.block = block;
        link.position = block * 0x4000 + TOPIC_BLOCK_HEADER_SIZE + at % capacity;
        link.offset = block * 0x8000 + characters;
        at += LinkSize(link);
        if (link.type == RECORD_TEXT) characters += link.data2.size();
    }
}

// The header records' fields: size, browse sequence, number, regions and the next topic.
void FillTopicHeaders(std::vector<Link>* links, size_t topicCount, std::vector<uint32_t>* topicOffsets)
{
    std::vector<size_t> headers;
    for (size_t i = 0; i < links->size(); ++i)
        if ((*links)[i].type == RECORD_TOPIC_HEADER) headers.push_back(i);
    for (size_t t = 0; t < headers.size(); ++t) topicOffsets->push_back((*links)[headers[t]].offset);
    topicOffsets->pop_back();  // the closing header is no topic
    for (size_t t = 0; t + 1 < headers.size(); ++t) {
        Link& header = (*links)[headers[t]];
        size_t size = 0;
        for (size_t i = headers[t]; i < headers[t + 1]; ++i) size += LinkSize((*links)[i]);
        bool hasText = headers[t] + 1 < headers[t + 1];
        PutDwordAt(&header.data1, 0, size);
        PutDwordAt(&header.data1, 4, t > 0 ? (*topicOffsets)[t - 1] : NONE);
        PutDwordAt(&header.data1, 8, t + 1 < topicCount ? (*topicOffsets)[t + 1] : NONE);
        PutDwordAt(&header.data1, 12, t);
        PutDwordAt(&header.data1, 16, NONE);  // no non-scrolling region
        PutDwordAt(&header.data1, 20, hasText ? (*links)[headers[t] + 1].position : NONE);
        PutDwordAt(&header.data1, 24, (*links)[headers[t + 1]].position);
    }
    Link& last = (*links)[headers.back()];
    for (unsigned field = 4; field < 28; field += 4) PutDwordAt(&last.data1, field, NONE);
}

void WriteLink(const std::vector<Link>& links, size_t i, Bytes* out)
{
    const Link& link = links[i];
    PutDword(out, LinkSize(link));
    PutDword(out, link.data2.size());
    PutDword(out, i > 0 ? links[i - 1].position : NONE);
    PutDword(out, i + 1 < links.size() ? links[i + 1].position : NONE);
    PutDword(out, TOPIC_LINK_HEADER_SIZE + link.data1.size());
    PutByte(out, link.type);
    out->insert(out->end(), link.data1.begin(), link.data1.end());
    out->insert(out->end(), link.data2.begin(), link.data2.end());
}

// The block header before each block's data: the last record that starts before the block,
// the first that starts in it, and the last topic header before that one.
void PutBlockHeader(const std::vector<Link>& links, unsigned block, Bytes* out)
{
    size_t first = 0;
    while (first < links.size() && links[first].block < block) ++first;
    uint32_t lastHeader = NONE;
    for (size_t i = 0; i < first; ++i)
        if (links[i].type == RECORD_TOPIC_HEADER) lastHeader = links[i].position;
    PutDword(out, first > 0 ? links[first - 1].position : NONE);
    PutDword(out, first < links.size() && links[first].block == block ? links[first].position : NONE);
    PutDword(out, lastHeader);
}

Bytes WriteBlocks(const std::vector<Link>& links)
{
    Bytes stream;
    for (size_t i = 0; i < links.size(); ++i) {
        stream.resize(links[i].start, 0);
        WriteLink(links, i, &stream);
    }
    const size_t capacity = TOPIC_BLOCK_SIZE - TOPIC_BLOCK_HEADER_SIZE;
    Bytes out;
    for (unsigned block = 0; block * capacity < stream.size(); ++block) {
        PutBlockHeader(links, block, &out);
        size_t start = block * capacity, end = std::min(stream.size(), start + capacity);
        out.insert(out.end(), stream.begin() + start, stream.begin() + end);
    }
    out.resize((out.size() + TOPIC_BLOCK_SIZE - 1) / TOPIC_BLOCK_SIZE * TOPIC_BLOCK_SIZE, 0);
    return out;
}

}  // namespace

bool BuildTopicFile(const std::vector<TopicRecords>& topics, TopicFile* result, std::string* error)
{
    for (const TopicRecords& topic : topics) {
        for (const ParagraphRecord& paragraph : topic.paragraphs) {
            if (paragraph.text.size() < MAX_PARAGRAPH_TEXT) continue;
            *error = "a paragraph of " + std::to_string(paragraph.text.size()) + " bytes of text is too long";
            return false;
        }
    }
    std::vector<Link> links = CollectLinks(topics);
    PlaceLinks(&links);
    result->topicOffsets.clear();
    FillTopicHeaders(&links, topics.size(), &result->topicOffsets);
    result->bytes = WriteBlocks(links);
    return true;
}
