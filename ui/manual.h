// manual.h - which manual the help command opens: the help file in the system's help viewer, or,
// where the system has no such viewer, the same manual as an HTML page in the user's browser.
#ifndef ZENTAVO_UI_MANUAL_H
#define ZENTAVO_UI_MANUAL_H

#include <stddef.h>

// The HTML manual, looked for in the program's own folder.
extern const char HTML_MANUAL_FILE[];  // "QUORVEL.html"

// 1 when the running system comes with a viewer for help files (Windows 95 to XP, as the system
// reports its version), 0 on Windows Vista and later.
int SystemHasHelpViewer();

// Makes path, a file's full path as GetModuleFileNameA wrote it (length bytes in a buffer of
// size bytes), the path of HTML_MANUAL_FILE in the same folder. Returns 1, or 0 when the path
// was cut short (length reaches size) or the manual's path would not fit.
int PutManualBesideFile(char* path, size_t length, size_t size);

// Opens HTML_MANUAL_FILE from the folder that holds the program with the system's "open" action,
// which shows it in the user's browser from its top, the contents. Returns 1, or 0 when the page
// is not there or the system could not open it; nothing is shown then.
int OpenHtmlManual();

#endif
