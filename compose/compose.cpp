// compose.cpp - the random source and the news composer.
#include "compose.h"

#include <stdio.h>
#include <string.h>

#include "template/template.h"

char NewsBuffer[NEWS_BUFFER_SIZE];
static char NewsBackup[NEWS_BUFFER_SIZE];  // the previous text while a show runs
uint32_t RandomSeed = 1;
static WallClockTime StartTime;  // taken once when the program starts

void RecordStartTime()
{
    StartTime = ReadWallClock();
}

uint32_t ElapsedMilliseconds()
{
    WallClockTime now = ReadWallClock();
    return (now.seconds - StartTime.seconds) * 1000u + now.milliseconds - StartTime.milliseconds;
}

uint8_t NextRandom7()
{
    RandomSeed = RandomSeed * 214013u + 2531011u;
    return static_cast<uint8_t>((RandomSeed >> 16) & 127);
}

// Draws until the value is an index from 0 to last; each is equally likely.
static uint8_t SelectIndex(uint8_t last)
{
    uint8_t r;
    do r = NextRandom7();
    while (r > last);
    return r;
}

void FormatUndefinedBlockMessage(char* out, unsigned block, unsigned line, unsigned element)
{
    snprintf(out, MESSAGE_BUFFER_SIZE, "定義されていないブロック%uが、流れデータ第%u行目の第%u個目で指定されました",
             block, line + 1, element + 1);
}

int ComposeNewsSeeded(uint32_t elapsed)
{
    const TemplateStore& store = LoadedTemplate;
    memset(NewsBuffer, 0, sizeof NewsBuffer);
    size_t length = 0;
    RandomSeed = elapsed;
    uint8_t line = SelectIndex(store.LastFlowLine);
    // A flow line without blocks or a block without sentences adds nothing.
    int elements = FlowLineLength(line);
    for (int element = 0; element < elements; element++) {
        uint8_t block = store.FlowTable[line][element];
        if (block > store.LastBlock) {
            char message[MESSAGE_BUFFER_SIZE];
            FormatUndefinedBlockMessage(message, block, line, element);
            ShowWarning(message);
            return 0;
        }
        int sentences = BlockSentenceCount(block);
        if (sentences == 0) continue;
        const char* sentence = store.SentenceTable[block][SelectIndex(static_cast<uint8_t>(sentences - 1))];
        size_t size = strlen(sentence);
        memcpy(NewsBuffer + length, sentence, size);
        length += size;
    }
    memcpy(NewsBuffer + length, "\n\n", 2);
    return 1;
}

int ComposeNextNewsSeeded(uint32_t elapsed)
{
    strcpy(NewsBackup, NewsBuffer);
    if (ComposeNewsSeeded(elapsed)) return 1;
    strcpy(NewsBuffer, NewsBackup);
    return 0;
}

int ComposeNextNews()
{
    return ComposeNextNewsSeeded(ElapsedMilliseconds());
}

void ResetComposer()
{
    memset(NewsBuffer, 0, sizeof NewsBuffer);
    memset(NewsBackup, 0, sizeof NewsBackup);
    RandomSeed = 1;
    StartTime = WallClockTime{};
}
