// font_test.cpp - the display font at window creation and through the font command, with the
// settings file present or missing.
#include <stddef.h>
#include <string.h>

#include <string>

#include "res/resource.h"
#include "settings/fontsettings.h"
#include "ui/font.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

const char FULL_FILE[] = "4294967280\r\n0\r\n0\r\n0\r\n700\r\n1\r\n0\r\n0\r\n128\r\n0\r\n0\r\n2\r\n49\r\nＭＳ 明朝";

// The font the platform made: what GetObjectA reports for DisplayFont.
LOGFONTA MadeFont()
{
    LOGFONTA made = {};
    EXPECT_EQ(GetObjectA(DisplayFont, sizeof made, &made), static_cast<int>(sizeof made));
    return made;
}

void ExpectFont(const LOGFONTA& font, LONG height, LONG weight, BYTE italic, BYTE quality, BYTE pitch, const char* face)
{
    EXPECT_EQ(font.lfHeight, height);
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfWeight, weight);
    EXPECT_EQ(font.lfItalic, italic);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(font.lfQuality, quality);
    EXPECT_EQ(font.lfPitchAndFamily, pitch);
    EXPECT_STREQ(font.lfFaceName, face);
}

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

TEST_F(FontCommand, CancelledKeepsTheSettingsReadAtWindowCreation)
{
    WriteScratchFile(FONT_SETTINGS_FILE, FULL_FILE);
    ASSERT_EQ(Start(""), 1);
    ExpectFont(MadeFont(), -16, 700, 1, 2, 49, "ＭＳ 明朝");
    ChooseFont(IDCANCEL);
    ASSERT_EQ(CaughtBoxes.size(), 1u);
    EXPECT_EQ(CaughtBoxes[0].owner, MainWindow);
    ExpectFont(DisplayLogFont, -16, 700, 1, 2, 49, "ＭＳ 明朝");
    EXPECT_EQ(ReadWholeFile(FONT_SETTINGS_FILE), FULL_FILE);
    ExpectFontReplaced();
}

TEST_F(FontCommand, ConfirmedWritesWhatTheDialogChose)
{
    ASSERT_EQ(Start(""), 1);
    ChooseFont(IDOK);
    ASSERT_GE(CaughtBoxes.size(), 1u);
    FontSettings written = {};
    ReadFontSettings(&written);
    EXPECT_EQ(memcmp(&written, &DisplayLogFont, offsetof(LOGFONTA, lfFaceName)), 0);
    EXPECT_STREQ(written.lfFaceName, DisplayLogFont.lfFaceName);
    ExpectFontReplaced();
}

}  // namespace
