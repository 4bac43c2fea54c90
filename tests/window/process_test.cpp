// process_test.cpp - the real quorvel.exe in its own process: started with a command line, found
// by its window, sent commands and ended from outside.
#include <string>

#include "res/resource.h"
#include "window_test_support.h"

namespace {

const DWORD WAIT_MILLISECONDS = 30000;

// A top-level window of windowClass that belongs to process (and is visible, if asked).
HWND FindProcessWindow(DWORD process, const char* windowClass, bool visibleOnly)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, windowClass, nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && (!visibleOnly || IsWindowVisible(window))) return window;
    }
    return nullptr;
}

// One run of quorvel.exe, ended (if still running) when the test ends.
class QuorvelProcess : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }

    // Starts quorvel.exe with the given tail after its quoted name.
    void Launch(const std::string& tail)
    {
        std::string commandLine = "\"" + BuiltQuorvelPath() + "\"" + tail;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &info_) != FALSE;
        ASSERT_TRUE(started_) << commandLine;
    }

    // Waits until the program shows its main window and returns it; nullptr when the program
    // ends or the time is up first.
    HWND WaitForMainWindow()
    {
        const DWORD start = GetTickCount();
        for (;;) {
            HWND window = FindProcessWindow(info_.dwProcessId, "MyWin", true);
            if (window) return window;
            if (GetTickCount() - start > WAIT_MILLISECONDS) return nullptr;
            // Paced by the process's own end: a program that quits stops the wait at once.
            if (WaitForSingleObject(info_.hProcess, 20) == WAIT_OBJECT_0) return nullptr;
        }
    }

    // Waits for the process to end and gives its exit code, or 259 (still active) on timeout.
    DWORD ExitCode()
    {
        WaitForSingleObject(info_.hProcess, WAIT_MILLISECONDS);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

    bool started_ = false;
    PROCESS_INFORMATION info_ = {};
};

// The show command, from another program while nothing is loaded, is ignored.
TEST_F(QuorvelProcess, BlanksAfterTheNameLoadNothingShowIsIgnoredAndExitCommandExitsWithZero)
{
    Launch("    ");
    HWND window = WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // Posted: a fault while the program's own loop dispatches it ends the process, where one in a
    // message sent from here could be absorbed on the way back.
    PostMessageA(window, WM_COMMAND, CMD_SHOW, 0);
    WaitForInputIdle(info_.hProcess, WAIT_MILLISECONDS);
    EXPECT_EQ(TextOf(window), "Zentavo");
    EXPECT_EQ(FindProcessWindow(info_.dwProcessId, "#32770", false), nullptr);
    PostMessageA(window, WM_COMMAND, CMD_EXIT, 0);
    EXPECT_EQ(ExitCode(), 0u);
}

}  // namespace
