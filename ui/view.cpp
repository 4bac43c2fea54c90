// view.cpp - the news view: scroll state, the area below the toolbar, painting and scrolling.
#include "view.h"

#include <commctrl.h>

#include "ui/window.h"

static_assert(sizeof(SCROLLINFO) == 28, "SCROLLINFO is 28 bytes");

uint32_t TopLine;
uint32_t LineCount;
SCROLLINFO NewsScrollInfo;

// The news text starts a few pixels below the toolbar's client area.
static const LONG NEWS_AREA_GAP = 3;

void SetFirstScrollRange()
{
    NewsScrollInfo.cbSize = sizeof NewsScrollInfo;
    NewsScrollInfo.fMask = SIF_RANGE;
    NewsScrollInfo.nMin = 0;
    NewsScrollInfo.nMax = 1;
    SetScrollInfo(MainWindow, SB_VERT, &NewsScrollInfo, TRUE);
}

// The bottom of the toolbar's client area, or 0 while there is no toolbar yet (a resize can
// arrive while the main window is still being created).
static LONG ToolbarBottom()
{
    RECT toolbar;
    if (!ToolbarWindow || !GetClientRect(ToolbarWindow, &toolbar)) return 0;
    return toolbar.bottom;
}

static void InvalidateNewsArea(HWND window)
{
    RECT area;
    if (!GetClientRect(window, &area)) return;
    area.top = ToolbarBottom() + NEWS_AREA_GAP;
    InvalidateRect(window, &area, TRUE);
}

void RepaintNewsArea()
{
    InvalidateNewsArea(MainWindow);
}

void ResizeNewsView(HWND window)
{
    if (ToolbarWindow) SendMessageA(ToolbarWindow, TB_AUTOSIZE, 0, 0);
    InvalidateNewsArea(window);
}

void PaintNewsView(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

void ScrollNewsView(int, int) {}

void ResetNewsView()
{
    TopLine = 0;
    LineCount = 0;
    NewsScrollInfo = SCROLLINFO{};
}
