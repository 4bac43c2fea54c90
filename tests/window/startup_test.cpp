// startup_test.cpp - the program's start-up with and without a template, its failures, and shutdown.
#include <windows.h>

#include <commctrl.h>
#include <stdio.h>

#include "res/resource.h"
#include "template/template.h"
#include "transcript/transcript.h"
#include "ui/font.h"
#include "ui/menus.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

const char TEMPLATE_FILE[] = "zentavo-window-test.new";

class StartUp : public WindowTest {};

TEST_F(StartUp, WithoutAPathTheWindowWaitsHiddenWithShowGrayedAndRecordUnchecked)
{
    ASSERT_EQ(Start(""), 1);
    EXPECT_EQ(CommandLinePath, nullptr);
    EXPECT_EQ(Caption(), "Zentavo");
    EXPECT_FALSE(IsWindowVisible(MainWindow));
    EXPECT_EQ(AppInstance, GetModuleHandleA(nullptr));
    EXPECT_NE(AcceleratorTable, nullptr);
    EXPECT_TRUE(MenuState(NEWS_SUBMENU, CMD_SHOW) & MF_GRAYED);
    EXPECT_FALSE(ToolbarButtonEnabled(CMD_SHOW));
    EXPECT_FALSE(MenuState(OPTIONS_SUBMENU, CMD_RECORD) & MF_CHECKED);
    EXPECT_FALSE(ToolbarButtonChecked(CMD_RECORD));
    SCROLLINFO range = {sizeof range, SIF_RANGE, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(MainWindow, SB_VERT, &range));
    EXPECT_EQ(range.nMin, 0);
    EXPECT_EQ(range.nMax, 1);
    EXPECT_TRUE(CaughtBoxes.empty());
}

TEST_F(StartUp, AValidTemplateGivesItsTitleAsCaptionAndEnablesShow)
{
    WriteScratchFile(TEMPLATE_FILE, TEST_TEMPLATE);
    ASSERT_EQ(Start(TEMPLATE_FILE), 1);
    EXPECT_EQ(Caption(), TEST_TEMPLATE_TITLE);
    EXPECT_FALSE(MenuState(NEWS_SUBMENU, CMD_SHOW) & MF_GRAYED);
    EXPECT_TRUE(ToolbarButtonEnabled(CMD_SHOW));
    EXPECT_FALSE(MenuState(OPTIONS_SUBMENU, CMD_RECORD) & MF_CHECKED);
    EXPECT_FALSE(ToolbarButtonChecked(CMD_RECORD));
    EXPECT_TRUE(CaughtBoxes.empty());
}

// The loader's warning comes up owned by the main window before that is shown; the program then
// goes on with the caption "Zentavo" and the show command grayed.
TEST_F(StartUp, AFailingTemplateShowsTheLoadersWarningFirst)
{
    ASSERT_EQ(Start("\"zentavo-missing.new\""), 1);
    ASSERT_EQ(CaughtBoxes.size(), 1u);
    EXPECT_EQ(CaughtBoxes[0].caption, "Zentavo");
    EXPECT_EQ(CaughtBoxes[0].texts, std::vector<std::string>{MSG_FILE_NOT_FOUND});
    EXPECT_EQ(CaughtBoxes[0].owner, MainWindow);
    EXPECT_FALSE(CaughtBoxes[0].mainWindowVisible);
    EXPECT_EQ(Caption(), "Zentavo");
    EXPECT_TRUE(MenuState(NEWS_SUBMENU, CMD_SHOW) & MF_GRAYED);
    EXPECT_FALSE(ToolbarButtonEnabled(CMD_SHOW));
}

TEST_F(StartUp, EndsQuietlyWhenTheClassOrTheWindowCannotBeMade)
{
    WNDCLASSEXA taken = {};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = MAIN_WINDOW_CLASS;
    ASSERT_TRUE(RegisterClassExA(&taken));
    EXPECT_EQ(Start("\"zentavo-missing.new\""), 0);
    EXPECT_EQ(MainWindow, nullptr);
    UnregisterClassA(MAIN_WINDOW_CLASS, GetModuleHandleA(nullptr));

    RefuseMainWindowCreation = true;
    EXPECT_EQ(Start("\"zentavo-missing.new\""), 0);
    EXPECT_EQ(MainWindow, nullptr);
    EXPECT_EQ(ToolbarWindow, nullptr);
    EXPECT_TRUE(CaughtBoxes.empty());
}

// A resize while the main window is being created comes before the toolbar: the news area then
// starts at the top of the client area instead of below a toolbar that is not there.
TEST_F(StartUp, ResizingRepaintsBelowTheToolbarOrFromTheTopWithoutOne)
{
    ASSERT_EQ(Start(""), 1);
    ShowMainWindow(SW_SHOWNORMAL);
    RECT toolbar, update;
    GetClientRect(ToolbarWindow, &toolbar);
    ValidateRect(MainWindow, nullptr);
    SendMessageA(MainWindow, WM_SIZE, SIZE_RESTORED, 0);
    ASSERT_TRUE(GetUpdateRect(MainWindow, &update, FALSE));
    EXPECT_EQ(update.top, toolbar.bottom + 3);

    HWND toolbarWindow = ToolbarWindow;
    ToolbarWindow = nullptr;
    ValidateRect(MainWindow, nullptr);
    SendMessageA(MainWindow, WM_SIZE, SIZE_RESTORED, 0);
    ToolbarWindow = toolbarWindow;
    ASSERT_TRUE(GetUpdateRect(MainWindow, &update, FALSE));
    EXPECT_EQ(update.top, 3);
}

class ShutDown : public WindowTest {};

struct Ending {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool windowRemains;
};

void PrintTo(const Ending& ending, std::ostream* out)
{
    *out << ending.name;
}

class ShutDownBy : public WindowTest, public ::testing::WithParamInterface<Ending> {};

// Closing the window and the exit command both end the message loop with exit code 0 and release
// the display font; the exit command leaves the window itself to the end of the process.
TEST_P(ShutDownBy, EndsTheLoopWithZero)
{
    ASSERT_EQ(Start(""), 1);
    ShowMainWindow(SW_SHOWNORMAL);
    PostMessageA(MainWindow, GetParam().message, GetParam().wParam, 0);
    EXPECT_EQ(RunMessageLoopAtMost(), 0);
    EXPECT_EQ(IsWindow(MainWindow) != FALSE, GetParam().windowRemains);
    EXPECT_EQ(DisplayFont, nullptr);
}

INSTANTIATE_TEST_SUITE_P(CloseAndExit, ShutDownBy,
                         ::testing::Values(Ending{"CloseBox", WM_CLOSE, 0, false},
                                           Ending{"ExitCommand", WM_COMMAND, CMD_EXIT, true}),
                         [](const ::testing::TestParamInfo<Ending>& info) { return info.param.name; });

TEST_F(ShutDown, CtrlXExitsThroughTheAcceleratorTable)
{
    ASSERT_EQ(Start(""), 1);
    ShowMainWindow(SW_SHOWNORMAL);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(MainWindow, WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(RunMessageLoopAtMost(), 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(IsWindow(MainWindow));  // the exit command, not a close
}

TEST_F(ShutDown, ExitWhileRecordingClosesTheTranscriptAndClearsTheMarks)
{
    const char transcript[] = "zentavo-window-test.txt";
    WriteScratchFile(TEMPLATE_FILE, TEST_TEMPLATE);
    ASSERT_EQ(Start(TEMPLATE_FILE), 1);
    ASSERT_EQ(BeginTranscript(transcript), 1);
    EXPECT_TRUE(MenuState(OPTIONS_SUBMENU, CMD_RECORD) & MF_CHECKED);
    EXPECT_TRUE(ToolbarButtonChecked(CMD_RECORD));
    PostMessageA(MainWindow, WM_COMMAND, CMD_EXIT, 0);
    EXPECT_EQ(RunMessageLoopAtMost(), 0);
    EXPECT_EQ(RecordingFlag, 0);
    EXPECT_EQ(TranscriptFile, nullptr);
    EXPECT_FALSE(MenuState(OPTIONS_SUBMENU, CMD_RECORD) & MF_CHECKED);
    EXPECT_FALSE(ToolbarButtonChecked(CMD_RECORD));
    EXPECT_EQ(ReadWholeFile(transcript), std::string(TEST_TEMPLATE_TITLE) + "\r\n\r\n");
}

}  // namespace
