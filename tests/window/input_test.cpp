// input_test.cpp - every command reached the ways a user reaches it (its Ctrl key through the message
// loop, its menu item, its toolbar button clicked) does that command and no other, and each
// toolbar button shows its command's picture and tip.
#include <string.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "res/resource.h"
#include "ui/font.h"
#include "ui/view.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

const char TEMPLATE_FILE[] = "zentavo-input-test.new";
const char OLD_NEWS[] = "A\nB\nC\n\n";  // on screen before each command, scrolled to line 1

// Each command as the user meets it: its key (0: none), the start of its menu item's label, a
// word its tool tip must hold (nullptr: no toolbar button; the buttons come in this order from
// the left, each showing the cell of the image strip at its position) and what the user sees it
// do from line 1 of OLD_NEWS with every box cancelled (see SeenEffect).
const struct UserCommand {
    char key;
    const char* label;
    const char* tipWord;
    const char* effect;
} COMMANDS[] = {
    {'O', "開く", "開きます", "box 開く, line 1"},
    {'S', "表示", "ニュースを表示", "line 0, new news"},
    {'U', "上へ", "上へ", "line 0"},
    {'L', "下へ", "下へ", "line 2"},
    {'A', "保存", "保存", "box 保存, line 1"},
    {'F', "ﾌｫﾝﾄ", "フォント", "box フォントの指定, line 1"},
    {0, "目次", "ヘルプ", "help, line 1"},
    {0, "ﾊﾞｰｼﾞｮﾝ情報", "バージョン", "box Zentavoについて, line 1"},
    {'X', "終了", nullptr, "closed"},  // last: the program ends
};

bool HelpAsked;
WNDPROC ProgramProc;  // the main window's own procedure

// The main window's procedure with the help command taken away: the help system is another
// program, and the help command's own test opens it.
LRESULT CALLBACK WithoutHelp(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == CMD_HELP) return HelpAsked = true, 0;
    return CallWindowProcA(ProgramProc, window, message, wParam, lParam);
}

// What the user sees a command do: the boxes that came up, the help asked for, and, unless the
// program ended (its shutdown deletes the display font), the scroll position and new news.
std::string SeenEffect()
{
    std::string seen;
    for (const CaughtBox& box : CaughtBoxes) seen += "box " + box.caption + ", ";
    if (HelpAsked) seen += "help, ";
    if (!DisplayFont) return seen + "closed";
    seen += "line " + std::to_string(GetScrollPos(MainWindow, SB_VERT));
    return strcmp(NewsBuffer, OLD_NEWS) ? seen + ", new news" : seen;
}

// A click on the main menu's enabled item whose label starts with label.
void ChooseMenuItem(const char* label)
{
    HMENU bar = GetMenu(MainWindow);
    for (int submenu = 0; submenu < GetMenuItemCount(bar); submenu++) {
        HMENU menu = GetSubMenu(bar, submenu);
        for (int item = 0; item < GetMenuItemCount(menu); item++) {
            char text[128] = "";
            GetMenuStringA(menu, item, text, sizeof text, MF_BYPOSITION);
            if (strncmp(text, label, strlen(label)) != 0) continue;
            ASSERT_FALSE(GetMenuState(menu, item, MF_BYPOSITION) & MF_GRAYED) << label;
            SendMessageA(MainWindow, WM_COMMAND, GetMenuItemID(menu, item), 0);
            return;
        }
    }
    ADD_FAILURE() << "no menu item " << label;
}

// The rectangle of the index-th toolbar button (0 is the separator gap) in the toolbar's client area.
RECT ButtonRect(int index)
{
    RECT button = {};
    EXPECT_TRUE(SendMessageA(ToolbarWindow, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)));
    return button;
}

// A pixel of a strip cell that lets the button show through.
const DWORD CLEAR = 0xFF000000;

// The image at index of the toolbar's own image list, size pixels square: drawn on black and on
// white, the pixels that differ are CLEAR.
std::vector<DWORD> StripCell(HIMAGELIST strip, int index, int size)
{
    std::vector<DWORD> cell[2];
    for (int brush : {BLACK_BRUSH, WHITE_BRUSH})
        cell[brush == WHITE_BRUSH] = DrawnPixels(size, size, [&](HDC memory) {
            RECT all = {0, 0, size, size};
            FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(brush)));
            ImageList_Draw(strip, index, memory, 0, 0, ILD_NORMAL);
        });
    for (size_t i = 0; i < cell[0].size(); i++)
        if ((cell[0][i] ^ cell[1][i]) & 0xFFFFFF) cell[0][i] = CLEAR;
    return cell[0];
}

// Whether the toolbar, width pixels wide, shows the index-th cell of its image strip somewhere
// inside its index-th button.
bool ButtonShowsCell(const std::vector<DWORD>& toolbar, int width, int index)
{
    HIMAGELIST strip = reinterpret_cast<HIMAGELIST>(SendMessageA(ToolbarWindow, TB_GETIMAGELIST, 0, 0));
    int size, height;
    ImageList_GetIconSize(strip, &size, &height);
    const std::vector<DWORD> cell = StripCell(strip, index - 1, size);
    const RECT button = ButtonRect(index);
    for (int top = button.top; top + size <= button.bottom; top++)
        for (int left = button.left; left + size <= button.right; left++) {
            bool same = true;
            for (int i = 0; same && i < size * size; i++)
                same = cell[i] == CLEAR ||
                       ((toolbar[(top + i / size) * width + left + i % size] ^ cell[i]) & 0xFFFFFF) == 0;
            if (same) return true;
        }
    return false;
}

// The tip of the index-th button, asked for as the toolbar asks its owner when the mouse rests on
// a button.
std::string TipText(int index)
{
    TBBUTTON button = {};
    SendMessageA(ToolbarWindow, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    NMTTDISPINFOA tip = {};
    tip.hdr = {ToolbarWindow, static_cast<UINT_PTR>(button.idCommand), TTN_NEEDTEXTA};
    SendMessageA(MainWindow, WM_NOTIFY, ID_TOOLBAR, reinterpret_cast<LPARAM>(&tip));
    return tip.lpszText ? tip.lpszText : "";
}

// A click on the index-th toolbar button, as the mouse makes it.
void ClickToolbarButton(int index)
{
    RECT button = ButtonRect(index);
    LPARAM point = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageA(ToolbarWindow, WM_MOUSEMOVE, 0, point);
    SendMessageA(ToolbarWindow, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(ToolbarWindow, WM_LBUTTONUP, 0, point);
}

class UserCommands : public WindowTest, public ::testing::WithParamInterface<const char*> {
protected:
    // A visible window with the test template loaded; the help system is not started.
    void SetUp() override
    {
        WindowTest::SetUp();
        WriteScratchFile(TEMPLATE_FILE, TEST_TEMPLATE);
        ASSERT_EQ(Start(TEMPLATE_FILE), 1);
        ProgramProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(MainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WithoutHelp)));
        ShowMainWindow(SW_SHOWNORMAL);
        BoxAnswer = IDCANCEL;
    }

    // Ctrl and key pressed, handled by the program's own message loop.
    static void PressCtrlKey(char key)
    {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        PostMessageA(MainWindow, WM_KEYDOWN, key, 1);
        RunMessageLoopUntilIdle();
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }
};

// Each command from OLD_NEWS at line 1. The buttons are also seen before any is clicked: each
// shows its command's picture and tip.
TEST_P(UserCommands, DoTheirCommandAndNoOther)
{
    const std::string way = GetParam();
    int width, height;
    UpdateWindow(ToolbarWindow);
    const std::vector<DWORD> toolbar = CaptureClientPixels(&width, &height, ToolbarWindow);
    int button = 1;  // after the separator gap
    for (const UserCommand& c : COMMANDS) {
        if ((way == "key" && !c.key) || (way == "button" && !c.tipWord)) continue;
        SCOPED_TRACE(c.label);
        strcpy(NewsBuffer, OLD_NEWS);
        ShowNewsFromTop();
        UpdateWindow(MainWindow);
        SendMessageA(MainWindow, WM_VSCROLL, SB_LINEDOWN, 0);
        CaughtBoxes.clear();
        HelpAsked = false;
        if (way == "key") PressCtrlKey(c.key);
        if (way == "menu") ChooseMenuItem(c.label);
        if (way == "button") {
            EXPECT_TRUE(ButtonShowsCell(toolbar, width, button)) << "the picture";
            EXPECT_NE(TipText(button).find(c.tipWord), std::string::npos) << TipText(button);
            ClickToolbarButton(button++);
        }
        EXPECT_EQ(SeenEffect(), c.effect);
    }
    if (way == "button") {
        EXPECT_EQ(SendMessageA(ToolbarWindow, TB_BUTTONCOUNT, 0, 0), button) << "no other button";
        TBBUTTON gap = {};
        SendMessageA(ToolbarWindow, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&gap));
        EXPECT_TRUE(gap.fsStyle & BTNS_SEP) << "a separator before the first button, not a button of its own";
    }
}

INSTANTIATE_TEST_SUITE_P(ByEveryWay, UserCommands, ::testing::Values("key", "menu", "button"));

}  // namespace
