// view_test.cpp - the news view on screen: what painting draws where, scrolling by lines and by
// the thumb, and wrapping anew when the window is resized.
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "compose/compose.h"
#include "layout/layout.h"
#include "template/template.h"
#include "ui/font.h"
#include "ui/view.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

// The client area's pixels as the screen shows them, row by row.
struct Capture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[y * width + x] & 0xFFFFFF; }
    // Whether row y holds anything but the white background.
    bool RowHasInk(int y) const
    {
        for (int x = 0; x < width; x++)
            if (At(x, y) != 0xFFFFFF) return true;
        return false;
    }
    bool RowsEqual(int y, const Capture& other, int otherY) const
    {
        return memcmp(&pixels[y * width], &other.pixels[otherY * width], width * sizeof(DWORD)) == 0;
    }
};

class NewsView : public WindowTest {
protected:
    // A visible, empty main window; the news is set directly, as a show would leave it.
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_EQ(Start(""), 1);
        ShowMainWindow(SW_SHOWNORMAL);
        strcpy(LoadedTemplate.TitleBuffer, "T");
    }

    void ShowText(const char* text)
    {
        strcpy(NewsBuffer, text);
        ShowNewsFromTop();
        UpdateWindow(MainWindow);
    }

    static Capture CaptureClient()
    {
        UpdateWindow(MainWindow);
        Capture capture;
        capture.pixels = CaptureClientPixels(&capture.width, &capture.height);
        return capture;
    }

    static SCROLLINFO ScrollBar()
    {
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
        GetScrollInfo(MainWindow, SB_VERT, &info);
        return info;
    }

    static void Scroll(int code, int position = 0)
    {
        SendMessageA(MainWindow, WM_VSCROLL, MAKEWPARAM(code, position), 0);
        UpdateWindow(MainWindow);
    }
};

const char TEN_LINES[] = "一行目\n二行目\n三行目\n四行目\n五行目\n六行目\n七行目\n八行目\n九行目\n十行目\n\n";

// The text goes below the toolbar, leaving it untouched; one line down moves it up by one line.
TEST_F(NewsView, PaintsBelowTheToolbarAndScrollsByOneLineHeight)
{
    Capture empty = CaptureClient();
    ShowText(TEN_LINES);
    Capture shown = CaptureClient();
    RECT toolbar;
    GetClientRect(ToolbarWindow, &toolbar);
    HDC dc = GetDC(MainWindow);
    HGDIOBJ kept = SelectObject(dc, DisplayFont);
    TEXTMETRICA font;
    GetTextMetricsA(dc, &font);
    SelectObject(dc, kept);
    ReleaseDC(MainWindow, dc);
    const int firstLine = toolbar.bottom + 4, height = font.tmHeight + font.tmExternalLeading;
    for (int y = 0; y < firstLine; y++) ASSERT_TRUE(shown.RowsEqual(y, empty, y)) << "row " << y;
    bool ink = false;
    for (int y = firstLine; y < firstLine + height; y++) {
        EXPECT_FALSE(empty.RowHasInk(y)) << "row " << y;
        ink = ink || shown.RowHasInk(y);
    }
    EXPECT_TRUE(ink) << "the first line shows no text";
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(TopLine, 1u);
    Capture after = CaptureClient();
    ASSERT_GT(after.height - height, firstLine + height);
    for (int y = firstLine; y < after.height - height; y++)
        ASSERT_TRUE(after.RowsEqual(y, shown, y + height)) << "row " << y;
}

// Before any news nothing scrolls. Then each scroll code, from a view of "A\nB\n\n" (lines 0 to
// 2) scrolled to line 1.
TEST_F(NewsView, ScrollsByLinesOrToTheThumbWithinThePaintedRange)
{
    UpdateWindow(MainWindow);
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(TopLine, 0u);
    ShowText("A\nB\n\n");
    EXPECT_EQ(ScrollBar().nMax, 2);

    const struct {
        int code, position;
        uint32_t topLine;
    } cases[] = {
        {SB_LINEUP, 0, 0},        {SB_LINEDOWN, 0, 2},  {SB_THUMBPOSITION, 2, 2}, {SB_THUMBTRACK, 0, 0},
        {SB_THUMBPOSITION, 9, 9}, {SB_PAGEUP, 0, 1},    {SB_PAGEDOWN, 0, 1},      {SB_TOP, 0, 1},
        {SB_BOTTOM, 0, 1},        {SB_ENDSCROLL, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        TopLine = 1;
        Scroll(c.code, c.position);
        EXPECT_EQ(TopLine, c.topLine);
        EXPECT_EQ(ScrollBar().nPos, std::min<int>(c.topLine, 2));  // the bar keeps the box in range
    }
    TopLine = 2;  // line down stops at the last line
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(TopLine, 2u);
}

TEST_F(NewsView, ResizingWrapsTheTextAnew)
{
    ShowText("ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ\n\n");
    EXPECT_EQ(LineCount, 2u);
    RECT window;
    GetWindowRect(MainWindow, &window);
    SetWindowPos(MainWindow, nullptr, 0, 0, 160, window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(MainWindow);
    const uint32_t narrowLines = LineCount;
    EXPECT_GT(narrowLines, 3u);
    EXPECT_EQ(ScrollBar().nMax, static_cast<int>(narrowLines) - 1);
    SetWindowPos(MainWindow, nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(MainWindow);
    EXPECT_EQ(LineCount, 2u);
}

}  // namespace
