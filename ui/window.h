// window.h - the program's start-up, its main window and toolbar, the message loop and shutdown.
#ifndef ZENTAVO_UI_WINDOW_H
#define ZENTAVO_UI_WINDOW_H

#include <windows.h>

#include <commctrl.h>

// ---- State, all defined in window.cpp ----
extern HWND MainWindow;          // the main window, once CreateWindowExA has returned it
extern HWND ToolbarWindow;       // the toolbar, a child of MainWindow
extern HINSTANCE AppInstance;    // the program's module, kept after the main window exists
extern HACCEL AcceleratorTable;  // "QUORVELACCEL", translated by the message loop

extern const char MAIN_WINDOW_CLASS[];  // "MyWin"

// Everything up to showing the window: reads the screen's DPI, takes the template path from the command-line tail
// (see TemplatePathFromTail; tail may be changed), registers the window class, creates the main
// window (its WM_CREATE makes the display font), loads the accelerators, creates the toolbar,
// shows the record command unchecked, sets the scroll range to 0..1 and loads the template named
// on the command line. Returns 1, or 0 when the class cannot be registered or the main window
// cannot be created; nothing is shown in either case.
int StartMainWindow(HINSTANCE instance, char* tail);

// Shows the main window in the given show state and paints it.
void ShowMainWindow(int showState);

// Runs the message loop until the quit message and returns the quit message's wParam (0).
int RunMessageLoop();

// For tests: destroys the main window if there is one (its shutdown runs), removes the quit
// message that posts, unregisters the window class and forgets every handle.
void ResetMainWindow();

#endif
