// view.h - the news view below the toolbar: painting, scrolling by lines and resizing.
//
// The scroll position (TopLine) and the line count of the latest paint (LineCount) belong to
// the portable layout walk (layout/layout.h); this is the window's side of them.
#ifndef ZENTAVO_UI_VIEW_H
#define ZENTAVO_UI_VIEW_H

#include <windows.h>

#include "layout/layout.h"

// Sets the scroll range to 0..1, as before any news has been painted.
void SetFirstScrollRange();

// The main window's WM_PAINT: lays out NewsBuffer in DisplayFont below the toolbar (the first line
// 4 pixels lower at 96 DPI, scaled to ScreenDpi), draws the
// lines from TopLine downwards and, when there was news to show, sets the scroll range to
// 0..LineCount-1. With no template or no news the area stays blank, LineCount becomes 0 and
// the range is left as it was.
void PaintNewsView(HWND window);

// The main window's WM_VSCROLL with its scroll code and thumb position. A line up or down moves
// TopLine by one within 0..LineCount-1, the thumb codes set it to position as it comes, and
// every other code leaves it; each code then sets the scroll position to TopLine.
void ScrollNewsView(int code, unsigned position);

// The main window's WM_SIZE: fits the toolbar to the new width and has the news area of window
// repainted, so that the text wraps anew. Before the toolbar exists the area starts at the top
// of the client area.
void ResizeNewsView(HWND window);

// Has the main window's client area from 3 pixels (at 96 DPI, scaled to ScreenDpi) below the
// toolbar downwards erased and repainted.
void RepaintNewsArea();

// A new news text is shown from its first line: repaints the news area, sets TopLine to 0 and
// puts the scroll box back at the top.
void ShowNewsFromTop();

// For tests: back to the first line, no lines counted, an empty scroll record.
void ResetNewsView();

#endif
