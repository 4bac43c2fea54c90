// window_test_support.h - what the window tests share: a clean start for every test, modal boxes
// caught and answered, and short ways to read the state of the menu and the toolbar.
#ifndef ZENTAVO_TESTS_WINDOW_TEST_SUPPORT_H
#define ZENTAVO_TESTS_WINDOW_TEST_SUPPORT_H

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "tests/test_support.h"

// A modal box (message box or dialog) as it looked when it became active.
struct CaughtBox {
    HWND window;
    std::string caption;
    std::vector<std::string> texts;  // the non-empty texts of its static controls, in order
    HWND owner;
    bool mainWindowVisible;  // whether MainWindow was visible while the box was up
    int focus;               // the id of the control that had the focus
    std::string fileName;    // file dialogs only: the name the dialog offered
};

// Every box caught since the test began, in order.
extern std::vector<CaughtBox> CaughtBoxes;

// How one caught box is answered.
struct BoxReply {
    int answer;            // the command the box gets: IDOK, IDCANCEL, IDYES, IDNO...
    std::string fileName;  // typed into a file dialog's name field first, unless empty
};

// Replies for the next boxes, used up in order; once they are used up, every box is answered
// with BoxAnswer (IDOK unless a test says otherwise). Before its answer, each box is handed to
// BoxChoice unless that is null.
extern std::deque<BoxReply> BoxReplies;
extern int BoxAnswer;
extern void (*BoxChoice)(HWND box);

// A template file with one flow line and two blocks, titled TEST_TEMPLATE_TITLE.
extern const char TEST_TEMPLATE_TITLE[];
extern const char TEST_TEMPLATE[];

// Every window test starts from the program's first state, with no settings file in the current
// folder, and catches modal boxes with a hook; a watchdog closes any box still open after a few
// seconds and fails the test, so that nothing waits forever.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the program's start-up on a copy of tail (kept for the test's life, since the path
    // points into it). Returns StartMainWindow's result.
    int Start(const std::string& tail);

    // Sends a command to the main window as the menu does.
    static void Command(int command);

    // RunMessageLoop until the program has handled every message posted to it and no box is
    // open; then it ends with the exit code 99, unless the program ended it first.
    static int RunMessageLoopUntilIdle();

    // State of the command's menu item in the main menu's submenu, as GetMenuState gives it.
    static UINT MenuState(int submenu, int command);
    static bool ToolbarButtonEnabled(int command);
    static bool ToolbarButtonChecked(int command);
    static std::string Caption();

private:
    std::vector<char> tail_;
    std::string folder_;  // the current folder at the start, which a file dialog may change
};

std::string TextOf(HWND window);

// Whether done() comes true within 15 seconds, asking every 50 milliseconds: for what another
// process shows or writes.
template <typename Condition>
bool WaitFor(Condition done)
{
    for (DWORD deadline = GetTickCount() + 15000; !done(); Sleep(50))
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
    return true;
}

// The folder of the test program, where the build also puts quorvel.exe, QUORVEL.HLP and
// QUORVEL.html.
std::string ProgramFolder();

// The full path of a file in the current folder.
std::string FullPath(const std::string& name);

// The display's DPI the run was started at: ZENTAVO_TEST_DPI, 96 when it is not set. The runs at
// other DPIs set it with the prefix's LogPixels (tests/CMakeLists.txt).
int TestDpi();

// A length of pixels at 96 DPI, at TestDpi().
int ScaledForTest(int pixels);

// The pixels that draw puts on a bitmap of the screen's format, width by height, row by row
// from the top, 32 bits each.
std::vector<DWORD> DrawnPixels(int width, int height, const std::function<void(HDC)>& draw);

// The client-area pixels of window (nullptr: the main window) as the screen shows them, row by row
// from the top, 32 bits each; width and height receive the area's size.
std::vector<DWORD> CaptureClientPixels(int* width, int* height, HWND window = nullptr);

#endif
