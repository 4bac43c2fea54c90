// dpi_test.cpp - the window at the display's resolution: the DPI the program reads, the toolbar's
// image strip and buttons, and the gap below the toolbar. These run, with the paint comparison,
// at 96 DPI and again at 144 and 192 DPI.
#include <windows.h>

#include <commctrl.h>

#include "ui/dpi.h"
#include "ui/view.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

// Each choice is checked against the bitmap it names, so a strip listed with the wrong size fails.
TEST(ToolbarStrips, TheStripDrawnNearestTheScaleIsChosen)
{
    const struct {
        int dpi, imageSize;
    } cases[] = {{72, 40}, {96, 40}, {115, 40}, {120, 60}, {144, 60}, {167, 60}, {168, 80}, {192, 80}, {288, 80}};
    for (const auto& c : cases) {
        const ToolbarStrip strip = ToolbarStripForDpi(c.dpi);
        EXPECT_EQ(strip.imageSize, c.imageSize) << c.dpi << " DPI";
        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(strip.bitmap));
        BITMAP size = {};
        GetObjectA(bitmap, sizeof size, &size);
        DeleteObject(bitmap);
        EXPECT_EQ(size.bmWidth, 8 * c.imageSize) << c.dpi << " DPI";
        EXPECT_EQ(size.bmHeight, c.imageSize) << c.dpi << " DPI";
    }
}

class DisplayResolution : public WindowTest {};

TEST_F(DisplayResolution, TheToolbarAndTheNewsAreaFollowTheDisplaysDpi)
{
    ASSERT_EQ(Start(""), 1);
    ShowMainWindow(SW_SHOWNORMAL);
    EXPECT_EQ(ScreenDpi, TestDpi());

    const int imageSize = ScaledForTest(40);
    int width = 0, height = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(ToolbarWindow, TB_GETIMAGELIST, 0, 0)), &width,
                          &height);
    EXPECT_EQ(width, imageSize);
    EXPECT_EQ(height, imageSize);
    RECT button, toolbar;
    ASSERT_TRUE(SendMessageA(ToolbarWindow, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&button)));
    GetClientRect(ToolbarWindow, &toolbar);
    EXPECT_GT(button.right - button.left, imageSize);
    EXPECT_GT(button.bottom - button.top, imageSize);
    EXPECT_LE(button.bottom, toolbar.bottom);

    ValidateRect(MainWindow, nullptr);
    RepaintNewsArea();
    RECT update;
    ASSERT_TRUE(GetUpdateRect(MainWindow, &update, FALSE));
    EXPECT_EQ(update.top, toolbar.bottom + ScaledForTest(3));
}

}  // namespace
