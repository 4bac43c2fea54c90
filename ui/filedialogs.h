// filedialogs.h - the open dialog for templates and the save dialog for transcripts.
#ifndef ZENTAVO_UI_FILEDIALOGS_H
#define ZENTAVO_UI_FILEDIALOGS_H

enum { PATH_BUFFER_SIZE = 256, FILE_TITLE_SIZE = 64 };

// ---- State, defined in filedialogs.cpp ----
extern char PathBuffer[PATH_BUFFER_SIZE];  // the full path last confirmed in either dialog
extern char FileTitle[FILE_TITLE_SIZE];    // that file's name without its folder

// The open dialog "開く", owned by MainWindow, for an existing template ("*.new", "*.vnt" or any
// file), starting from path. Returns 1 when the user chose a file: its name without the folder
// is then in title (64 bytes) and its full path in path (256 bytes). Returns 0 when the dialog
// was cancelled or failed; title and path are then untouched.
int ChooseTemplateFile(char* title, char* path);

// The save dialog "保存", owned by MainWindow, for the transcript ("*.txt" or any file). It
// proposes path with its extension turned into "txt" (see ProposeTranscriptName) and asks
// before an existing file is replaced. Returns 1 or 0 and fills title and path as
// ChooseTemplateFile does.
int ChooseTranscriptFile(char* title, char* path);

// For tests: empties PathBuffer and FileTitle, as at program start.
void ResetFileDialogs();

#endif
