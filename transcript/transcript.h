// transcript.h - recording opened titles and shown news into a text file.
//
// While recording is on, the title of every template opened (a title record: the title
// and two line feeds) and every news text shown (a news record: the text as it stands,
// ending in two line feeds) are appended to the transcript, each line feed as CR LF.
#ifndef ZENTAVO_TRANSCRIPT_TRANSCRIPT_H
#define ZENTAVO_TRANSCRIPT_TRANSCRIPT_H

struct TextStream;

// ---- State, all defined in transcript.cpp ----
extern int RecordingFlag;           // 1 while a transcript is being written
extern TextStream* TranscriptFile;  // open while recording, and while it starts

// Closes the transcript, turns recording off and clears the recording mark (ShowRecordingMark).
void StopTranscript();

// Starts recording into path: opens it, writes the current title and news (when there are
// any) and turns recording on with its mark. Returns 1, or 0 when the open or a write
// failed (after the warning; recording stays off). Each record is flushed as it is written.
int StartTranscript(const char* path);

// Appends the title record of LoadedTemplate when recording is on. Returns 0 only when
// the write failed (recording is then off).
int RecordTitle();

// Appends NewsBuffer as a news record when recording is on. Returns 0 only when the write
// failed (recording is then off).
int RecordNews();

// Turns a template's path into the transcript name the save dialog proposes: the text
// after the last "." that stands below index 252 becomes "txt" (so the result still fits
// a 256-byte buffer); a path without such a dot stays as it is. path is zero-terminated
// and lies in a buffer of at least 256 bytes.
void ProposeTranscriptName(char* path);

extern const char MSG_TRANSCRIPT_OPEN_FAILED[];
extern const char MSG_TRANSCRIPT_WRITE_FAILED[];

#endif
