// template_fuzzer.cpp - the template loader on arbitrary bytes, read from a file.
//
// Whatever the bytes, a load gives exactly one warning or none, points at a line that the
// file has, and a successful load leaves a store that every reader can walk safely.
#include <string.h>

#include "fuzz/fuzz_host.h"
#include "template/template.h"

namespace {

// The physical lines a file can have: one more than its line feeds.
FUZZ_NOT_COVERED unsigned long MostLines(const uint8_t* data, size_t size)
{
    unsigned long lines = 1;
    for (size_t i = 0; i < size; i++) lines += data[i] == '\n';
    return lines;
}

bool FitsLine(const char* text, size_t limit)
{
    return memchr(text, '\0', limit + 1) != nullptr;
}

// What the composer, zentavo-cli --check and the window rely on after a successful load.
FUZZ_NOT_COVERED void CheckLoadedStore()
{
    const TemplateStore& store = LoadedTemplate;
    FuzzRequire(FitsLine(store.TitleBuffer, TITLE_BUFFER_SIZE - 1), "the title is terminated in its buffer");
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
            FuzzRequire(text != nullptr, "every sentence in range exists");
            FuzzRequire(strlen(text) < TEMPLATE_LINE_BUFFER_SIZE, "a sentence is at most 255 bytes");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetWarnings();
    int loaded = LoadTemplate(WriteFuzzFile(0, data, size));
    FuzzRequire(loaded == 0 || loaded == 1, "the load returns 1 or 0");
    FuzzRequire(WarningCount == (loaded ? 0 : 1), "one warning for a failed load, none for a good one");
    if (loaded)
        CheckLoadedStore();
    else
        FuzzRequire(LastLoadFaultLine <= MostLines(data, size), "the fault is on a line the file has");
    return 0;
}
