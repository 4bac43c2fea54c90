// template.cpp - the template store and the template file loader.
//
// A load reads the file once, front to back, into PendingTemplate. Only when the whole
// file has been read does it become LoadedTemplate, so a template that fails half-way
// never leaves a mixture of two templates behind. Each sentence is an allocation of its own;
// the load that took it frees it when it fails, the next successful load when it succeeds.
#include "template.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "core/bytescan.h"
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
const char MSG_BROKEN_UTF8[] = "UTF-8として読めない文字があります";
const char MSG_BROKEN_UTF16[] = "UTF-16として読めない文字があります";

// A last index of NO_ENTRIES marks a flow line without block numbers, or block 0 without
// sentences: the count 0 minus 1 in one byte.
static const uint8_t NO_ENTRIES = 255;

// ---- Template store ----
TemplateStore LoadedTemplate;
TemplateSourceLines LoadedSourceLines;
unsigned long LastLoadFaultLine;
static bool HaveLoadedTemplate;

// ---- Loader state, alive only while LoadTemplate runs ----
static TemplateStore PendingTemplate;
static TemplateSourceLines PendingSourceLines;
static TextStream* TemplateFile;
static char TemplateLineBuffer[TEMPLATE_LINE_BUFFER_SIZE];
static size_t TemplateLineLength;  // the bytes last read into it, zero bytes included
static char FlowLineBuffer[FLOW_LINE_BUFFER_SIZE];
static long SentenceAllocationsBeforeFailure = -1;

// ---- Sentence storage ----
// Every sentence is one malloc of its own, made as it is read into PendingTemplate. A failed
// load frees the sentences it took; a successful one frees those of the template it replaces.
// The composer can therefore only ever reach sentences of LoadedTemplate, which are all alive.

// Frees every sentence of store and leaves its slots empty. Slots never written are null,
// since each load starts from a zeroed store.
static void FreeSentences(TemplateStore* store)
{
    for (auto& block : store->SentenceTable) {
        for (char*& sentence : block) {
            free(sentence);
            sentence = nullptr;
        }
    }
}

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

int FlowLineLength(int line)
{
    uint8_t last = LoadedTemplate.FlowLastElement[line];
    return last == NO_ENTRIES ? 0 : last + 1;
}

int BlockSentenceCount(int block)
{
    uint8_t last = LoadedTemplate.BlockLastSentence[block];
    return last == NO_ENTRIES ? 0 : last + 1;
}

int TemplateIsLoaded()
{
    return HaveLoadedTemplate;
}

void ResetTemplateStore()
{
    FreeSentences(&LoadedTemplate);
    memset(&LoadedTemplate, 0, sizeof LoadedTemplate);
    HaveLoadedTemplate = false;
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
// Bytes that are no UTF-8 or UTF-16 character end the file's input, so whatever the loader
// finds wrong after them is theirs to report.
static int FailLoad(const char* message)
{
    LastLoadFaultLine = TextLineNumber(TemplateFile);
    switch (TextStreamFault(TemplateFile)) {
        case TEXT_FAULT_NONE: break;
        case TEXT_FAULT_UTF8: message = MSG_BROKEN_UTF8; break;
        case TEXT_FAULT_UTF16: message = MSG_BROKEN_UTF16; break;
    }
    ShowWarning(message);
    CloseTemplateFile();
    return 0;
}

// Reads the next line that is neither a comment (";" first) nor empty (a line feed first)
// into buffer, and its length into *length. Returns 0 when the file ends before such a line,
// or when the line is cut short by bytes that are no character.
static int ReadDataLine(char* buffer, size_t size, size_t* length)
{
    do {
        *length = ReadTextLine(TemplateFile, buffer, size);
        if (*length == 0 || TextStreamFault(TemplateFile)) return 0;
    } while (buffer[0] == ';' || buffer[0] == '\n');
    return 1;
}

static int ReadTemplateLine()
{
    return ReadDataLine(TemplateLineBuffer, sizeof TemplateLineBuffer, &TemplateLineLength);
}

static int ReadFlowLine()
{
    size_t length;
    return ReadDataLine(FlowLineBuffer, sizeof FlowLineBuffer, &length);
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

// Cuts the line (length bytes as read) at its line feed and turns each "/@" into a line
// feed, left to right. The sentence ends at the line's first zero byte. Returns its length.
static size_t MakeSentence(char* line, size_t length)
{
    // A line read by ReadTextLine holds a line feed only as its last byte.
    if (length > 0 && line[length - 1] == '\n') line[--length] = '\0';
    // Most sentences hold no mark: find the first one, or the end, without copying.
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(line);
    size_t i = 0;
    for (;; i++) {
        i += FindFirstOf<'/', 0>(bytes + i, length - i);
        if (line[i] == '\0') return i;
        if (line[i + 1] == '@') break;
    }
    char* out = line + i;
    for (const char* in = out; *in; out++) {
        if (in[0] == '/' && in[1] == '@') {
            *out = '\n';
            in += 2;
        } else {
            *out = *in++;
        }
    }
    *out = '\0';
    return out - line;
}

static int StoreSentence(uint8_t block, uint8_t sentence, size_t length)
{
    char* copy = AllocateSentence(length + 1);
    if (!copy) return FailLoad(MSG_OUT_OF_MEMORY);
    memcpy(copy, TemplateLineBuffer, length + 1);
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
                if (TextStreamFault(TemplateFile)) return FailLoad(MSG_SENTENCE_READ_ERROR);
                PendingTemplate.LastBlock = static_cast<uint8_t>(block - 1);
                return 1;
            }
            // The line after an end of block always starts the next block's sentences.
            if (block < MAX_BLOCKS) PendingSourceLines.Block[block] = TextLineNumber(TemplateFile);
        }
        size_t length = MakeSentence(TemplateLineBuffer, TemplateLineLength);
        if (block == MAX_BLOCKS) return FailLoad(MSG_TOO_MANY_BLOCKS);
        if (count == MAX_SENTENCES) return FailLoad(MSG_TOO_MANY_SENTENCES);
        if (!StoreSentence(block, count, length)) return 0;
        count++;
        if (!ReadTemplateLine()) return FailLoad(MSG_SENTENCE_READ_ERROR);
    }
}

int LoadTemplate(const char* path)
{
    memset(&PendingTemplate, 0, sizeof PendingTemplate);
    memset(&PendingSourceLines, 0, sizeof PendingSourceLines);
    bool loaded = OpenTemplateFile(path) && ReadTitle() && ReadFlowData() && ReadSentenceData();
    if (!loaded) {
        FreeSentences(&PendingTemplate);
        return 0;
    }
    CloseTemplateFile();
    FreeSentences(&LoadedTemplate);
    LoadedTemplate = PendingTemplate;
    LoadedSourceLines = PendingSourceLines;
    HaveLoadedTemplate = true;
    return 1;
}
