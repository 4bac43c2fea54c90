// manualsource.h - the manual's source: topics written as UTF-8 text in a small markup of our own.
//
// One file per topic. The file starts with header lines, then a blank line, then the body:
//
//   ; a comment line, anywhere
//   @topic COMMANDS 2          context name (letters, digits, '_') and HELP_CONTEXT number
//   @title コマンド一覧          the title, shown in large type at the top of the topic
//   @keywords コマンド; メニュー    index entries, separated by ';' (optional)
//
//   == 見出し                   a heading
//   Text lines. Consecutive     a paragraph: its lines are joined, with a space only
//   lines form one paragraph.   between two ASCII characters; a blank line ends it
//   - 項目                      a list item: a paragraph with a bullet; the lines after it
//                               continue it up to a blank line or the next item
//   | 一行ずつそのまま            a verbatim line; consecutive ones form one block
//   > [[TOPICID]]               a link to a topic, showing its title; [[TOPICID|text]]
//                               shows the text instead. Consecutive ones form one list
//
// Inside paragraphs, headings and items, **bold** marks bold text. Links stand only in link
// lists, where each link is a line of its own that nothing but its text makes clickable.
// The first topic is the contents topic.
#ifndef ZENTAVO_HELP_MANUALSOURCE_H
#define ZENTAVO_HELP_MANUALSOURCE_H

#include <string>
#include <vector>

enum RunKind { RUN_TEXT, RUN_BOLD, RUN_LINK };

struct Run {
    RunKind kind;
    std::string text;    // UTF-8; for a link without text of its own, empty until resolved
    std::string target;  // links only: the target's context name
};

enum BlockKind { BLOCK_PARAGRAPH, BLOCK_HEADING, BLOCK_ITEM, BLOCK_VERBATIM, BLOCK_LINKS };

struct Block {
    BlockKind kind;
    std::vector<Run> runs;           // all but verbatim blocks; a link list holds links only
    std::vector<std::string> lines;  // verbatim blocks
};

struct ManualTopic {
    std::string source;  // file name, for messages
    std::string id;
    unsigned mapNumber;
    std::string title;
    std::vector<std::string> keywords;
    std::vector<Block> blocks;
};

// Parses one topic file. Returns false with "source:line: problem" in *error when the
// header is incomplete, a line of markup is malformed or a link is not closed.
bool ParseTopicSource(const std::string& text, const std::string& source, ManualTopic* topic, std::string* error);

// Checks the topics as a whole and fills in the text of links that show their target's
// title. Returns false with a message when a context name, number or keyword is used twice,
// a link names no topic, or the contents topic (the first) does not link to every other one.
bool ResolveManual(std::vector<ManualTopic>* topics, std::string* error);

#endif
