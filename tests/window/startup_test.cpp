// startup_test.cpp - the program's start-up with and without a template, its failures, and shutdown.
#include <windows.h>

#include <commctrl.h>
#include <stdio.h>

#include "compose/compose.h"
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

// The loader's warning comes up owned by the main window before that is shown; the program then
// waits, hidden, as without a path: its own caption and show grayed.
TEST_F(StartUp, AFailingTemplateWarnsThenTheWindowWaitsWithNothingLoaded)
{
    ASSERT_EQ(Start("\"zentavo-missing.new\""), 1);
    ASSERT_EQ(CaughtBoxes.size(), 1u);
    EXPECT_EQ(CaughtBoxes[0].caption, "Zentavo");
    EXPECT_EQ(CaughtBoxes[0].texts, std::vector<std::string>{MSG_FILE_NOT_FOUND});
    EXPECT_EQ(CaughtBoxes[0].owner, MainWindow);
    EXPECT_FALSE(CaughtBoxes[0].mainWindowVisible);
    EXPECT_EQ(Caption(), "Zentavo");
    EXPECT_FALSE(IsWindowVisible(MainWindow));
    EXPECT_STREQ(DisplayLogFont.lfFaceName, "");  // no settings file
    EXPECT_TRUE(MenuState(NEWS_SUBMENU, CMD_SHOW) & MF_GRAYED);
    EXPECT_LT(ElapsedMilliseconds(), 60000u);  // news seeds count from the start-up
}

TEST_F(StartUp, EndsQuietlyWhenTheWindowClassCannotBeRegistered)
{
    WNDCLASSEXA taken = {};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = MAIN_WINDOW_CLASS;
    ASSERT_TRUE(RegisterClassExA(&taken));
    EXPECT_EQ(Start("\"zentavo-missing.new\""), 0);
    EXPECT_EQ(MainWindow, nullptr);
    EXPECT_TRUE(CaughtBoxes.empty());
    UnregisterClassA(MAIN_WINDOW_CLASS, GetModuleHandleA(nullptr));
}

class ShutDown : public WindowTest {};

// The exit command leaves the window itself to the end of the process.
TEST_F(ShutDown, ExitWhileRecordingEndsTheLoopAndClosesTheTranscript)
{
    const char transcript[] = "zentavo-window-test.txt";
    WriteScratchFile(TEMPLATE_FILE, TEST_TEMPLATE);
    ASSERT_EQ(Start(TEMPLATE_FILE), 1);
    ShowMainWindow(SW_SHOWNORMAL);
    ASSERT_EQ(StartTranscript(transcript), 1);
    Command(CMD_EXIT);
    EXPECT_EQ(RunMessageLoopUntilIdle(), 0);
    EXPECT_TRUE(IsWindow(MainWindow));
    EXPECT_EQ(DisplayFont, nullptr);
    EXPECT_EQ(RecordingFlag, 0);
    EXPECT_EQ(TranscriptFile, nullptr);
}

}  // namespace
