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
    TITLE_BUFFER_SIZE = 256,
    TEMPLATE_LINE_BUFFER_SIZE = 256,  // title and sentence lines: 255 bytes at a time
    FLOW_LINE_BUFFER_SIZE = 305,      // flow lines: 304 bytes at a time
};

// A last index of NO_ENTRIES marks a flow line without block numbers, or block 0 without
// sentences (the count 0 minus 1 in one byte). Such a line or block is used as empty.
const uint8_t NO_ENTRIES = 255;

// Every count is held as the index of its last entry.
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

// Reads the template file at path (code page 932 bytes). Returns 1 when the whole file
// loaded; LoadedTemplate then holds it and the previous template's sentences are freed.
// Otherwise shows the warning for the first fault, leaves LoadedTemplate exactly as it was
// and returns 0.
int LoadTemplate(const char* path);

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

#endif
