// resources_test.cpp - the compiled resources load in their Japanese version, with the menu's
// texts in code page 932 and the accelerators in their table.
#include <windows.h>

#include "res/resource.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

class Resources : public WindowTest {};

TEST_F(Resources, LoadInJapanese)
{
    const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    const struct {
        LPCSTR type, name;
    } resources[] = {
        {RT_MENU, "QUORVELMENU"},       {RT_ACCELERATOR, "QUORVELACCEL"},           {RT_DIALOG, "QUORVELABTDLG"},
        {RT_GROUP_ICON, "QUORVELICON"}, {RT_BITMAP, MAKEINTRESOURCEA(IDB_TOOLBAR)}, {RT_VERSION, MAKEINTRESOURCEA(1)},
    };
    for (const auto& resource : resources)
        EXPECT_NE(FindResourceExA(GetModuleHandleA(nullptr), resource.type, resource.name, japanese), nullptr);

    ASSERT_EQ(Start(""), 1);
    HMENU menu = GetMenu(MainWindow);
    const char* const popups[] = {"ﾌｧｲﾙ(&F)", "ﾆｭｰｽ(&N)", "ｵﾌﾟｼｮﾝ(&O)", "ﾍﾙﾌﾟ(&H)"};
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    char text[128];
    for (int submenu = 0; submenu < 4; submenu++) {
        GetMenuStringA(menu, submenu, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, popups[submenu]);
    }
    GetMenuStringA(menu, CMD_ABOUT, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "ﾊﾞｰｼﾞｮﾝ情報(&A)...");
    EXPECT_EQ(CopyAcceleratorTableA(AcceleratorTable, nullptr, 0), 7);
}

}  // namespace
