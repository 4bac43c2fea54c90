// sequence_fuzzer.cpp - compose, load arbitrary bytes, compose again.
//
// A known template is loaded and composed from; then the input is loaded. A failed load
// must leave the template, its sentences and the news text exactly as they were, so the
// same seed composes the same text. Every composition, good or failed, stays within
// NewsBuffer, and a failed one puts the previous text back.
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

// One show with the given seed, checked; returns whether it composed.
bool ShowChecked(uint32_t seed)
{
    std::string previous = NewsBuffer;
    ResetWarnings();
    int shown = ShowNextNewsSeeded(seed);
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
    FuzzRequire(WarningCount == (loaded ? 0 : 1), "one warning for a failed load, none for a good one");
    FuzzRequire(shown == NewsBuffer, "loading never touches the news text");
    if (!loaded) {
        FuzzRequire(Snapshot() == before, "a failed load changes nothing");
        FuzzRequire(ShowChecked(seed) == composed && shown == NewsBuffer, "the same seed composes the same text");
        return 0;
    }
    for (uint32_t i = 0; i < 4; i++) ShowChecked(seed + i);
    return 0;
}
