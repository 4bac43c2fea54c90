// resources_test.cpp - the compiled resources load in their Japanese version. (That the resource
// compiler and the C++ compiler both give code page 932 text shows in input_test.cpp, which finds
// the menu items by their labels.)
#include <windows.h>

#include "res/resource.h"
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
}

}  // namespace
