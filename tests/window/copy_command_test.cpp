// copy_command_test.cpp - Ctrl+C and Ctrl+Insert put the news on screen on the clipboard, in
// Unicode and in code page 932 with CR LF line ends, and leave it alone while there is no news.
#include <string>

#include "res/resource.h"
#include "ui/clipboard.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

// A line break inside the news, and the blank lines that close every news text.
const char TWO_LINE_TEMPLATE[] = "二行のニュース\r\n0,1,-1\r\n町長が/@\r\n/E\r\n踊りました。\r\n/E\r\n";

// The key with Ctrl held, through the accelerator table as the message loop hands it over.
void PressCtrl(WPARAM key)
{
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG press = {MainWindow, WM_KEYDOWN, key, 0, 0, {0, 0}};
    EXPECT_TRUE(TranslateAcceleratorA(MainWindow, AcceleratorTable, &press)) << key;
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// The clipboard's text in the format, empty when it has none.
template <typename Char>
std::basic_string<Char> ClipboardText(UINT format)
{
    std::basic_string<Char> text;
    if (!OpenClipboard(nullptr)) return text;
    HANDLE block = GetClipboardData(format);
    if (const Char* data = block ? static_cast<const Char*>(GlobalLock(block)) : nullptr) {
        text = data;
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

class CopyCommand : public WindowTest {};

TEST_F(CopyCommand, CtrlCAndCtrlInsertCopyTheNewsOnScreenInBothForms)
{
    WriteScratchFile("two-lines.new", TWO_LINE_TEMPLATE);
    ASSERT_EQ(Start("two-lines.new"), 1);
    ASSERT_EQ(CopyTextToClipboard(nullptr, "old"), 1);
    PressCtrl('C');
    EXPECT_EQ(ClipboardText<char>(CF_TEXT), "old") << "no news on screen yet";
    Command(CMD_SHOW);
    for (WPARAM key : {WPARAM{'C'}, WPARAM{VK_INSERT}}) {
        ASSERT_EQ(CopyTextToClipboard(nullptr, "old"), 1);
        PressCtrl(key);
        EXPECT_EQ(ClipboardText<char>(CF_TEXT), "町長が\r\n踊りました。");
        EXPECT_EQ(ClipboardText<wchar_t>(CF_UNICODETEXT), L"町長が\r\n踊りました。");
    }
    EXPECT_TRUE(CaughtBoxes.empty());
}

TEST_F(CopyCommand, WarnsAndLeavesTheClipboardAloneWhileAnotherProgramHoldsItOpen)
{
    WriteScratchFile("two-lines.new", TWO_LINE_TEMPLATE);
    ASSERT_EQ(Start("two-lines.new"), 1);
    Command(CMD_SHOW);
    ASSERT_EQ(CopyTextToClipboard(nullptr, "old"), 1);
    ASSERT_TRUE(OpenClipboard(nullptr));  // held by another owner than the main window
    PressCtrl('C');
    CloseClipboard();
    ASSERT_EQ(CaughtBoxes.size(), 1u);
    EXPECT_EQ(CaughtBoxes[0].texts, std::vector<std::string>{MSG_COPY_FAILED});
    EXPECT_EQ(ClipboardText<char>(CF_TEXT), "old");
}

}  // namespace
