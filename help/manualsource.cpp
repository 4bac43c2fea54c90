// manualsource.cpp - reading the manual's topic files and checking them as a whole.
#include "help/manualsource.h"

#include <ctype.h>
#include <stdlib.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

namespace {

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool Fail(const std::string& source, size_t line, const std::string& problem, std::string* error)
{
    *error = source + ":" + std::to_string(line) + ": " + problem;
    return false;
}

bool IsContextName(const std::string& name)
{
    if (name.empty()) return false;
    for (unsigned char c : name)
        if (!isalnum(c) && c != '_') return false;
    return true;
}

// Splits a line of text into plain, bold and link runs.
bool ParseRuns(const std::string& text, std::vector<Run>* runs, std::string* problem)
{
    if (text.empty()) {
        *problem = "empty line of markup";
        return false;
    }
    size_t at = 0;
    while (at < text.size()) {
        size_t bold = text.find("**", at);
        size_t link = text.find("[[", at);
        size_t next = std::min(bold, link);
        if (next > at) runs->push_back({RUN_TEXT, text.substr(at, next - at), ""});
        if (next == std::string::npos) break;
        const std::string closer = next == bold ? "**" : "]]";
        size_t end = text.find(closer, next + 2);
        if (end == std::string::npos) {
            *problem = "\"" + text.substr(next, 2) + "\" is not closed";
            return false;
        }
        std::string inner = text.substr(next + 2, end - next - 2);
        if (next == bold) {
            runs->push_back({RUN_BOLD, inner, ""});
        } else {
            size_t bar = inner.find('|');
            std::string target = inner.substr(0, bar);
            if (!IsContextName(target)) {
                *problem = "a link needs a topic name, not \"" + target + "\"";
                return false;
            }
            runs->push_back({RUN_LINK, bar == std::string::npos ? "" : inner.substr(bar + 1), target});
        }
        at = end + 2;
    }
    return true;
}

bool IsAsciiWordChar(char c)
{
    return static_cast<unsigned char>(c) < 0x80 && c != ' ';
}

// Joins the lines of one paragraph: Japanese text runs on without spaces, English words
// keep the space that the line break stood for.
std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string joined;
    for (const std::string& line : lines) {
        if (!joined.empty() && IsAsciiWordChar(joined.back()) && IsAsciiWordChar(line[0])) joined += ' ';
        joined += line;
    }
    return joined;
}

struct BodyParser {
    std::vector<Block>* blocks;
    std::vector<std::string> paragraph;  // lines of the open paragraph or list item
    BlockKind paragraphKind = BLOCK_PARAGRAPH;
    Block verbatim{BLOCK_VERBATIM, {}, {}};
    Block links{BLOCK_LINKS, {}, {}};
};

bool AddRunsBlock(BlockKind kind, const std::string& text, BodyParser* parser, std::string* problem)
{
    Block block{kind, {}, {}};
    if (!ParseRuns(text, &block.runs, problem)) return false;
    for (const Run& run : block.runs) {
        if (run.kind != RUN_LINK) continue;
        *problem = "a link must stand alone on a \"> \" line";
        return false;
    }
    parser->blocks->push_back(block);
    return true;
}

bool AddLink(const std::string& text, BodyParser* parser, std::string* problem)
{
    std::vector<Run> runs;
    if (!ParseRuns(text, &runs, problem)) return false;
    if (runs.size() != 1 || runs[0].kind != RUN_LINK) {
        *problem = "a \"> \" line holds one [[link]] and nothing else";
        return false;
    }
    parser->links.runs.push_back(runs[0]);
    return true;
}

void FlushLinks(BodyParser* parser)
{
    if (parser->links.runs.empty()) return;
    parser->blocks->push_back(parser->links);
    parser->links.runs.clear();
}

bool FlushParagraph(BodyParser* parser, std::string* problem)
{
    if (parser->paragraph.empty()) return true;
    std::string text = JoinLines(parser->paragraph);
    parser->paragraph.clear();
    return AddRunsBlock(parser->paragraphKind, text, parser, problem);
}

void FlushVerbatim(BodyParser* parser)
{
    if (parser->verbatim.lines.empty()) return;
    parser->blocks->push_back(parser->verbatim);
    parser->verbatim.lines.clear();
}

bool ParseBodyLine(const std::string& line, BodyParser* parser, std::string* problem)
{
    if (StartsWith(line, "|")) {
        FlushLinks(parser);
        if (!FlushParagraph(parser, problem)) return false;
        parser->verbatim.lines.push_back(StartsWith(line, "| ") ? line.substr(2) : line.substr(1));
        return true;
    }
    FlushVerbatim(parser);
    std::string trimmed = Trim(line);
    if (StartsWith(trimmed, "> "))
        return FlushParagraph(parser, problem) && AddLink(Trim(trimmed.substr(2)), parser, problem);
    FlushLinks(parser);
    if (trimmed.empty()) return FlushParagraph(parser, problem);
    if (StartsWith(trimmed, "== ")) {
        return FlushParagraph(parser, problem) && AddRunsBlock(BLOCK_HEADING, Trim(trimmed.substr(3)), parser, problem);
    }
    bool item = StartsWith(trimmed, "- ");
    if (item && !FlushParagraph(parser, problem)) return false;
    if (parser->paragraph.empty()) parser->paragraphKind = item ? BLOCK_ITEM : BLOCK_PARAGRAPH;
    parser->paragraph.push_back(item ? Trim(trimmed.substr(2)) : trimmed);
    return true;
}

bool ParseHeaderLine(const std::string& line, ManualTopic* topic, std::string* problem)
{
    std::istringstream fields(line);
    std::string name;
    fields >> name;
    std::string rest = Trim(line.substr(name.size()));
    if (name == "@topic") {
        std::string number;
        std::istringstream(rest) >> topic->id >> number;
        char* end = nullptr;
        topic->mapNumber = strtoul(number.c_str(), &end, 10);
        if (IsContextName(topic->id) && !number.empty() && *end == 0) return true;
        *problem = "@topic needs a context name (letters, digits, '_') and a number";
        return false;
    }
    if (name == "@title") {
        topic->title = rest;
        return true;
    }
    if (name == "@keywords") {
        std::istringstream list(rest);
        std::string keyword;
        while (std::getline(list, keyword, ';'))
            if (!Trim(keyword).empty()) topic->keywords.push_back(Trim(keyword));
        return true;
    }
    *problem = "unknown header line \"" + name + "\"";
    return false;
}

}  // namespace

bool ParseTopicSource(const std::string& text, const std::string& source, ManualTopic* topic, std::string* error)
{
    *topic = ManualTopic();
    topic->source = source;
    std::istringstream input(text);
    std::string line, problem;
    size_t number = 0;
    bool inHeader = true;
    BodyParser parser;
    parser.blocks = &topic->blocks;
    while (std::getline(input, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (StartsWith(line, ";")) continue;
        if (inHeader && Trim(line).empty()) {
            inHeader = false;
        } else if (inHeader) {
            if (!ParseHeaderLine(line, topic, &problem)) return Fail(source, number, problem, error);
        } else if (!ParseBodyLine(line, &parser, &problem)) {
            return Fail(source, number, problem, error);
        }
    }
    FlushVerbatim(&parser);
    FlushLinks(&parser);
    if (!FlushParagraph(&parser, &problem)) return Fail(source, number, problem, error);
    if (topic->id.empty() || topic->title.empty()) return Fail(source, 1, "@topic and @title are required", error);
    return true;
}

namespace {

template <typename Key>
bool Unique(std::map<Key, std::string>* seen, const Key& key, const ManualTopic& topic, const std::string& what,
            std::string* error)
{
    auto found = seen->emplace(key, topic.source);
    if (found.second) return true;
    *error = topic.source + ": " + what + " is also used by " + found.first->second;
    return false;
}

bool CheckUnique(const std::vector<ManualTopic>& topics, std::string* error)
{
    std::map<std::string, std::string> ids, keywords;
    std::map<unsigned, std::string> numbers;
    for (const ManualTopic& topic : topics) {
        if (!Unique(&ids, topic.id, topic, "topic " + topic.id, error)) return false;
        if (!Unique(&numbers, topic.mapNumber, topic, "number " + std::to_string(topic.mapNumber), error)) return false;
        // The index can offer only one topic per keyword: Wine's viewer refuses a choice.
        for (const std::string& keyword : topic.keywords)
            if (!Unique(&keywords, keyword, topic, "keyword " + keyword, error)) return false;
    }
    return true;
}

}  // namespace

bool ResolveManual(std::vector<ManualTopic>* topics, std::string* error)
{
    if (topics->empty()) {
        *error = "the manual has no topics";
        return false;
    }
    if (!CheckUnique(*topics, error)) return false;
    std::map<std::string, std::string> titles;
    for (const ManualTopic& topic : *topics) titles[topic.id] = topic.title;
    std::set<std::string> fromContents;
    for (ManualTopic& topic : *topics) {
        for (Block& block : topic.blocks) {
            for (Run& run : block.runs) {
                if (run.kind != RUN_LINK) continue;
                auto target = titles.find(run.target);
                if (target == titles.end()) {
                    *error = topic.source + ": link to unknown topic " + run.target;
                    return false;
                }
                if (run.text.empty()) run.text = target->second;
                if (&topic == &topics->front()) fromContents.insert(run.target);
            }
        }
    }
    for (size_t i = 1; i < topics->size(); ++i) {
        if (fromContents.count((*topics)[i].id)) continue;
        *error = topics->front().source + ": the contents do not link to " + (*topics)[i].id;
        return false;
    }
    return true;
}
