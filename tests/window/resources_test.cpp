// resources_test.cpp - the compiled resources as the program finds them: menu, accelerators,
// toolbar buttons, about box template, version block, image strip and icon.
#include <windows.h>

#include <commctrl.h>
#include <string.h>

#include <string>

#include "res/resource.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

const WORD JAPANESE = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// The bytes of a resource in its Japanese version, or nullptr.
const BYTE* JapaneseResource(LPCSTR name, LPCSTR type, DWORD* size = nullptr)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, name, JAPANESE);
    if (!found) return nullptr;
    if (size) *size = SizeofResource(module, found);
    return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

class Resources : public WindowTest {};

TEST_F(Resources, MenuHasItsTextsIdsAndSeparatorsInCodePage932)
{
    const struct {
        int submenu;
        const char* text;  // nullptr for a separator
        UINT command;
    } items[] = {
        {0, "開く(&O)...\tCtrl+O", CMD_OPEN},
        {0, nullptr, 0},
        {0, "終了(&X)\tCtrl+X", CMD_EXIT},
        {1, "表示(&S)\tCtrl+S", CMD_SHOW},
        {1, nullptr, 0},
        {1, "上へ(&U)\tCtrl+U", CMD_UP},
        {1, "下へ(&L)\tCtrl+L", CMD_DOWN},
        {2, "保存(&A)...\tCrtl+A", CMD_RECORD},
        {2, "ﾌｫﾝﾄ(&F)...\tCtrl+F", CMD_FONT},
        {3, "目次(&C)", CMD_HELP},
        {3, nullptr, 0},
        {3, "ﾊﾞｰｼﾞｮﾝ情報(&A)...", CMD_ABOUT},
    };
    const char* const popups[] = {"ﾌｧｲﾙ(&F)", "ﾆｭｰｽ(&N)", "ｵﾌﾟｼｮﾝ(&O)", "ﾍﾙﾌﾟ(&H)"};
    ASSERT_EQ(Start(""), 1);
    HMENU menu = GetMenu(MainWindow);
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    char text[128];
    for (int submenu = 0; submenu < 4; submenu++) {
        GetMenuStringA(menu, submenu, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, popups[submenu]);
    }
    int positions[4] = {};
    for (const auto& item : items) {
        HMENU popup = GetSubMenu(menu, item.submenu);
        int position = positions[item.submenu]++;
        UINT state = GetMenuState(popup, position, MF_BYPOSITION);
        if (!item.text) {
            EXPECT_TRUE(state & MF_SEPARATOR) << item.submenu << "/" << position;
            continue;
        }
        GetMenuStringA(popup, position, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, item.text);
        EXPECT_EQ(GetMenuItemID(popup, position), item.command) << text;
    }
    for (int submenu = 0; submenu < 4; submenu++)
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, submenu)), positions[submenu]);
}

TEST_F(Resources, AcceleratorsAreSevenCtrlLettersTheLastMarkedAsTheEnd)
{
    const struct {
        char key;
        WORD command;
    } expected[] = {{'A', CMD_RECORD}, {'F', CMD_FONT}, {'L', CMD_DOWN}, {'O', CMD_OPEN},
                    {'S', CMD_SHOW},   {'U', CMD_UP},   {'X', CMD_EXIT}};
    ASSERT_EQ(Start(""), 1);
    ACCEL table[16];
    ASSERT_EQ(CopyAcceleratorTableA(AcceleratorTable, table, 16), 7);
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(table[i].fVirt & 0x7F, FVIRTKEY | FNOINVERT | FCONTROL) << i;
        EXPECT_EQ(table[i].key, expected[i].key);
        EXPECT_EQ(table[i].cmd, expected[i].command);
    }
    // In the resource itself each entry is 8 bytes: flags, key, command, padding.
    DWORD size = 0;
    const BYTE* raw = JapaneseResource("QUORVELACCEL", RT_ACCELERATOR, &size);
    ASSERT_NE(raw, nullptr);
    ASSERT_EQ(size, 7u * 8);
    for (int i = 0; i < 7; i++) EXPECT_EQ(raw[i * 8], i == 6 ? 0x8B : 0x0B) << i;
}

TEST_F(Resources, ToolbarHasASeparatorAndEightPushButtonsInImageOrder)
{
    const int commands[] = {0, CMD_OPEN, CMD_SHOW, CMD_UP, CMD_DOWN, CMD_RECORD, CMD_FONT, CMD_HELP, CMD_ABOUT};
    ASSERT_EQ(Start(""), 1);
    EXPECT_EQ(GetParent(ToolbarWindow), MainWindow);
    EXPECT_EQ(GetDlgCtrlID(ToolbarWindow), ID_TOOLBAR);
    const LONG style = WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS;
    EXPECT_EQ(GetWindowLongA(ToolbarWindow, GWL_STYLE) & style, style);
    ASSERT_EQ(SendMessageA(ToolbarWindow, TB_BUTTONCOUNT, 0, 0), 9);
    for (int i = 0; i < 9; i++) {
        TBBUTTON button = {};
        ASSERT_TRUE(SendMessageA(ToolbarWindow, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.idCommand, commands[i]) << i;
        EXPECT_EQ(button.fsStyle, i == 0 ? TBSTYLE_SEP : TBSTYLE_BUTTON) << i;
        if (i == 0) continue;
        EXPECT_EQ(button.iBitmap, i - 1);
        // Only the show command starts disabled; nothing is checked.
        EXPECT_EQ(button.fsState, commands[i] == CMD_SHOW ? 0 : TBSTATE_ENABLED) << i;
    }
}

// A string as stored in a dialog template: UTF-16 up to a zero; moves p past it.
std::u16string TemplateString(const WORD*& p)
{
    std::u16string text;
    while (*p) text += static_cast<char16_t>(*p++);
    p++;
    return text;
}

TEST_F(Resources, AboutBoxTemplateHasItsStyleSizeFontAndSixControls)
{
    const struct {
        WORD windowClass;
        short id;
        DWORD style;
        short x, y, cx, cy;
        const char16_t* text;
    } controls[] = {
        {0x80, IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 45, 60, 35, 14, u"&OK"},
        {0x82, -1, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 35, 10, 90, 8, u"Zentavo for Windows 95"},
        {0x82, -1, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 35, 20, 36, 8, u"version 1.10"},
        {0x82, -1, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 10, 35, 108, 8, nullptr},
        {0x82, -1, WS_CHILD | WS_VISIBLE | SS_ICON, 10, 10, 18, 20, u"QUORVELICON"},
        {0x82, -1, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 20, 45, 104, 8, nullptr},
    };
    const BYTE* raw = JapaneseResource("QUORVELABTDLG", RT_DIALOG);
    ASSERT_NE(raw, nullptr);
    const DLGTEMPLATE* dialog = reinterpret_cast<const DLGTEMPLATE*>(raw);
    EXPECT_EQ(dialog->style, 0x80C800C0u);
    EXPECT_EQ(dialog->cdit, 6);
    EXPECT_EQ(dialog->x, 0);
    EXPECT_EQ(dialog->y, 0);
    EXPECT_EQ(dialog->cx, 129);
    EXPECT_EQ(dialog->cy, 80);
    const WORD* p = reinterpret_cast<const WORD*>(raw + 18);
    EXPECT_EQ(*p++, 0);  // no menu
    EXPECT_EQ(*p++, 0);  // the standard dialog class
    EXPECT_EQ(TemplateString(p), u"Zentavoについて");
    EXPECT_EQ(*p++, 9);
    EXPECT_EQ(TemplateString(p), u"ＭＳ Ｐゴシック");
    for (const auto& control : controls) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t{3});
        const DLGITEMTEMPLATE* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        EXPECT_EQ(item->style, control.style);
        EXPECT_EQ(item->x, control.x);
        EXPECT_EQ(item->y, control.y);
        EXPECT_EQ(item->cx, control.cx);
        EXPECT_EQ(item->cy, control.cy);
        EXPECT_EQ(static_cast<short>(item->id), control.id);
        p = reinterpret_cast<const WORD*>(item + 1);
        EXPECT_EQ(p[0], 0xFFFF);
        EXPECT_EQ(p[1], control.windowClass);
        p += 2;
        std::u16string text = TemplateString(p);
        if (control.text)
            EXPECT_EQ(text, control.text);
        else
            EXPECT_FALSE(text.empty());
        p += 1 + *p / 2;  // creation data: its size in bytes, then the data
    }
}

// The version block of quorvel.exe itself, next to the tests in the build.
TEST_F(Resources, VersionBlockNamesTheProgramInJapanese)
{
    const std::string path = BuiltQuorvelPath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << path;
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &block[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileOS, 0x40004u);
    EXPECT_EQ(fixed->dwFileType, 1u);
    const struct {
        const char* key;
        const char* value;
    } strings[] = {
        {"ProductName", "Zentavo for Windows 95 version 1.10"},
        {"FileDescription", "quorvel"},
        {"InternalName", "quorvel"},
        {"OriginalFilename", "quorvel.exe"},
        {"FileVersion", "1, 1, 0, 0"},
        {"ProductVersion", "1, 1, 0, 0"},
        {"Comments", "使ってくれてありがとう！ Thank you for your using!"},
    };
    for (const auto& s : strings) {
        char* value = nullptr;
        std::string key = std::string("\\StringFileInfo\\041104b0\\") + s.key;
        ASSERT_TRUE(VerQueryValueA(&block[0], key.c_str(), reinterpret_cast<void**>(&value), &length)) << s.key;
        EXPECT_STREQ(value, s.value);
    }
}

// The 16 standard colours in palette order, as the BMP stores them (blue, green, red, 0).
const BYTE STANDARD_PALETTE[16][4] = {
    {0, 0, 0, 0},     {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},   {128, 0, 0, 0}, {128, 0, 128, 0},
    {128, 128, 0, 0}, {192, 192, 192, 0}, {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0}, {0, 255, 255, 0},
    {255, 0, 0, 0},   {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
};

TEST_F(Resources, ImageStripAndIconAreSixteenColourImagesOfTheirSizes)
{
    const BYTE* strip = JapaneseResource(MAKEINTRESOURCEA(IDB_TOOLBAR), RT_BITMAP);
    ASSERT_NE(strip, nullptr);
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(strip);
    EXPECT_EQ(header->biWidth, 320);
    EXPECT_EQ(header->biHeight, 40);
    EXPECT_EQ(header->biBitCount, 4);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(memcmp(strip + header->biSize, STANDARD_PALETTE, sizeof STANDARD_PALETTE), 0);

    const BYTE* group = JapaneseResource("QUORVELICON", RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    // The icon directory: reserved, type 1, one entry of 32 by 32 pixels, 16 colours, 4 bits.
    const WORD* directory = reinterpret_cast<const WORD*>(group);
    EXPECT_EQ(directory[1], 1);
    ASSERT_EQ(directory[2], 1);
    const BYTE* entry = group + 6;
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(entry[2], 16);
    WORD bitCount, iconId;
    memcpy(&bitCount, entry + 6, 2);
    memcpy(&iconId, entry + 12, 2);
    EXPECT_EQ(bitCount, 4);
    const BYTE* icon = JapaneseResource(MAKEINTRESOURCEA(iconId), RT_ICON);
    ASSERT_NE(icon, nullptr);
    const BITMAPINFOHEADER* image = reinterpret_cast<const BITMAPINFOHEADER*>(icon);
    EXPECT_EQ(image->biWidth, 32);
    EXPECT_EQ(image->biHeight, 64);  // the colour image and its transparency mask
    EXPECT_EQ(image->biBitCount, 4);
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), "QUORVELICON"), nullptr);
}

}  // namespace
