// html.cpp - writing the manual's topics as one HTML page.
//
// Everything here stays UTF-8 as the topic files are: the literals are plain ASCII, since
// the build converts other literals to code page 932.
#include "help/html.h"

namespace {

// Reads like the help file: Japanese Gothic faces, dark blue headings, and the section a
// link leads to marked, so that a reader sees where the jump landed.
const char kStyle[] =
    "body{margin:0 auto;max-width:46em;padding:1em 1.5em 24em;line-height:1.7;color:#000;background:#fff;"
    "font-family:\"Meiryo\",\"MS PGothic\",\"IPAPGothic\",\"Noto Sans CJK JP\",sans-serif}"
    "section{border-top:1px solid #bbb;padding:.5em 0 1em}section:first-child{border-top:0}"
    "section:target{background:#fff4cc}"
    "h1{font-size:1.5em;color:#000080;margin:.3em 0 .6em}"
    "h2{font-size:1.15em;color:#000080;margin:1.2em 0 .4em}"
    "p{margin:0 0 .7em}ul{margin:0 0 .7em;padding-left:1.6em}"
    "ul.links{list-style:none;padding-left:.5em}"
    "pre{margin:0 0 .8em 1em;padding:.4em .6em;background:#f4f4f4;white-space:pre-wrap;"
    "font-family:\"MS Gothic\",\"IPAGothic\",monospace}"
    "a{color:#006000}";

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Runs(const std::vector<Run>& runs)
{
    std::string out;
    for (const Run& run : runs) {
        if (run.kind == RUN_BOLD) out += "<strong>" + Escape(run.text) + "</strong>";
        if (run.kind == RUN_LINK) out += "<a href=\"#" + run.target + "\">" + Escape(run.text) + "</a>";
        if (run.kind == RUN_TEXT) out += Escape(run.text);
    }
    return out;
}

std::string Verbatim(const std::vector<std::string>& lines)
{
    std::string out = "<pre>";
    for (const std::string& line : lines) out += Escape(line) + "\n";
    return out + "</pre>\n";
}

std::string LinkList(const std::vector<Run>& runs)
{
    std::string out = "<ul class=\"links\">\n";
    for (const Run& run : runs) out += "<li>" + Runs({run}) + "</li>\n";
    return out + "</ul>\n";
}

// One block; list items open a list at the first and close it after the last.
std::string BlockHtml(const std::vector<Block>& blocks, size_t i)
{
    const Block& block = blocks[i];
    switch (block.kind) {
        case BLOCK_HEADING: return "<h2>" + Runs(block.runs) + "</h2>\n";
        case BLOCK_VERBATIM: return Verbatim(block.lines);
        case BLOCK_LINKS: return LinkList(block.runs);
        case BLOCK_ITEM: {
            bool first = i == 0 || blocks[i - 1].kind != BLOCK_ITEM;
            bool last = i + 1 == blocks.size() || blocks[i + 1].kind != BLOCK_ITEM;
            return (first ? "<ul>\n" : "") + ("<li>" + Runs(block.runs) + "</li>\n") + (last ? "</ul>\n" : "");
        }
        default: return "<p>" + Runs(block.runs) + "</p>\n";
    }
}

std::string Section(const ManualTopic& topic)
{
    std::string out = "<section id=\"" + topic.id + "\">\n<h1>" + Escape(topic.title) + "</h1>\n";
    for (size_t i = 0; i < topic.blocks.size(); ++i) out += BlockHtml(topic.blocks, i);
    return out + "</section>\n";
}

}  // namespace

std::string BuildHtmlManual(const std::vector<ManualTopic>& topics)
{
    std::string page = "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n";
    page += "<meta name=\"viewport\" content=\"width=device-width\">\n";
    page += "<title>" + Escape(topics.front().title) + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
    for (const ManualTopic& topic : topics) page += Section(topic);
    return page + "</body>\n</html>\n";
}
