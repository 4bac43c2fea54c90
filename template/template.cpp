// template.cpp - the template store and the template file loader.
//
// A load reads the file once, front to back, into PendingTemplate. Only when the whole
// file has been read does it become LoadedTemplate, so a template that fails half-way
// never leaves a mixture of two templates behind.
#include "template.h"

#include <stdlib.h>
#include <string.h>

#include "core/host.h"
#include "core/textstream.h"

const char MSG_FILE_NOT_FOUND[] = "ファイルが見つかりません";
const char MSG_TITLE_READ_ERROR[] = "タイトルデータの読み込み中にエラーが発生しました";
const char MSG_FLOW_BAD_CHARACTER[] = "流れデータの中に数字、｢-｣、｢,｣以外の文字があります";
const char MSG_FLOW_READ_ERROR[] = "流れデータの読み込み中にエラーが発生しました";
const char MSG_FLOW_TOO_MANY_ELEMENTS[] = "流れデータ１行に要素は100個までです";
const char MSG_FLOW_TOO_MANY_LINES[] = "流れデータは100行までです";
const char MSG_SENTENCE_READ_ERROR[] = "文章データ読み込み中にエラーが発生しました";
const char MSG_TOO_MANY_BLOCKS[] = "文章データは100ブロックまでです";
const char MSG_TOO_MANY_SENTENCES[] = "文章データは１ブロック100行までです";
const char MSG_OUT_OF_MEMORY[] = "メモリが足りません";

// ---- Template store ----
TemplateStore LoadedTemplate;
TemplateSourceLines LoadedSourceLines;
unsigned long LastLoadFaultLine;

// ---- Loader state, alive only while LoadTemplate runs ----
static TemplateStore PendingTemplate;
static TemplateSourceLines PendingSourceLines;
static TextStream* TemplateFile;
static char TemplateLineBuffer[TEMPLATE_LINE_BUFFER_SIZE];
static char FlowLineBuffer[FLOW_LINE_BUFFER_SIZE];
static long SentenceAllocationsBeforeFailure = -1;

void FailSentenceAllocationsFrom(long n)
{
    SentenceAllocationsBeforeFailure = n;
}

static char* AllocateSentence(size_t size)
{
    if (SentenceAllocationsBeforeFailure == 0) return nullptr;
    if (SentenceAllocationsBeforeFailure > 0) SentenceAllocationsBeforeFailure--;
    return static_cast<char*>(malloc(size));
}

// Frees the sentences a store owns and empties it. Empty slots are passed over: most of
// the 10,000 are, and free() is not free under a memory checker.
static void ClearStore(TemplateStore* store)
{
    for (auto& block : store->SentenceTable)
        for (char* sentence : block)
            if (sentence) free(sentence);
    memset(store, 0, sizeof *store);
}

void ResetTemplateStore()
{
    ClearStore(&LoadedTemplate);
    memset(&LoadedSourceLines, 0, sizeof LoadedSourceLines);
}

static int OpenTemplateFile(const char* path)
{
    TemplateFile = OpenTextStream(path, TEXT_READ);
    if (!TemplateFile) {
        LastLoadFaultLine = 0;
        ShowWarning(MSG_FILE_NOT_FOUND);
        return 0;
    }
    return 1;
}

static void CloseTemplateFile()
{
    CloseTextStream(TemplateFile);
    TemplateFile = nullptr;
}

// Ends a load at its first fault: remembers where it was found, warns, closes the file.
static int FailLoad(const char* message)
{
    LastLoadFaultLine = TextLineNumber(TemplateFile);
    ShowWarning(message);
    CloseTemplateFile();
    return 0;
}

// Reads the next line that is neither a comment (";" first) nor empty (a line feed first)
// into buffer. Returns 0 when the file ends before such a line.
static int ReadDataLine(char* buffer, size_t size)
{
    do {
        if (ReadTextLine(TemplateFile, buffer, size) == 0) return 0;
    } while (buffer[0] == ';' || buffer[0] == '\n');
    return 1;
}

static int ReadTemplateLine()
{
    return ReadDataLine(TemplateLineBuffer, sizeof TemplateLineBuffer);
}

static int ReadFlowLine()
{
    return ReadDataLine(FlowLineBuffer, sizeof FlowLineBuffer);
}

static int ReadTitle()
{
    if (!ReadTemplateLine()) return FailLoad(MSG_TITLE_READ_ERROR);
    strcpy(PendingTemplate.TitleBuffer, TemplateLineBuffer);
    PendingTemplate.TitleBuffer[strcspn(PendingTemplate.TitleBuffer, "\n")] = '\0';
    return 1;
}

static int CheckFlowLine()
{
    for (const char* p = FlowLineBuffer; *p; p++) {
        bool allowed = (*p >= '0' && *p <= '9') || *p == '-' || *p == ',' || *p == '\n';
        if (!allowed) return FailLoad(MSG_FLOW_BAD_CHARACTER);
    }
    return 1;
}

// Takes the next number of a flow line at *cursor: commas before it are skipped, then an
// optional "-" and the digits up to the first other byte make its value, modulo 65,536 as
// a signed 16-bit number; the rest of the number up to the next comma is passed over.
// Returns 0 when the line has no further number.
static int TakeFlowNumber(const char** cursor, int* value)
{
    const char* p = *cursor;
    while (*p == ',') p++;
    if (*p == '\0' || *p == '\n') return 0;
    bool negative = *p == '-';
    if (negative) p++;
    uint16_t digits = 0;
    for (; *p >= '0' && *p <= '9'; p++) digits = static_cast<uint16_t>(digits * 10 + (*p - '0'));
    if (negative) digits = static_cast<uint16_t>(0u - digits);
    *value = static_cast<int16_t>(digits);
    while (*p != ',' && *p != '\0' && *p != '\n') p++;
    *cursor = p;
    return 1;
}

// Reads the next flow line and checks its bytes; the caller has to take its numbers.
static int StartFlowLine(uint8_t line)
{
    if (!ReadFlowLine()) return FailLoad(MSG_FLOW_READ_ERROR);
    PendingSourceLines.FlowLine[line] = TextLineNumber(TemplateFile);
    return CheckFlowLine();
}

static int ReadFlowData()
{
    uint8_t line = 0;
    uint8_t count = 0;
    if (!StartFlowLine(line)) return 0;
    const char* cursor = FlowLineBuffer;
    for (;;) {
        int value;
        // Every flow line has to end in an end mark before its numbers run out.
        if (!TakeFlowNumber(&cursor, &value)) return FailLoad(MSG_FLOW_READ_ERROR);
        if (value >= 0) {
            if (count == MAX_FLOW_ELEMENTS) return FailLoad(MSG_FLOW_TOO_MANY_ELEMENTS);
            PendingTemplate.FlowTable[line][count++] = static_cast<uint8_t>(value);
        } else if (value == -1) {
            PendingTemplate.FlowLastElement[line] = static_cast<uint8_t>(count - 1);
            PendingTemplate.LastFlowLine = line;
            return 1;
        } else if (value == -2) {
            PendingTemplate.FlowLastElement[line] = static_cast<uint8_t>(count - 1);
            if (++line == MAX_FLOW_LINES) return FailLoad(MSG_FLOW_TOO_MANY_LINES);
            count = 0;
            if (!StartFlowLine(line)) return 0;
            cursor = FlowLineBuffer;
        }
        // Any other negative value is ignored.
    }
}

static bool IsEndOfBlockLine(const char* line)
{
    return strcmp(line, "/E\n") == 0 || strcmp(line, "/e\n") == 0;
}

// Cuts the line at its line feed and turns each "/@" into a line feed, left to right.
static void MakeSentence(char* line)
{
    line[strcspn(line, "\n")] = '\0';
    char* out = line;
    for (const char* in = line; *in; out++) {
        if (in[0] == '/' && in[1] == '@') {
            *out = '\n';
            in += 2;
        } else {
            *out = *in++;
        }
    }
    *out = '\0';
}

static int StoreSentence(uint8_t block, uint8_t sentence)
{
    size_t size = strlen(TemplateLineBuffer) + 1;
    char* copy = AllocateSentence(size);
    if (!copy) return FailLoad(MSG_OUT_OF_MEMORY);
    memcpy(copy, TemplateLineBuffer, size);
    PendingTemplate.SentenceTable[block][sentence] = copy;
    return 1;
}

static int ReadSentenceData()
{
    uint8_t block = 0;
    uint8_t count = 0;
    if (!ReadTemplateLine()) return FailLoad(MSG_SENTENCE_READ_ERROR);
    PendingSourceLines.Block[0] = TextLineNumber(TemplateFile);
    for (;;) {
        if (IsEndOfBlockLine(TemplateLineBuffer)) {
            PendingTemplate.BlockLastSentence[block] = static_cast<uint8_t>(count - 1);
            block++;
            count = 0;
            if (!ReadTemplateLine()) {
                PendingTemplate.LastBlock = static_cast<uint8_t>(block - 1);
                return 1;
            }
            // The line after an end of block always starts the next block's sentences.
            if (block < MAX_BLOCKS) PendingSourceLines.Block[block] = TextLineNumber(TemplateFile);
        }
        MakeSentence(TemplateLineBuffer);
        if (block == MAX_BLOCKS) return FailLoad(MSG_TOO_MANY_BLOCKS);
        if (count == MAX_SENTENCES) return FailLoad(MSG_TOO_MANY_SENTENCES);
        if (!StoreSentence(block, count)) return 0;
        count++;
        if (!ReadTemplateLine()) return FailLoad(MSG_SENTENCE_READ_ERROR);
    }
}

int LoadTemplate(const char* path)
{
    ClearStore(&PendingTemplate);
    memset(&PendingSourceLines, 0, sizeof PendingSourceLines);
    bool loaded = OpenTemplateFile(path) && ReadTitle() && ReadFlowData() && ReadSentenceData();
    if (!loaded) {
        ClearStore(&PendingTemplate);
        return 0;
    }
    CloseTemplateFile();
    ClearStore(&LoadedTemplate);
    LoadedTemplate = PendingTemplate;
    LoadedSourceLines = PendingSourceLines;
    memset(&PendingTemplate, 0, sizeof PendingTemplate);  // its sentences now belong to LoadedTemplate
    return 1;
}
