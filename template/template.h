// template.h - the loaded template and the reader of template files.
//
// A template file holds a title, flow data (which sentence blocks make up one news item,
// and in which order) and sentence data (numbered blocks of alternative sentences). The
// one loaded template lives in LoadedTemplate; only LoadTemplate writes it.
#ifndef ZENTAVO_TEMPLATE_TEMPLATE_H
#define ZENTAVO_TEMPLATE_TEMPLATE_H

#include <stdint.h>

enum {
    MAX_FLOW_LINES = 100,
    MAX_FLOW_ELEMENTS = 100,
    MAX_BLOCKS = 100,
    MAX_SENTENCES = 100,
    // The read sizes are part of the template format, not tuning: a line longer than its read
    // limit is read as several lines, so they decide how every existing template splits into
    // sentences and flow lines. Title and sentence lines are read 255 bytes at a time, so a
    // sentence is at most 255 bytes; flow lines 304 bytes at a time, so that a full flow line of
    // 100 two-digit block numbers with its commas and end mark arrives in one piece.
    TITLE_BUFFER_SIZE = 256,
    TEMPLATE_LINE_BUFFER_SIZE = 256,
    FLOW_LINE_BUFFER_SIZE = 305,
};

// Every count is held in one byte as the index of its last entry, and an empty flow line or
// an empty block 0 as 255 (0 minus 1). Read the counts of flow lines and blocks through
// FlowLineLength and BlockSentenceCount, which decode this.
struct TemplateStore {
    char TitleBuffer[TITLE_BUFFER_SIZE];
    uint8_t FlowTable[MAX_FLOW_LINES][MAX_FLOW_ELEMENTS];
    uint8_t FlowLastElement[MAX_FLOW_LINES];
    uint8_t LastFlowLine;
    char* SentenceTable[MAX_BLOCKS][MAX_SENTENCES];  // each owned by the store
    uint8_t BlockLastSentence[MAX_BLOCKS];
    uint8_t LastBlock;
};

// Where each part of the last successfully loaded template stands in its file, for
// messages that point a template's author at a line.
struct TemplateSourceLines {
    unsigned long FlowLine[MAX_FLOW_LINES];  // line of each flow line
    unsigned long Block[MAX_BLOCKS];         // line of each block's first sentence or end mark
};

// ---- State, all defined in template.cpp ----
extern TemplateStore LoadedTemplate;  // the template in use; empty title before any load
extern TemplateSourceLines LoadedSourceLines;
extern unsigned long LastLoadFaultLine;  // file line where the last failed load stopped

// Reads the template file at path (code page 932 bytes), which may be saved in code page 932,
// UTF-8 or UTF-16 (see OpenTextStream); limits count the code page 932 bytes. Returns 1 when the whole file
// loaded; LoadedTemplate then holds it and the previous template's sentences are freed.
// Otherwise shows the warning for the first fault, leaves LoadedTemplate exactly as it was
// and returns 0.
int LoadTemplate(const char* path);

// The number of block numbers on flow line `line` of LoadedTemplate, 0 to 100.
int FlowLineLength(int line);

// The number of sentences of block `block` of LoadedTemplate, 0 to 100.
int BlockSentenceCount(int block);

// 1 once a load has succeeded (since program start or the last ResetTemplateStore), 0 before.
// Until then LoadedTemplate holds no sentences, and nothing may compose from it.
int TemplateIsLoaded();

// Frees every sentence and empties LoadedTemplate, as at program start.
void ResetTemplateStore();

// For tests: the n-th sentence allocation from now on (from 0) fails, as does every one
// after it until this is called again; -1 lets every allocation through.
void FailSentenceAllocationsFrom(long n);

// ---- Messages of the loader (code page 932) ----
extern const char MSG_FILE_NOT_FOUND[];
extern const char MSG_TITLE_READ_ERROR[];
extern const char MSG_FLOW_BAD_CHARACTER[];
extern const char MSG_FLOW_READ_ERROR[];
extern const char MSG_FLOW_TOO_MANY_ELEMENTS[];
extern const char MSG_FLOW_TOO_MANY_LINES[];
extern const char MSG_SENTENCE_READ_ERROR[];
extern const char MSG_TOO_MANY_BLOCKS[];
extern const char MSG_TOO_MANY_SENTENCES[];
extern const char MSG_OUT_OF_MEMORY[];
extern const char MSG_BROKEN_UTF8[];
extern const char MSG_BROKEN_UTF16[];

#endif
