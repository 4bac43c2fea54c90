// resources_test.cpp - the compiled resources load in their Japanese version, and both the
// resource compiler and the C++ compiler turn Japanese text into code page 932 bytes.
#include <windows.h>

#include "res/resource.h"
#include "template/template.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

class Resources : public WindowTest {};

TEST_F(Resources, LoadInJapaneseWithTheirTextsInCodePage932)
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
    char text[128];
    GetMenuStringA(GetMenu(MainWindow), 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "\xcc\xa7\xb2\xd9(&F)");                                                   // ﾌｧｲﾙ(&F)
    EXPECT_EQ(std::string(MSG_FILE_NOT_FOUND).substr(0, 8), "\x83\x74\x83\x40\x83\x43\x83\x8b");  // ファイル
    EXPECT_EQ(CopyAcceleratorTableA(AcceleratorTable, nullptr, 0), 9);
}

}  // namespace
