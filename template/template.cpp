// template.cpp - the template store and the template file loader.
//
// A load reads the file once, front to back, into PendingTemplate. Only when the whole
// file has been read does it become LoadedTemplate, so a template that fails half-way
// never leaves a mixture of two templates behind.
#include "template.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifdef __linux__
#include <sys/mman.h>
#endif

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
// The sentences of a store are handed out in order from large chunks rather than allocated
// one by one (10,000 allocations for the largest template). When a load succeeds, the
// chunks of the template it replaces are kept for the next load, so that loading again
// reuses memory the process already has instead of freeing and faulting it in again.
struct SentenceChunk {
    SentenceChunk* next;
    size_t used;
    char bytes[64 * 1024 - 2 * sizeof(void*)];
};

struct SentencePool {
    SentenceChunk* first;
    SentenceChunk* current;  // the chunk being filled; nullptr before the first sentence
};

static SentencePool LoadedSentences;   // the chunks LoadedTemplate's sentences live in
static SentencePool PendingSentences;  // the chunks of the load in progress

// The largest template's sentences fill 2.6 MB of fresh memory: in 4 KB pages some 650 page
// faults, which cost more than the rest of a load. So on Linux chunks are carved from one
// mapping, aligned to 2 MB and marked for huge pages, which the kernel backs with a handful of
// 2 MB pages when it has them. It holds the chunks of two largest templates, the loaded one
// and the one being read. Elsewhere, or when it is used up or cannot be mapped, each chunk is
// allocated on its own.
static const size_t HUGE_PAGE_BYTES = 2 << 20;
static const size_t CHUNK_AREA_BYTES = 3 * HUGE_PAGE_BYTES;
static char* ChunkArea;  // nullptr until mapped, and where no mapping could be had
static size_t ChunkAreaUsed;

#if defined(__linux__) && defined(MADV_HUGEPAGE)
// Maps CHUNK_AREA_BYTES at a 2 MB boundary, or gives nullptr. Nothing of it is touched here.
static char* MapChunkArea()
{
    size_t size = CHUNK_AREA_BYTES + HUGE_PAGE_BYTES;  // room to move the start to a boundary
    void* mapping = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) return nullptr;
    char* first = static_cast<char*>(mapping);
    uintptr_t at = reinterpret_cast<uintptr_t>(first);
    char* start = first + ((HUGE_PAGE_BYTES - at % HUGE_PAGE_BYTES) % HUGE_PAGE_BYTES);
    // The bytes before the boundary and after the area go back at once.
    if (start > first) munmap(first, start - first);
    if (first + size > start + CHUNK_AREA_BYTES)
        munmap(start + CHUNK_AREA_BYTES, first + size - (start + CHUNK_AREA_BYTES));
    madvise(start, CHUNK_AREA_BYTES, MADV_HUGEPAGE);
    return start;
}
#else
static char* MapChunkArea()
{
    return nullptr;
}
#endif

static bool InChunkArea(const SentenceChunk* chunk)
{
    const char* at = reinterpret_cast<const char*>(chunk);
    return ChunkArea && at >= ChunkArea && at < ChunkArea + CHUNK_AREA_BYTES;
}

// A chunk from the area while it lasts, else from malloc; nullptr when no memory can be had.
static SentenceChunk* NewChunk()
{
    static bool triedArea;
    if (!triedArea) {
        ChunkArea = MapChunkArea();
        triedArea = true;
    }
    if (ChunkArea && ChunkAreaUsed + sizeof(SentenceChunk) <= CHUNK_AREA_BYTES) {
        SentenceChunk* chunk = reinterpret_cast<SentenceChunk*>(ChunkArea + ChunkAreaUsed);
        ChunkAreaUsed += sizeof(SentenceChunk);
        return chunk;
    }
    return static_cast<SentenceChunk*>(malloc(sizeof(SentenceChunk)));
}

// Makes every chunk of the pool free for reuse; the memory stays with the pool.
static void RewindPool(SentencePool* pool)
{
    pool->current = nullptr;
}

// Gives the pool's allocated chunks back to the system; those of the area stay mapped.
static void ReleasePool(SentencePool* pool)
{
    while (pool->first) {
        SentenceChunk* next = pool->first->next;
        if (!InChunkArea(pool->first)) free(pool->first);
        pool->first = next;
    }
    pool->current = nullptr;
}

// size bytes (at most one line) from the pool, or nullptr when no memory can be had.
static char* TakeFromPool(SentencePool* pool, size_t size)
{
    SentenceChunk* chunk = pool->current;
    if (!chunk || chunk->used + size > sizeof chunk->bytes) {
        SentenceChunk* next = chunk ? chunk->next : pool->first;
        if (!next) {
            next = NewChunk();
            if (!next) return nullptr;
            next->next = nullptr;
            if (chunk)
                chunk->next = next;
            else
                pool->first = next;
        }
        next->used = 0;
        pool->current = chunk = next;
    }
    char* bytes = chunk->bytes + chunk->used;
    chunk->used += size;
    return bytes;
}

void FailSentenceAllocationsFrom(long n)
{
    SentenceAllocationsBeforeFailure = n;
}

static char* AllocateSentence(size_t size)
{
    if (SentenceAllocationsBeforeFailure == 0) return nullptr;
    if (SentenceAllocationsBeforeFailure > 0) SentenceAllocationsBeforeFailure--;
    return TakeFromPool(&PendingSentences, size);
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
    memset(&LoadedTemplate, 0, sizeof LoadedTemplate);
    HaveLoadedTemplate = false;
    ReleasePool(&LoadedSentences);
    ReleasePool(&PendingSentences);
    ChunkAreaUsed = 0;  // no pool holds a chunk of the area any more
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
    RewindPool(&PendingSentences);
    bool loaded = OpenTemplateFile(path) && ReadTitle() && ReadFlowData() && ReadSentenceData();
    if (!loaded) return 0;
    CloseTemplateFile();
    LoadedTemplate = PendingTemplate;
    LoadedSourceLines = PendingSourceLines;
    HaveLoadedTemplate = true;
    // The new sentences' chunks now belong to LoadedTemplate; the replaced ones are reused.
    SentencePool replaced = LoadedSentences;
    LoadedSentences = PendingSentences;
    PendingSentences = replaced;
    RewindPool(&PendingSentences);
    return 1;
}
