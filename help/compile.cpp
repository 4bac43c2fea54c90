// compile.cpp - the manual's topics as paragraph records, and the help file around them.
//
// String literals in this file are code page 932 (the build converts them); the manual's
// text arrives as UTF-8 and is converted here at run time.
#include "help/compile.h"

#include <iconv.h>

#include <map>

#include "help/topicfile.h"
#include "zentavo_version.h"

bool Utf8ToCp932(const std::string& text, std::string* out)
{
    iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    out->assign(text.size() * 2 + 1, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* result = &(*out)[0];
    size_t outLeft = out->size();
    bool ok = iconv(converter, &in, &inLeft, &result, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv_close(converter);
    out->resize(result - out->data());
    return ok;
}

namespace {

enum Font { FONT_BODY, FONT_BOLD, FONT_HEADING, FONT_TITLE, FONT_VERBATIM, FONT_LINK };

// Japanese Gothic faces for the Shift-JIS character set: proportional for text, fixed
// pitch for verbatim lines. A viewer without them picks another font of the same set.
const char* const kFaces[] = {"ＭＳ Ｐゴシック", "ＭＳ ゴシック"};

const FontDescriptor kFonts[] = {
    {0, 20, FAMILY_SWISS, 0, 0, 0, 0},                      // FONT_BODY: 10 point
    {FONT_FLAG_BOLD, 20, FAMILY_SWISS, 0, 0, 0, 0},         // FONT_BOLD
    {FONT_FLAG_BOLD, 24, FAMILY_SWISS, 0, 0, 0, 128},       // FONT_HEADING: 12 point, dark blue
    {FONT_FLAG_BOLD, 30, FAMILY_SWISS, 0, 0, 0, 128},       // FONT_TITLE: 15 point, dark blue
    {0, 20, FAMILY_MODERN, 1, 0, 0, 0},                     // FONT_VERBATIM
    {FONT_FLAG_UNDERLINE, 20, FAMILY_SWISS, 0, 0, 128, 0},  // FONT_LINK: green and underlined
};

const ParagraphStyle kTitleStyle = {0, 8, 0, 0};
const ParagraphStyle kHeadingStyle = {10, 2, 0, 0};
const ParagraphStyle kBodyStyle = {0, 6, 0, 0};
const ParagraphStyle kItemStyle = {0, 3, 24, -16};
const ParagraphStyle kVerbatimStyle = {0, 6, 16, 0};
const ParagraphStyle kLinkStyle = {0, 4, 8, 0};

const char kBullet[] = "・";

struct Compiler {
    std::string source;  // file of the topic being compiled, for messages
    std::string* listing;
    std::string* error;
    std::string links;  // "@> TARGET text" lines of the topic being compiled
};

// Adds shown text to the paragraph and to the listing.
void Emit(Compiler* compiler, ParagraphBuilder* paragraph, const std::string& cp932)
{
    AddText(paragraph, cp932);
    *compiler->listing += cp932;
}

bool Convert(const std::string& utf8, Compiler* compiler, std::string* cp932)
{
    if (Utf8ToCp932(utf8, cp932)) return true;
    *compiler->error = compiler->source + ": text that code page 932 cannot hold: " + utf8;
    return false;
}

// Writes runs of plain and bold text; bold runs switch font and back.
bool AddRuns(const std::vector<Run>& runs, unsigned font, Compiler* compiler, ParagraphBuilder* paragraph)
{
    for (const Run& run : runs) {
        std::string text;
        if (!Convert(run.text, compiler, &text)) return false;
        if (run.kind == RUN_BOLD) SetFont(paragraph, FONT_BOLD);
        Emit(compiler, paragraph, text);
        if (run.kind == RUN_BOLD) SetFont(paragraph, font);
    }
    *compiler->listing += "\n";
    return true;
}

// A link list: each link a paragraph of its own, its hot spot exactly over the target's
// title in the link font, with nothing after it in the paragraph, so that nothing but the
// title is clickable and a click beside it does nothing.
bool AddLinkList(const std::vector<Run>& runs, Compiler* compiler, std::vector<ParagraphRecord>* records)
{
    for (const Run& run : runs) {
        std::string text;
        if (!Convert(run.text, compiler, &text)) return false;
        ParagraphBuilder paragraph;
        BeginParagraph(&paragraph, kLinkStyle);
        SetFont(&paragraph, FONT_LINK);
        StartPlainLink(&paragraph, ContextHash(run.target));
        Emit(compiler, &paragraph, text);
        EndLink(&paragraph);
        records->push_back(EndParagraph(&paragraph));
        *compiler->listing += "\n";
        compiler->links += "@> " + run.target + " " + text + "\n";
    }
    return true;
}

const ParagraphStyle& StyleOf(BlockKind kind)
{
    switch (kind) {
        case BLOCK_HEADING: return kHeadingStyle;
        case BLOCK_ITEM: return kItemStyle;
        case BLOCK_VERBATIM: return kVerbatimStyle;
        default: return kBodyStyle;
    }
}

bool AddVerbatim(const std::vector<std::string>& lines, Compiler* compiler, ParagraphBuilder* paragraph)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line;
        if (!Convert(lines[i], compiler, &line)) return false;
        if (i > 0) AddLineBreak(paragraph);
        Emit(compiler, paragraph, line);
        *compiler->listing += "\n";
    }
    return true;
}

// Appends the block's paragraph records: one, or one per link of a link list.
bool CompileBlock(const Block& block, Compiler* compiler, std::vector<ParagraphRecord>* records)
{
    if (block.kind == BLOCK_LINKS) return AddLinkList(block.runs, compiler, records);
    ParagraphBuilder paragraph;
    unsigned font = block.kind == BLOCK_HEADING    ? FONT_HEADING
                    : block.kind == BLOCK_VERBATIM ? FONT_VERBATIM
                                                   : FONT_BODY;
    BeginParagraph(&paragraph, StyleOf(block.kind));
    SetFont(&paragraph, font);
    if (block.kind == BLOCK_ITEM) Emit(compiler, &paragraph, kBullet);
    bool ok = block.kind == BLOCK_VERBATIM ? AddVerbatim(block.lines, compiler, &paragraph)
                                           : AddRuns(block.runs, font, compiler, &paragraph);
    if (!ok) return false;
    records->push_back(EndParagraph(&paragraph));
    return true;
}

bool CompileTopic(const ManualTopic& topic, Compiler* compiler, TopicRecords* records)
{
    compiler->source = topic.source;
    compiler->links.clear();
    if (!Convert(topic.title, compiler, &records->title)) return false;
    *compiler->listing += "@@ " + std::to_string(topic.mapNumber) + " " + topic.id + "\n";
    ParagraphBuilder title;
    BeginParagraph(&title, kTitleStyle);
    SetFont(&title, FONT_TITLE);
    Emit(compiler, &title, records->title);
    *compiler->listing += "\n";
    records->paragraphs.push_back(EndParagraph(&title));
    for (const Block& block : topic.blocks)
        if (!CompileBlock(block, compiler, &records->paragraphs)) return false;
    *compiler->listing += compiler->links;
    return true;
}

SystemInfo MakeSystemInfo(const std::string& helpTitle, uint32_t contentsOffset)
{
    SystemInfo info;
    info.title = helpTitle;
    info.copyright = ZENTAVO_PRODUCT_NAME;
    info.contentsOffset = contentsOffset;
    info.macros = {"BrowseButtons()"};  // << and >> walk through all topics in order
    info.windows = {{"main", "main", helpTitle}};
    info.languageId = 0x0411;  // Japanese
    info.charset = 128;        // Shift-JIS
    return info;
}

bool AddIndexFiles(const std::vector<ManualTopic>& topics, const std::vector<TopicRecords>& records,
                   const std::vector<uint32_t>& offsets, std::map<std::string, Bytes>* files, std::string* error)
{
    std::vector<ContextEntry> contexts;
    std::vector<MapEntry> numbers;
    std::vector<TitleEntry> titles;
    std::vector<KeywordEntry> keywords;
    for (size_t t = 0; t < topics.size(); ++t) {
        contexts.push_back({ContextHash(topics[t].id), offsets[t]});
        numbers.push_back({topics[t].mapNumber, offsets[t]});
        titles.push_back({offsets[t], records[t].title});
        for (const std::string& keyword : topics[t].keywords) {
            Compiler compiler{topics[t].source, nullptr, error, ""};
            std::string converted;
            if (!Convert(keyword, &compiler, &converted)) return false;
            keywords.push_back({converted, offsets[t]});
        }
    }
    (*files)["|CONTEXT"] = BuildContextFile(contexts);
    (*files)["|CTXOMAP"] = BuildContextMapFile(numbers);
    (*files)["|TTLBTREE"] = BuildTitleFile(titles);
    if (!keywords.empty()) AddKeywordFiles(keywords, files);
    return true;
}

bool CheckHashes(const std::vector<ManualTopic>& topics, std::string* error)
{
    std::map<uint32_t, std::string> seen;
    for (const ManualTopic& topic : topics) {
        auto found = seen.emplace(ContextHash(topic.id), topic.id);
        if (found.second) continue;
        *error = topic.source + ": topic " + topic.id + " hashes like " + found.first->second + "; rename one";
        return false;
    }
    return true;
}

}  // namespace

bool CompileTopics(const std::vector<ManualTopic>& topics, std::vector<TopicRecords>* records, std::string* listing,
                   std::string* error)
{
    listing->clear();
    Compiler compiler{"", listing, error, ""};
    records->assign(topics.size(), TopicRecords());
    for (size_t t = 0; t < topics.size(); ++t)
        if (!CompileTopic(topics[t], &compiler, &(*records)[t])) return false;
    return true;
}

bool CompileManual(const std::vector<ManualTopic>& topics, const std::string& helpTitle, CompiledManual* result,
                   std::string* error)
{
    if (!CheckHashes(topics, error)) return false;
    std::vector<TopicRecords> records;
    if (!CompileTopics(topics, &records, &result->listing, error)) return false;
    TopicFile topicFile;
    if (!BuildTopicFile(records, &topicFile, error)) return false;

    std::map<std::string, Bytes> files;
    files["|TOPIC"] = topicFile.bytes;
    files["|SYSTEM"] = BuildSystemFile(MakeSystemInfo(helpTitle, topicFile.topicOffsets[0]));
    std::vector<std::string> faces(std::begin(kFaces), std::end(kFaces));
    files["|FONT"] = BuildFontFile(faces, std::vector<FontDescriptor>(std::begin(kFonts), std::end(kFonts)));
    if (!AddIndexFiles(topics, records, topicFile.topicOffsets, &files, error)) return false;
    result->helpFile = PackHelpFile(files);
    return true;
}
