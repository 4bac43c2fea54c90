// viewer_support.h - waiting for the platform's help viewer and reading what it shows, shared by
// the help file's viewer tests and the window program's help command test.
#ifndef ZENTAVO_TESTS_HELP_VIEWER_SUPPORT_H
#define ZENTAVO_TESTS_HELP_VIEWER_SUPPORT_H

#include <windows.h>

#include <string>

const DWORD HELP_VIEWER_TIMEOUT = 15000;  // milliseconds any wait for the viewer may take

// The viewer's window once it is visible with the help file's title as its caption, or nullptr
// when none appears within timeout milliseconds.
HWND WaitForViewer(DWORD timeout);

// Whether every viewer window has gone within timeout milliseconds.
bool WaitForViewerGone(DWORD timeout);

// A window's text, asked for across processes with a bounded wait.
std::string WindowText(HWND window);

#endif
