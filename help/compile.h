// compile.h - turning the manual's topics into a Japanese WinHelp file.
#ifndef ZENTAVO_HELP_COMPILE_H
#define ZENTAVO_HELP_COMPILE_H

#include <string>
#include <vector>

#include "help/hlpfile.h"
#include "help/manualsource.h"

// Converts UTF-8 text to code page 932. Returns false, leaving *out unspecified, when the
// text is not valid UTF-8 or holds a character that code page 932 does not have.
bool Utf8ToCp932(const std::string& text, std::string* out);

struct CompiledManual {
    Bytes helpFile;
    // What the viewer shows of each topic, in code page 932: a line "@@ NUMBER ID", then the
    // title and every paragraph, each line of text on a line of its own; then a line
    // "@> TARGET text" for each link in the topic.
    std::string listing;
};

#include "help/topicfile.h"

// The topics as |TOPIC records (the title paragraph first in each), and the listing that
// CompiledManual describes. Returns false with a message when text cannot be converted.
bool CompileTopics(const std::vector<ManualTopic>& topics, std::vector<TopicRecords>* records, std::string* listing,
                   std::string* error);

// Builds the help file from topics that ResolveManual has accepted: the first topic is the
// contents, all topics form one browse sequence in order, and the title, the window caption
// and all text are Japanese in code page 932 with Shift-JIS fonts. Returns false with a
// message in *error when text cannot be converted or a paragraph is too long for the format.
bool CompileManual(const std::vector<ManualTopic>& topics, const std::string& helpTitle, CompiledManual* result,
                   std::string* error);

#endif
