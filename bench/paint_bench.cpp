// paint_bench.cpp - paint_bench.exe: the news view's paint of the longest news text, timed in
// the real main window against one ExtTextOutA per laid-out line, side by side in one run.
//
//   paint_bench.exe TEMPLATE [ROUNDS]
//
// Starts the window program's own main window in this process with TEMPLATE (the largest
// template: every text from it is 25,502 bytes long), shows one text, and times, each round
// and with QueryPerformanceCounter around a forced paint after GdiFlush:
//   view      the program's WM_PAINT of the news area (RepaintNewsArea, then UpdateWindow);
//   lines     the same area painted by one ExtTextOutA per line that the layout laid out,
//             at the same places (the lines are laid out once, before the rounds);
//   units     the same area painted by measuring and drawing unit by unit, one
//             GetTextExtentPoint32A and one TextOutA each (for reference);
//   scroll    the paint that follows one line down (WM_VSCROLL with SB_LINEDOWN).
// Prints one JSON object with the median of each and the medians of the per-round ratios.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/win32_timing.h"
#include "compose/compose.h"
#include "layout/layout.h"
#include "template/template.h"
#include "tests/window/unit_by_unit_painter.h"
#include "ui/font.h"
#include "ui/view.h"
#include "ui/window.h"

namespace {

enum PaintMode { PAINT_VIEW, PAINT_LINES, PAINT_UNITS };
PaintMode Mode = PAINT_VIEW;
WNDPROC ProgramWndProc;

struct LaidOutLine {
    int32_t y;
    std::string bytes;
};
std::vector<LaidOutLine> Lines;

// The layout the program's paint uses: client width, toolbar bottom and the font's metrics.
LayoutMetrics ViewMetrics(HDC dc)
{
    RECT client, toolbar;
    GetClientRect(MainWindow, &client);
    GetClientRect(ToolbarWindow, &toolbar);
    TEXTMETRICA font = {};
    GetTextMetricsA(dc, &font);
    return LayoutMetrics{client.right, toolbar.bottom, font.tmHeight + font.tmExternalLeading, font.tmMaxCharWidth};
}

void RecordUnit(int32_t, int32_t y, const char* unit, int length, void*)
{
    if (Lines.empty() || Lines.back().y != y) Lines.push_back(LaidOutLine{y, ""});
    Lines.back().bytes.append(unit, length);
}

// Lays the text out once, as the view does, keeping each drawn line's bytes and place.
void LayOutLines()
{
    HDC dc = GetDC(MainWindow);
    HGDIOBJ kept = SelectObject(dc, DisplayFont);
    UnitPainter painter = DeviceUnitPainter(dc);
    painter.draw = RecordUnit;
    LayOutNewsView(ViewMetrics(dc), painter);
    SelectObject(dc, kept);
    ReleaseDC(MainWindow, dc);
}

void PaintLines(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HGDIOBJ kept = SelectObject(dc, DisplayFont);
    for (const LaidOutLine& line : Lines)
        ExtTextOutA(dc, 0, line.y, 0, nullptr, line.bytes.data(), static_cast<UINT>(line.bytes.size()), nullptr);
    SelectObject(dc, kept);
    EndPaint(window, &paint);
}

void PaintUnits(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HGDIOBJ kept = SelectObject(dc, DisplayFont);
    LayOutNewsView(ViewMetrics(dc), DeviceUnitPainter(dc));
    SelectObject(dc, kept);
    EndPaint(window, &paint);
}

LRESULT CALLBACK BenchWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && Mode == PAINT_LINES) {
        PaintLines(window);
        return 0;
    }
    if (message == WM_PAINT && Mode == PAINT_UNITS) {
        PaintUnits(window);
        return 0;
    }
    return CallWindowProcA(ProgramWndProc, window, message, wParam, lParam);
}

// One forced paint of the news area in the given mode, in seconds.
double TimePaint(PaintMode mode)
{
    Mode = mode;
    RepaintNewsArea();
    GdiFlush();
    double start = Now();
    UpdateWindow(MainWindow);
    GdiFlush();
    double seconds = Now() - start;
    Mode = PAINT_VIEW;
    return seconds;
}

// The paint that follows one line down, in seconds; then back up, untimed. The scroll
// message itself only moves TopLine and the scroll box.
double TimeScrollStep()
{
    SendMessageA(MainWindow, WM_VSCROLL, SB_LINEDOWN, 0);
    GdiFlush();
    double start = Now();
    UpdateWindow(MainWindow);
    GdiFlush();
    double seconds = Now() - start;
    SendMessageA(MainWindow, WM_VSCROLL, SB_LINEUP, 0);
    UpdateWindow(MainWindow);
    return seconds;
}

}  // namespace

// A console program, so that its report reaches standard output; the window is the
// program's own.
int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: paint_bench.exe TEMPLATE [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 2 ? atoi(argv[2]) : 21;
    std::vector<char> tail(argv[1], argv[1] + strlen(argv[1]) + 1);
    if (!StartMainWindow(GetModuleHandleA(nullptr), tail.data()) || !LoadedTemplate.TitleBuffer[0]) {
        fprintf(stderr, "paint_bench.exe: %s did not load\n", argv[1]);
        return 1;
    }
    ShowMainWindow(SW_SHOWNORMAL);
    if (!ComposeNewsSeeded(1)) return 1;
    ShowNewsFromTop();
    UpdateWindow(MainWindow);
    ProgramWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(MainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BenchWndProc)));
    LayOutLines();
    std::vector<double> view, lines, units, scroll, viewToLines, scrollToLines;
    for (int round = -1; round < rounds; round++) {  // round -1 warms up
        double v = TimePaint(PAINT_VIEW), l = TimePaint(PAINT_LINES), u = TimePaint(PAINT_UNITS);
        double s = TimeScrollStep();
        if (round < 0) continue;
        view.push_back(v);
        lines.push_back(l);
        units.push_back(u);
        scroll.push_back(s);
        viewToLines.push_back(v / l);
        scrollToLines.push_back(s / l);
    }
    RECT client;
    GetClientRect(MainWindow, &client);
    printf(
        "{\"rounds\": %d, \"bytes\": %u, \"lines\": %u, \"drawn_lines\": %u, \"client_height\": %ld, "
        "\"view_ms\": %.3f, \"lines_ms\": %.3f, \"units_ms\": %.3f, \"scroll_ms\": %.3f, "
        "\"view_to_lines\": %.3f, \"scroll_to_lines\": %.3f}\n",
        rounds, static_cast<unsigned>(strlen(NewsBuffer)), LineCount, static_cast<unsigned>(Lines.size()),
        client.bottom, Median(view) * 1e3, Median(lines) * 1e3, Median(units) * 1e3, Median(scroll) * 1e3,
        Median(viewToLines), Median(scrollToLines));
    fflush(stdout);
    DestroyWindow(MainWindow);
    return 0;
}
