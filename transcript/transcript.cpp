// transcript.cpp - the transcript file: opening, appending records, starting and stopping.
#include "transcript.h"

#include <string.h>

#include "compose/compose.h"
#include "core/host.h"
#include "core/textstream.h"
#include "template/template.h"

const char MSG_TRANSCRIPT_OPEN_FAILED[] = "ファイルのオープンに失敗しました";
const char MSG_TRANSCRIPT_WRITE_FAILED[] = "文章データの出力中にエラーが発生しました";

int RecordingFlag;
TextStream* TranscriptFile;

// Creates or empties the transcript at path. Returns 1, or 0 after warning that the file
// could not be opened.
static int OpenTranscript(const char* path)
{
    TextStream* file = OpenTextStream(path, TEXT_WRITE);
    if (!file) {
        ShowWarning(MSG_TRANSCRIPT_OPEN_FAILED);
        return 0;
    }
    TranscriptFile = file;
    return 1;
}

void StopTranscript()
{
    CloseTextStream(TranscriptFile);
    TranscriptFile = nullptr;
    RecordingFlag = 0;
    ShowRecordingMark(0);
}

// Writes one record, text then ending, and flushes it: the record reaches the file in one
// write, so a full disk is reported at once, everything reported as written is in the file,
// and a process killed mid-way never leaves a title without its line ends. Returns 1, or 0
// after warning and stopping recording.
static int AppendTranscript(const char* text, const char* ending)
{
    if (WriteText(TranscriptFile, text, strlen(text)) && WriteText(TranscriptFile, ending, strlen(ending)) &&
        FlushTextStream(TranscriptFile))
        return 1;
    ShowWarning(MSG_TRANSCRIPT_WRITE_FAILED);
    StopTranscript();
    return 0;
}

int StartTranscript(const char* path)
{
    if (!OpenTranscript(path)) return 0;
    if (LoadedTemplate.TitleBuffer[0] && !AppendTranscript(LoadedTemplate.TitleBuffer, "\n\n")) return 0;
    if (NewsBuffer[0] && !AppendTranscript(NewsBuffer, "")) return 0;
    RecordingFlag = 1;
    ShowRecordingMark(1);
    return 1;
}

int RecordTitle()
{
    return !RecordingFlag || AppendTranscript(LoadedTemplate.TitleBuffer, "\n\n");
}

int RecordNews()
{
    return !RecordingFlag || AppendTranscript(NewsBuffer, "");
}

void ProposeTranscriptName(char* path)
{
    // Scanning bytewise is safe: "." is never the second byte of a double-byte character.
    for (size_t index = strlen(path); index-- > 0;) {
        if (path[index] == '.' && index < 252) {
            memcpy(path + index + 1, "txt", 4);
            return;
        }
    }
}
