// paint_test.cpp - the news view's paint, with widths kept per font and each line drawn in one
// call, puts exactly the pixels on screen that measuring and drawing unit by unit does, at every
// DPI the window tests run at.
#include <string.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "layout/layout.h"
#include "template/template.h"
#include "ui/font.h"
#include "ui/view.h"
#include "ui/window.h"
#include "unit_by_unit_painter.h"
#include "window_test_support.h"

namespace {

// What the view painted before it kept widths: the news area erased, then the same layout
// walk with one GetTextExtentPoint32A and one TextOutA per unit. The area starts 3 pixels below
// the toolbar and the first line 4 pixels below it, both at 96 DPI and scaled to the run's DPI.
void PaintUnitByUnit()
{
    RECT client, toolbar;
    GetClientRect(MainWindow, &client);
    GetClientRect(ToolbarWindow, &toolbar);
    HDC dc = GetDC(MainWindow);
    RECT area = client;
    area.top = toolbar.bottom + ScaledForTest(3);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ kept = SelectObject(dc, DisplayFont);
    TEXTMETRICA font = {};
    GetTextMetricsA(dc, &font);
    LayOutNewsView({client.right, toolbar.bottom + ScaledForTest(4) - 4, font.tmHeight + font.tmExternalLeading,
                    font.tmMaxCharWidth},
                   DeviceUnitPainter(dc));
    SelectObject(dc, kept);
    ReleaseDC(MainWindow, dc);
}

// Every sentence of the loaded template in file order, as one news text: every character the
// template can show, wrapped at every width the sentences reach.
void ShowAllSentences()
{
    std::string text;
    for (int block = 0; block <= LoadedTemplate.LastBlock; block++)
        for (int s = 0; s < BlockSentenceCount(block); s++) text += LoadedTemplate.SentenceTable[block][s];
    text += "\n\n";
    ASSERT_LT(text.size(), sizeof NewsBuffer);
    strcpy(NewsBuffer, text.c_str());
    ShowNewsFromTop();
}

// The number of pixels where the view's own paint differs from the unit-by-unit paint.
size_t PixelsUnlikeUnitByUnit()
{
    RepaintNewsArea();
    UpdateWindow(MainWindow);
    int width, height;
    std::vector<DWORD> view = CaptureClientPixels(&width, &height);
    PaintUnitByUnit();
    std::vector<DWORD> units = CaptureClientPixels(&width, &height);
    size_t differing = 0;
    for (size_t i = 0; i < view.size(); i++) differing += ((view[i] ^ units[i]) & 0xFFFFFF) != 0;
    return differing;
}

class NewsPaint : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_EQ(Start(""), 1);
        ShowMainWindow(SW_SHOWNORMAL);
    }
};

// A new display font may come back with the old one's handle: no width of the old font may
// survive the change.
TEST_F(NewsPaint, LinesDrawnWholeMatchUnitsDrawnOneByOne)
{
    for (const char* sample : {"sports.vnt", "town-news.new"}) {
        ASSERT_EQ(LoadTemplate((std::string(ZENTAVO_SAMPLES) + "/" + sample).c_str()), 1) << sample;
        ShowAllSentences();
        EXPECT_EQ(PixelsUnlikeUnitByUnit(), 0u) << sample << " at the top";
        SendMessageA(MainWindow, WM_VSCROLL, SB_LINEDOWN, 0);
        EXPECT_EQ(PixelsUnlikeUnitByUnit(), 0u) << sample << " one line down";
    }
    // A proportional face: units that share a lead byte, or a trail byte (Ａ, 柿 and チ all end
    // in 0x60), have widths of their own, and so do narrow and wide letters.
    strcat(NewsBuffer, "Wil Ａ柿チ\n");
    ShowNewsFromTop();
    strcpy(DisplayLogFont.lfFaceName, "IPA Pゴシック");
    for (LONG height : {-24, -11}) {
        DeleteDisplayFont();
        DisplayLogFont.lfHeight = height;
        DisplayFont = CreateFontIndirectA(&DisplayLogFont);
        EXPECT_EQ(PixelsUnlikeUnitByUnit(), 0u) << "a font of height " << height;
    }
}

}  // namespace
