// view.h - the news view below the toolbar: its scroll state, painting, scrolling and resizing.
#ifndef ZENTAVO_UI_VIEW_H
#define ZENTAVO_UI_VIEW_H

#include <windows.h>

#include <stdint.h>

// ---- State, all defined in view.cpp ----
extern uint32_t TopLine;           // the first line drawn: the scroll position in lines
extern uint32_t LineCount;         // the line breaks the latest paint counted
extern SCROLLINFO NewsScrollInfo;  // the vertical scroll bar's record, kept for the whole run

// Sets the scroll range to 0..1, as before any news has been painted.
void SetFirstScrollRange();

// The main window's WM_PAINT: paints the news view of window.
void PaintNewsView(HWND window);

// The main window's WM_VSCROLL with its scroll code and thumb position.
void ScrollNewsView(int code, int position);

// The main window's WM_SIZE: fits the toolbar to the new width and has the news area of window
// repainted. Before the toolbar exists the area starts at the top of the client area.
void ResizeNewsView(HWND window);

// Has the main window's client area from 3 pixels below the toolbar downwards erased and
// repainted.
void RepaintNewsArea();

// For tests: back to the first line, no lines counted, an empty scroll record.
void ResetNewsView();

#endif
