// view_test.cpp - the news view on screen: scrolling by lines and by the thumb, and wrapping anew
// when the window is resized. What the view paints is compared pixel by pixel in paint_test.cpp.
#include <string.h>

#include <algorithm>
#include <string>

#include "compose/compose.h"
#include "layout/layout.h"
#include "template/template.h"
#include "ui/view.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

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

// Each scroll code, from a view of "A\nB\n\n" (lines 0 to 2) scrolled to line 1.
TEST_F(NewsView, ScrollsByLinesOrToTheThumbWithinThePaintedRange)
{
    EXPECT_EQ(ScrollBar().nMax, 1);  // the range the program starts with, before any text
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
