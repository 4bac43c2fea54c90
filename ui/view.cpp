// view.cpp - the news view: the area below the toolbar, painting and scrolling.
#include "view.h"

#include <commctrl.h>

#include "ui/dpi.h"
#include "ui/font.h"
#include "ui/unitpainter.h"
#include "ui/window.h"

static_assert(sizeof(SCROLLINFO) == 28, "SCROLLINFO is 28 bytes");

static SCROLLINFO NewsScrollInfo;  // the vertical scroll bar's record, kept for the whole run

// The area that is erased and repainted starts a few pixels below the toolbar's client area, and
// its first line of text a pixel lower still: 3 and 4 pixels at 96 DPI, more at higher DPI. The
// layout walk puts the first line 4 pixels below the edge it is given, so it is given an edge moved
// down by whatever the text's gap has grown.
static const int NEWS_AREA_GAP = 3;
static const int NEWS_TEXT_GAP = 4;
static const int LAYOUT_TEXT_GAP = 4;

// Every paint sets the range, but setting it redraws the scroll bar, which costs more than
// drawing the whole news area; when the bar already shows this range there is nothing to change.
static void SetNewsScrollRange(int last)
{
    int shownFirst, shownLast;  // the first is always 0: no range is set anywhere else
    if (GetScrollRange(MainWindow, SB_VERT, &shownFirst, &shownLast) && shownLast == last) return;
    NewsScrollInfo.cbSize = sizeof NewsScrollInfo;
    NewsScrollInfo.fMask = SIF_RANGE;
    NewsScrollInfo.nMin = 0;
    NewsScrollInfo.nMax = last;
    SetScrollInfo(MainWindow, SB_VERT, &NewsScrollInfo, TRUE);
}

// The page size is never set, so the highest position is the range's end: the last line.
static void SetNewsScrollPosition(uint32_t line)
{
    NewsScrollInfo.cbSize = sizeof NewsScrollInfo;
    NewsScrollInfo.fMask = SIF_POS;
    NewsScrollInfo.nPos = static_cast<int>(line);
    SetScrollInfo(MainWindow, SB_VERT, &NewsScrollInfo, TRUE);
}

void SetFirstScrollRange()
{
    SetNewsScrollRange(1);
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
    area.top = ToolbarBottom() + ScaleToScreen(NEWS_AREA_GAP);
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
    RECT client = {};
    GetClientRect(window, &client);
    const LONG layoutEdge = ToolbarBottom() + ScaleToScreen(NEWS_TEXT_GAP) - LAYOUT_TEXT_GAP;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HGDIOBJ keptFont = SelectObject(dc, DisplayFont);
    TEXTMETRICA font = {};
    GetTextMetricsA(dc, &font);
    const LayoutMetrics metrics = {client.right, layoutEdge, font.tmHeight + font.tmExternalLeading,
                                   font.tmMaxCharWidth};
    // Nothing of the layout is kept: every paint walks the whole text again. Only the widths
    // of units are kept, per font, and each line goes to the screen in one call.
    static LinePainter painter;
    BeginLinePainting(&painter, dc, client.bottom);
    if (LayOutNewsView(metrics, LinePainterUnits(&painter))) SetNewsScrollRange(static_cast<int>(LineCount) - 1);
    FinishLinePainting(&painter);
    SelectObject(dc, keptFont);
    EndPaint(window, &paint);
}

// TopLine may lie beyond the last line after the text got shorter (a wider window, a smaller
// font); a line up then still steps back one line at a time.
static void ScrollOneLineUp()
{
    if (TopLine == 0) return;
    TopLine--;
    RepaintNewsArea();
}

static void ScrollOneLineDown()
{
    if (TopLine + 1 >= LineCount) return;
    TopLine++;
    RepaintNewsArea();
}

// The thumb's position is taken as it comes: the range it moves in is 0..LineCount-1 already.
static void ScrollToLine(unsigned position)
{
    TopLine = position;
    RepaintNewsArea();
}

void ScrollNewsView(int code, unsigned position)
{
    switch (code) {
        case SB_LINEUP: ScrollOneLineUp(); break;
        case SB_LINEDOWN: ScrollOneLineDown(); break;
        case SB_THUMBPOSITION: ScrollToLine(position); break;
        case SB_THUMBTRACK: ScrollToLine(position); break;
    }
    SetNewsScrollPosition(TopLine);
}

void ShowNewsFromTop()
{
    RepaintNewsArea();
    TopLine = 0;
    SetNewsScrollPosition(TopLine);
}

void ResetNewsView()
{
    ResetLayout();
    NewsScrollInfo = SCROLLINFO{};
}
