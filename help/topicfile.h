// topicfile.h - paragraph records and the |TOPIC file of a WinHelp help file.
//
// |TOPIC is a chain of records (TOPICLINKs) in 4 KB blocks: for each topic a header record
// with its title, then one record per paragraph. A paragraph record holds two parts: the
// formatting (paragraph settings, then one command after each piece of text) and the text,
// zero-terminated pieces of code page 932 bytes. Links name their target by context hash.
#ifndef ZENTAVO_HELP_TOPICFILE_H
#define ZENTAVO_HELP_TOPICFILE_H

#include <stdint.h>

#include <string>
#include <vector>

#include "help/hlpfile.h"

// A finished paragraph record, without the 21-byte record header.
struct ParagraphRecord {
    Bytes formatting;  // LinkData1
    Bytes text;        // LinkData2
};

// Paragraph settings, in half points where they are lengths.
struct ParagraphStyle {
    int spaceAbove;
    int spaceBelow;
    int leftIndent;
    int firstLineIndent;  // relative to leftIndent; negative for a hanging indent
};

// A paragraph being written. Start one with BeginParagraph, add text and commands in
// reading order, finish with EndParagraph.
struct ParagraphBuilder {
    Bytes settings;  // the paragraph settings part of the formatting
    Bytes commands;  // the formatting commands
    Bytes text;
};

void BeginParagraph(ParagraphBuilder* paragraph, const ParagraphStyle& style);

// Appends code page 932 bytes; they must not contain a zero byte.
void AddText(ParagraphBuilder* paragraph, const std::string& bytes);

// The commands each end the current piece of text.
void SetFont(ParagraphBuilder* paragraph, unsigned descriptor);
void AddLineBreak(ParagraphBuilder* paragraph);
void StartLink(ParagraphBuilder* paragraph, uint32_t targetHash);  // a jump, underlined
// A jump that leaves the look of its text to the fonts it uses.
void StartPlainLink(ParagraphBuilder* paragraph, uint32_t targetHash);
void EndLink(ParagraphBuilder* paragraph);

// Ends the paragraph and returns its record.
ParagraphRecord EndParagraph(ParagraphBuilder* paragraph);

struct TopicRecords {
    std::string title;  // code page 932
    std::vector<ParagraphRecord> paragraphs;
};

struct TopicFile {
    Bytes bytes;                         // the |TOPIC file, whole 4 KB blocks
    std::vector<uint32_t> topicOffsets;  // TOPICOFFSET of each topic, in order
};

enum {
    TOPIC_BLOCK_SIZE = 4096,
    TOPIC_BLOCK_HEADER_SIZE = 12,
    TOPIC_LINK_HEADER_SIZE = 21,
    MAX_PARAGRAPH_TEXT = 0x8000,
};

// Lays the topics out in order, each topic's browse sequence running to its neighbours.
// Records follow each other through the blocks, a record that reaches the end of a block
// continuing in the next. Returns false (with a message in *error) when a paragraph holds
// MAX_PARAGRAPH_TEXT bytes of text or more, more than its record can count.
bool BuildTopicFile(const std::vector<TopicRecords>& topics, TopicFile* result, std::string* error);

#endif
