// startup_test.cpp - the program's start-up with and without a template, its failures, and shutdown.
#include <windows.h>

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

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
    // News seeds are the milliseconds since the start-up, on the system's clock.
    const uint32_t elapsed = ElapsedMilliseconds();
    EXPECT_LT(elapsed, 60000u);
    Sleep(200);
    EXPECT_GE(ElapsedMilliseconds() - elapsed, 150u);  // the system clock may tick in 16 ms steps
    EXPECT_LT(ElapsedMilliseconds() - elapsed, 5000u);
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

// The visible main window of the process, or nullptr while it has none.
HWND ShownMainWindowOf(DWORD processId)
{
    struct Search {
        DWORD processId;
        HWND found;
    } search = {processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            Search* search = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char className[16] = "";
            GetClassNameA(window, className, sizeof className);
            if (owner != search->processId || strcmp(className, MAIN_WINDOW_CLASS) || !IsWindowVisible(window))
                return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// quorvel.exe itself, started as a user starts it on a template: its window comes up with the
// template's title, and closing it ends the process with exit code 0.
TEST_F(ShutDown, TheProgramShowsTheTemplateAndEndsWithZeroWhenClosed)
{
    const std::string sample = std::string(ZENTAVO_SAMPLES) + "/town-news.new";
    ASSERT_EQ(LoadTemplate(sample.c_str()), 1);
    std::string command = "\"" + ProgramFolder() + "\\quorvel.exe\" " + sample;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    HWND window = nullptr;
    const bool timedOut = !WaitFor([&] {  // a program that ended will show no window
        return (window = ShownMainWindowOf(process.dwProcessId)) ||
               WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT;
    });
    EXPECT_NE(window, nullptr) << (timedOut ? "no window in 15 s" : "the program ended without one");
    if (window) {
        EXPECT_EQ(TextOf(window), LoadedTemplate.TitleBuffer);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
