// window_test_support.cpp - the box-catching hook, the watchdog and the window tests' fixture.
#include "window_test_support.h"

#include <commctrl.h>
#include <stdio.h>

#include "compose/compose.h"
#include "settings/fontsettings.h"
#include "template/template.h"
#include "transcript/transcript.h"
#include "ui/font.h"
#include "ui/view.h"
#include "ui/window.h"

std::vector<CaughtBox> CaughtBoxes;
int BoxAnswer = IDOK;
bool RefuseMainWindowCreation;

const char TEST_TEMPLATE_TITLE[] = "テスト町のニュース";
const char TEST_TEMPLATE[] =
    "; テスト用\r\n"
    "テスト町のニュース\r\n"
    "0,1,-1\r\n"
    "町長が\r\n/E\r\n"
    "踊りました。/@\r\n/E\r\n";

namespace {

const UINT WATCHDOG_MILLISECONDS = 10000;
const char DIALOG_CLASS[] = "#32770";

HHOOK BoxHook;
UINT_PTR Watchdog;
std::vector<HWND> AnsweredBoxes;
bool WatchdogFired;

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM into)
{
    std::string text = TextOf(child);
    if (_stricmp(ClassOf(child).c_str(), "Static") == 0 && !text.empty())
        reinterpret_cast<std::vector<std::string>*>(into)->push_back(text);
    return TRUE;
}

void CatchBox(HWND box)
{
    for (HWND answered : AnsweredBoxes)
        if (answered == box) return;
    AnsweredBoxes.push_back(box);
    CaughtBox caught;
    caught.caption = TextOf(box);
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&caught.texts));
    caught.owner = GetWindow(box, GW_OWNER);
    caught.mainWindowVisible = MainWindow && IsWindowVisible(MainWindow);
    CaughtBoxes.push_back(caught);
    // Answered once its own loop runs, as a click on the button would be.
    PostMessageA(box, WM_COMMAND, BoxAnswer, 0);
}

LRESULT CALLBACK BoxHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && ClassOf(window) == DIALOG_CLASS) CatchBox(window);
    if (code == HCBT_CREATEWND && RefuseMainWindowCreation && ClassOf(window) == MAIN_WINDOW_CLASS) {
        RefuseMainWindowCreation = false;
        return 1;
    }
    return CallNextHookEx(BoxHook, code, wParam, lParam);
}

BOOL CALLBACK CancelOpenBox(HWND window, LPARAM)
{
    if (ClassOf(window) == DIALOG_CLASS && IsWindowVisible(window)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// Thread timers reach their procedure from any message loop, a modal box's included.
void CALLBACK WatchdogProc(HWND, UINT, UINT_PTR, DWORD)
{
    WatchdogFired = true;
    EnumThreadWindows(GetCurrentThreadId(), CancelOpenBox, 0);
}

void CALLBACK GiveUpLoop(HWND, UINT, UINT_PTR, DWORD)
{
    PostQuitMessage(99);
}

void ResetProgramState()
{
    ResetMainWindow();
    ResetDisplayFont();
    ResetNewsView();
    if (RecordingFlag || TranscriptFile) StopTranscript();
    ResetTemplateStore();
    ResetComposer();
    remove(FONT_SETTINGS_FILE);
}

}  // namespace

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string ReadFileBytes(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return "<missing>";
    std::string bytes;
    char block[4096];
    size_t count;
    while ((count = fread(block, 1, sizeof block, file)) > 0) bytes.append(block, count);
    fclose(file);
    return bytes;
}

void WindowTest::SetUp()
{
    ResetProgramState();
    CaughtBoxes.clear();
    AnsweredBoxes.clear();
    BoxAnswer = IDOK;
    RefuseMainWindowCreation = false;
    WatchdogFired = false;
    BoxHook = SetWindowsHookExA(WH_CBT, BoxHookProc, nullptr, GetCurrentThreadId());
    ASSERT_NE(BoxHook, nullptr);
    Watchdog = SetTimer(nullptr, 0, WATCHDOG_MILLISECONDS, WatchdogProc);
}

void WindowTest::TearDown()
{
    KillTimer(nullptr, Watchdog);
    UnhookWindowsHookEx(BoxHook);
    ResetProgramState();
    EXPECT_FALSE(WatchdogFired) << "a modal box stayed open and was cancelled by the watchdog";
}

int WindowTest::Start(const std::string& tail)
{
    tail_.assign(tail.begin(), tail.end());
    tail_.push_back('\0');
    return StartMainWindow(GetModuleHandleA(nullptr), tail_.data());
}

int WindowTest::RunMessageLoopAtMost()
{
    UINT_PTR timer = SetTimer(nullptr, 0, WATCHDOG_MILLISECONDS, GiveUpLoop);
    int code = RunMessageLoop();
    KillTimer(nullptr, timer);
    return code;
}

UINT WindowTest::MenuState(int submenu, int command)
{
    return GetMenuState(GetSubMenu(GetMenu(MainWindow), submenu), command, MF_BYCOMMAND);
}

bool WindowTest::ToolbarButtonEnabled(int command)
{
    return SendMessageA(ToolbarWindow, TB_ISBUTTONENABLED, command, 0) != 0;
}

bool WindowTest::ToolbarButtonChecked(int command)
{
    return SendMessageA(ToolbarWindow, TB_ISBUTTONCHECKED, command, 0) != 0;
}

std::string WindowTest::Caption()
{
    return TextOf(MainWindow);
}

std::string BuiltQuorvelPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string module = path;
    return module.substr(0, module.find_last_of('\\')) + "\\quorvel.exe";
}
