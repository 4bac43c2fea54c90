// font_test.cpp - the display font at window creation and through the font command, with the
// settings file present or missing.
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "res/resource.h"
#include "settings/fontsettings.h"
#include "ui/font.h"
#include "ui/window.h"
#include "window_test_support.h"

#include <dlgs.h>

namespace {

const char FULL_FILE[] = "4294967280\r\n0\r\n0\r\n0\r\n700\r\n1\r\n0\r\n0\r\n128\r\n0\r\n0\r\n2\r\n49\r\nＭＳ 明朝";

// The font the platform made: what GetObjectA reports for DisplayFont.
LOGFONTA MadeFont()
{
    LOGFONTA made = {};
    EXPECT_EQ(GetObjectA(DisplayFont, sizeof made, &made), static_cast<int>(sizeof made));
    return made;
}

// The fields the settings file and the font dialog set, as one comparable row.
std::string FontRow(const LOGFONTA& font)
{
    char row[128];
    snprintf(row, sizeof row, "%ld %ld %ld %d %d %d %d %s", font.lfHeight, font.lfWidth, font.lfWeight, font.lfItalic,
             font.lfCharSet, font.lfQuality, font.lfPitchAndFamily, font.lfFaceName);
    return row;
}

const char FULL_FILE_ROW[] = "-16 0 700 1 128 2 49 ＭＳ 明朝";

class FontCommand : public WindowTest {
protected:
    // Runs the font command the way the menu does, with the dialog answered by answer.
    void ChooseFont(int answer)
    {
        BoxAnswer = answer;
        oldFont_ = DisplayFont;
        ShowMainWindow(SW_SHOWNORMAL);
        ValidateRect(MainWindow, nullptr);
        SendMessageA(MainWindow, WM_COMMAND, CMD_FONT, 0);
    }

    // The old font is gone, the new one is made from DisplayLogFont, and the view is repainted.
    void ExpectFontReplaced()
    {
        EXPECT_EQ(GetObjectType(oldFont_), 0u);
        LOGFONTA made = MadeFont();
        EXPECT_EQ(made.lfHeight, DisplayLogFont.lfHeight);
        EXPECT_STREQ(made.lfFaceName, DisplayLogFont.lfFaceName);
        RECT client, update;
        GetClientRect(MainWindow, &client);
        ASSERT_TRUE(GetUpdateRect(MainWindow, &update, FALSE));
        EXPECT_TRUE(EqualRect(&update, &client));
    }

    HFONT oldFont_ = nullptr;
};

// What a user picks in the font dialog before OK: a face from the list of faces and a size from
// the list of its sizes, each followed by the notice the dialog acts on.
const char CHOSEN_FACE[] = "IPA明朝";
const int CHOSEN_POINTS = 20;

void PickFaceAndSize(HWND dialog)
{
    const struct {
        int list;
        std::string item;
    } picks[] = {{cmb1, CHOSEN_FACE}, {cmb3, std::to_string(CHOSEN_POINTS)}};
    for (const auto& pick : picks) {
        HWND list = GetDlgItem(dialog, pick.list);
        LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(pick.item.c_str()));
        ASSERT_NE(index, CB_ERR) << pick.item;
        SendMessageA(list, CB_SETCURSEL, index, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(pick.list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
}

// The settings file is read at window creation, and by the font command over a fixed-pitch
// Shift-JIS "System" (not over the font in use). Cancelled, the command still writes what it
// read, here a file that had lost its last nine lines; a face and size picked and confirmed are
// shown and kept.
TEST_F(FontCommand, WritesTheFontInUseEvenWhenCancelledAndKeepsAConfirmedChoice)
{
    WriteScratchFile(FONT_SETTINGS_FILE, FULL_FILE);
    ASSERT_EQ(Start(""), 1);
    EXPECT_EQ(FontRow(MadeFont()), FULL_FILE_ROW);
    const std::string firstFive = "4294967280\r\n0\r\n0\r\n0\r\n700\r\n";
    WriteScratchFile(FONT_SETTINGS_FILE, firstFive);
    ChooseFont(IDCANCEL);
    EXPECT_EQ(CaughtBoxes.at(0).owner, MainWindow);
    EXPECT_EQ(ReadWholeFile(FONT_SETTINGS_FILE), firstFive + "0\r\n0\r\n0\r\n128\r\n0\r\n0\r\n0\r\n1\r\nSystem");
    ExpectFontReplaced();

    BoxChoice = PickFaceAndSize;
    ChooseFont(IDOK);
    ExpectFontReplaced();
    LOGFONTA made = MadeFont();
    EXPECT_STREQ(made.lfFaceName, CHOSEN_FACE);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(made.lfHeight, -MulDiv(CHOSEN_POINTS, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    FontSettings written = {};
    ReadFontSettings(&written);
    LOGFONTA kept;
    memcpy(&kept, &written, sizeof kept);
    EXPECT_EQ(FontRow(kept), FontRow(made));
}

}  // namespace
