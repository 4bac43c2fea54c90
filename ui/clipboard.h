// clipboard.h - handing text to other programs through the clipboard.
#ifndef ZENTAVO_UI_CLIPBOARD_H
#define ZENTAVO_UI_CLIPBOARD_H

#include <windows.h>

#include <string>

// Replaces what the clipboard holds with text, given in code page 932 with line feeds: as
// Unicode text and as code page 932 text (marked as Japanese, so that programs convert it
// right), both with CR LF line ends. owner is the window that opens the clipboard. Returns 1,
// or 0 when memory is short or another program keeps the clipboard open; the clipboard is
// unchanged then.
int CopyTextToClipboard(HWND owner, const std::string& text);

// The warning the copy command shows when the clipboard could not be replaced.
extern const char MSG_COPY_FAILED[];

#endif
