// template_fuzzer.cpp - the template loader on arbitrary bytes, between compositions.
//
// A known template is loaded and composed from; then the input is loaded. Whatever the bytes,
// the load gives exactly one warning or none. A failed load points at a line the file has and
// leaves the template, its sentences and the news text exactly as they were, so the same seed
// composes the same text. A good load leaves a store every reader can walk safely. Every
// composition, good or failed, stays within NewsBuffer, and a failed one puts the previous
// text back.
#include <string.h>

#include <string>

#include "compose/compose.h"
#include "fuzz/fuzz_host.h"
#include "template/template.h"

namespace {

// Block 0 has no sentences, and flow line 2 names a block that does not exist, so some
// compositions fail.
const char kBaseTemplate[] =
    "Base news\n"
    "0,1,2,-2\n"
    "2,1,1,-2\n"
    "7,1,-2\n"
    "-1\n"
    "/E\n"
    "one/@two\n"
    "three\n"
    "/E\n"
    "x\n"
    "/e\n";

const size_t kLongestText = MAX_FLOW_ELEMENTS * (TEMPLATE_LINE_BUFFER_SIZE - 1) + 2;

// The store and the text of every sentence slot in use, each with its terminating zero.
FUZZ_NOT_COVERED std::string Snapshot()
{
    std::string bytes(reinterpret_cast<const char*>(&LoadedTemplate), sizeof LoadedTemplate);
    for (const auto& block : LoadedTemplate.SentenceTable)
        for (const char* sentence : block)
            if (sentence) bytes.append(sentence, strlen(sentence) + 1);
    return bytes;
}

// The physical lines a file can have: one more than its line feeds.
FUZZ_NOT_COVERED unsigned long MostLines(const uint8_t* data, size_t size)
{
    unsigned long lines = 1;
    for (size_t i = 0; i < size; i++) lines += data[i] == '\n';
    return lines;
}

// What the composer, zentavo-cli --check and the window rely on after a successful load.
FUZZ_NOT_COVERED void CheckLoadedStore()
{
    const TemplateStore& store = LoadedTemplate;
    FuzzRequire(memchr(store.TitleBuffer, '\0', TITLE_BUFFER_SIZE) != nullptr, "the title ends in its buffer");
    FuzzRequire(strchr(store.TitleBuffer, '\n') == nullptr, "the title holds no line feed");
    FuzzRequire(store.LastFlowLine < MAX_FLOW_LINES, "at most 100 flow lines");
    for (int line = 0; line <= store.LastFlowLine; line++)
        FuzzRequire(FlowLineLength(line) <= MAX_FLOW_ELEMENTS, "at most 100 elements on a flow line");
    FuzzRequire(store.LastBlock < MAX_BLOCKS, "at most 100 blocks");
    for (int block = 0; block <= store.LastBlock; block++) {
        int sentences = BlockSentenceCount(block);
        FuzzRequire(sentences <= MAX_SENTENCES && (sentences > 0 || block == 0),
                    "at most 100 sentences, and only block 0 may be empty");
        for (int sentence = 0; sentence < sentences; sentence++) {
            const char* text = store.SentenceTable[block][sentence];
            FuzzRequire(text != nullptr && strlen(text) < TEMPLATE_LINE_BUFFER_SIZE,
                        "every sentence in range exists and is at most 255 bytes");
        }
    }
}

// One show with the given seed, checked; returns whether it composed.
bool ShowChecked(uint32_t seed)
{
    std::string previous = NewsBuffer;
    ResetWarnings();
    int shown = ComposeNextNewsSeeded(seed);
    FuzzRequire(memchr(NewsBuffer, '\0', NEWS_BUFFER_SIZE) != nullptr, "the text stays within NewsBuffer");
    size_t length = strlen(NewsBuffer);
    FuzzRequire(length <= kLongestText, "no text is longer than 100 sentences of 255 bytes");
    if (shown) {
        FuzzRequire(WarningCount == 0, "a composition that succeeds warns of nothing");
        FuzzRequire(length >= 2 && memcmp(NewsBuffer + length - 2, "\n\n", 2) == 0, "a text ends in two line feeds");
    } else {
        FuzzRequire(WarningCount == 1, "a failed composition warns once");
        FuzzRequire(previous == NewsBuffer, "a failed show puts the previous text back");
    }
    return shown == 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* basePath =
        WriteFuzzFile(0, reinterpret_cast<const uint8_t*>(kBaseTemplate), sizeof kBaseTemplate - 1);
    ResetWarnings();
    FuzzRequire(LoadTemplate(basePath) == 1, "the base template loads");
    uint32_t seed = 0;
    memcpy(&seed, data, size < sizeof seed ? size : sizeof seed);
    bool composed = ShowChecked(seed);
    std::string shown = NewsBuffer;
    const std::string before = Snapshot();

    ResetWarnings();
    int loaded = LoadTemplate(WriteFuzzFile(1, data, size));
    FuzzRequire(loaded == 0 || loaded == 1, "the load returns 1 or 0");
    FuzzRequire(WarningCount == (loaded ? 0 : 1), "one warning for a failed load, none for a good one");
    FuzzRequire(shown == NewsBuffer, "loading never touches the news text");
    if (!loaded) {
        FuzzRequire(LastLoadFaultLine <= MostLines(data, size), "the fault is on a line the file has");
        FuzzRequire(Snapshot() == before, "a failed load changes nothing");
        FuzzRequire(ShowChecked(seed) == composed && shown == NewsBuffer, "the same seed composes the same text");
        return 0;
    }
    CheckLoadedStore();
    for (uint32_t i = 0; i < 4; i++) ShowChecked(seed + i);
    return 0;
}
