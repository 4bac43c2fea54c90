// paint_test.cpp - the news view's paint, with widths kept per font and each line drawn in one
// call, puts exactly the pixels on screen that measuring and drawing unit by unit does.
#include <stdio.h>
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

// The client area's pixels as the screen shows them, row by row.
std::vector<DWORD> CaptureClient()
{
    int width, height;
    return CaptureClientPixels(&width, &height);
}

// What the view painted before it kept widths: the news area erased, then the same layout
// walk with one GetTextExtentPoint32A and one TextOutA per unit.
void PaintUnitByUnit()
{
    RECT client, toolbar;
    GetClientRect(MainWindow, &client);
    GetClientRect(ToolbarWindow, &toolbar);
    HDC dc = GetDC(MainWindow);
    RECT area = client;
    area.top = toolbar.bottom + 3;
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ kept = SelectObject(dc, DisplayFont);
    TEXTMETRICA font = {};
    GetTextMetricsA(dc, &font);
    LayOutNewsView({client.right, toolbar.bottom, font.tmHeight + font.tmExternalLeading, font.tmMaxCharWidth},
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

// Pixels of the view's own paint that differ from the unit-by-unit paint of the same text:
// all of them, and those where only the view's paint has ink (unit by unit left them white).
struct PaintDifference {
    size_t pixels = 0;
    size_t inkOnlyInView = 0;
};

PaintDifference CompareWithUnitByUnit()
{
    RepaintNewsArea();
    UpdateWindow(MainWindow);
    std::vector<DWORD> view = CaptureClient();
    PaintUnitByUnit();
    std::vector<DWORD> units = CaptureClient();
    PaintDifference difference;
    for (size_t i = 0; i < view.size(); i++) {
        if (!((view[i] ^ units[i]) & 0xFFFFFF)) continue;
        difference.pixels++;
        if ((units[i] & 0xFFFFFF) == 0xFFFFFF) difference.inkOnlyInView++;
    }
    return difference;
}

void ExpectSamePixelsAsUnitByUnit(const std::string& what)
{
    EXPECT_EQ(CompareWithUnitByUnit().pixels, 0u) << what << ": pixels that differ from drawing unit by unit";
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

TEST_F(NewsPaint, LinesDrawnWholeMatchUnitsDrawnOneByOne)
{
    for (const char* sample : {"town-news.new", "sports.vnt"}) {
        ASSERT_EQ(LoadTemplate((std::string(ZENTAVO_SAMPLES) + "/" + sample).c_str()), 1) << sample;
        ShowAllSentences();
        ExpectSamePixelsAsUnitByUnit(std::string(sample) + " at the top");
        SendMessageA(MainWindow, WM_VSCROLL, SB_LINEDOWN, 0);
        ExpectSamePixelsAsUnitByUnit(std::string(sample) + " one line down");
    }
}

// A new display font may come back with the old one's handle: no width of the old font may
// survive the change.
TEST_F(NewsPaint, WidthsFollowANewDisplayFont)
{
    ASSERT_EQ(LoadTemplate((std::string(ZENTAVO_SAMPLES) + "/town-news.new").c_str()), 1);
    ShowAllSentences();
    ExpectSamePixelsAsUnitByUnit("the default font");
    for (LONG height : {-24, -11}) {
        DeleteDisplayFont();
        DisplayLogFont.lfHeight = height;
        DisplayFont = CreateFontIndirectA(&DisplayLogFont);
        ExpectSamePixelsAsUnitByUnit("a font of height " + std::to_string(height));
    }
}

// Drawn unit by unit, each unit's opaque background erases whatever the glyph before it leans
// into its cell; drawn a line at a time, the background is filled once and every glyph stays
// whole. So an italic font may differ, but only by ink that drawing unit by unit cut off.
TEST_F(NewsPaint, AnItalicFontKeepsOnlyTheOverhangThatUnitsCutOff)
{
    ASSERT_EQ(LoadTemplate((std::string(ZENTAVO_SAMPLES) + "/town-news.new").c_str()), 1);
    ShowAllSentences();
    DeleteDisplayFont();
    DisplayLogFont.lfHeight = -12;
    DisplayLogFont.lfItalic = TRUE;
    DisplayFont = CreateFontIndirectA(&DisplayLogFont);
    PaintDifference difference = CompareWithUnitByUnit();
    EXPECT_EQ(difference.inkOnlyInView, difference.pixels);
    printf("italic 12-pixel font: %zu pixels differ, all ink the unit-by-unit paint cut off\n", difference.pixels);
}

}  // namespace
