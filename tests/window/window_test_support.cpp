// window_test_support.cpp - the box-catching hook, the watchdog and the window tests' fixture.
#include "window_test_support.h"

#include <commctrl.h>
#include <dlgs.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "compose/compose.h"
#include "settings/fontsettings.h"
#include "template/template.h"
#include "transcript/transcript.h"
#include "ui/dpi.h"
#include "ui/filedialogs.h"
#include "ui/font.h"
#include "ui/view.h"
#include "ui/window.h"

std::vector<CaughtBox> CaughtBoxes;
std::deque<BoxReply> BoxReplies;
int BoxAnswer = IDOK;
void (*BoxChoice)(HWND box);

const char TEST_TEMPLATE_TITLE[] = "テスト町のニュース";
const char TEST_TEMPLATE[] =
    "; テスト用\r\n"
    "テスト町のニュース\r\n"
    "0,1,-1\r\n"
    "町長が\r\n/E\r\n"
    "踊りました。/@\r\n/E\r\n";

namespace {

const UINT WATCHDOG_MILLISECONDS = 10000;
// No test needs more boxes than this. Beyond it every box is cancelled: a box answered OK that
// only comes back (a dialog refusing its input) would otherwise keep the queue so busy that the
// watchdog's timer never comes.
const size_t MOST_BOXES = 20;
const char DIALOG_CLASS[] = "#32770";

HHOOK BoxHook;
UINT_PTR Watchdog;
std::deque<HWND> BoxesToAnswer;  // caught, waiting for a message loop to run
HWND LastCaughtBox;              // a box is caught again only when another one came up in between
bool WatchdogFired;

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM into)
{
    std::string text = TextOf(child);
    if (_stricmp(ClassOf(child).c_str(), "Static") == 0 && !text.empty())
        reinterpret_cast<std::vector<std::string>*>(into)->push_back(text);
    return TRUE;
}

BOOL CALLBACK FindEdit(HWND child, LPARAM into)
{
    if (_stricmp(ClassOf(child).c_str(), "Edit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(into) = child;
    return FALSE;
}

// A file dialog's name field: the edit control of its name box (a plain edit control, or the
// one inside the combo boxes that newer dialogs use).
HWND FileNameField(HWND box)
{
    HWND field = GetDlgItem(box, cmb13);
    if (!field) field = GetDlgItem(box, edt1);
    if (!field || _stricmp(ClassOf(field).c_str(), "Edit") == 0) return field;
    HWND edit = nullptr;
    EnumChildWindows(field, FindEdit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

void ReplyToBox(HWND box)
{
    CaughtBox caught = {};
    caught.window = box;
    caught.caption = TextOf(box);
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&caught.texts));
    caught.owner = GetWindow(box, GW_OWNER);
    caught.mainWindowVisible = MainWindow && IsWindowVisible(MainWindow);
    caught.focus = GetDlgCtrlID(GetFocus());
    HWND nameField = FileNameField(box);
    if (nameField) caught.fileName = TextOf(nameField);
    CaughtBoxes.push_back(caught);
    BoxReply reply = {BoxAnswer, ""};
    if (CaughtBoxes.size() > MOST_BOXES) {
        WatchdogFired = true;
        reply.answer = IDCANCEL;
    } else if (!BoxReplies.empty()) {
        reply = BoxReplies.front();
        BoxReplies.pop_front();
    }
    if (nameField && !reply.fileName.empty()) SetWindowTextA(nameField, reply.fileName.c_str());
    if (BoxChoice) BoxChoice(box);
    PostMessageA(box, WM_COMMAND, reply.answer, 0);
}

void CALLBACK AnswerCaughtBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (BoxesToAnswer.empty()) return;  // the test that caught it has ended
    HWND box = BoxesToAnswer.front();
    BoxesToAnswer.pop_front();
    if (IsWindow(box)) ReplyToBox(box);
}

BOOL CALLBACK CancelOpenBox(HWND window, LPARAM found)
{
    if (ClassOf(window) != DIALOG_CLASS || !IsWindowVisible(window)) return TRUE;
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

// Thread timers reach their procedure from any message loop, a modal box's included. Each caught
// box restarts the period, so a box found open has waited at least that long, however long the
// test itself takes on a busy machine.
void CALLBACK WatchdogProc(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), CancelOpenBox, reinterpret_cast<LPARAM>(&WatchdogFired));
}

// A box is read and answered from its own loop, once it has set itself up: a thread timer
// reaches its procedure from any message loop, and only when no other message is waiting. A box
// that is gone by then (a dialog that ended as soon as it became active again) counts as no box.
void CatchBox(HWND box)
{
    if (box == LastCaughtBox) return;
    LastCaughtBox = box;
    Watchdog = SetTimer(nullptr, Watchdog, WATCHDOG_MILLISECONDS, WatchdogProc);
    BoxesToAnswer.push_back(box);
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, AnswerCaughtBox);
}

LRESULT CALLBACK BoxHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && ClassOf(window) == DIALOG_CLASS) CatchBox(window);
    return CallNextHookEx(BoxHook, code, wParam, lParam);
}

// Modal boxes disable the main window while they are open.
void CALLBACK QuitWhenIdle(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!IsWindowEnabled(MainWindow)) return;
    KillTimer(nullptr, timer);
    PostQuitMessage(99);
}

void ResetProgramState()
{
    ResetMainWindow();
    ResetDisplayFont();
    ResetNewsView();
    ResetScreenDpi();
    if (RecordingFlag || TranscriptFile) StopTranscript();
    ResetTemplateStore();
    ResetComposer();
    ResetFileDialogs();
    remove(FONT_SETTINGS_FILE);
}

}  // namespace

void WindowTest::SetUp()
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    folder_ = folder;
    ResetProgramState();
    CaughtBoxes.clear();
    BoxReplies.clear();
    LastCaughtBox = nullptr;
    BoxAnswer = IDOK;
    BoxChoice = nullptr;
    WatchdogFired = false;
    BoxesToAnswer.clear();
    BoxHook = SetWindowsHookExA(WH_CBT, BoxHookProc, nullptr, GetCurrentThreadId());
    ASSERT_NE(BoxHook, nullptr);
    Watchdog = SetTimer(nullptr, 0, WATCHDOG_MILLISECONDS, WatchdogProc);
}

void WindowTest::TearDown()
{
    KillTimer(nullptr, Watchdog);
    UnhookWindowsHookEx(BoxHook);
    ResetProgramState();
    SetCurrentDirectoryA(folder_.c_str());
    EXPECT_FALSE(WatchdogFired) << "a modal box stayed open, or boxes kept coming, and they were cancelled";
    EXPECT_TRUE(BoxReplies.empty()) << "fewer boxes came up than the test expected";
}

int WindowTest::Start(const std::string& tail)
{
    tail_.assign(tail.begin(), tail.end());
    tail_.push_back('\0');
    return StartMainWindow(GetModuleHandleA(nullptr), tail_.data());
}

// A timer's message comes only when no posted message is waiting.
int WindowTest::RunMessageLoopUntilIdle()
{
    UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, QuitWhenIdle);
    int code = RunMessageLoop();
    KillTimer(nullptr, timer);
    return code;
}

void WindowTest::Command(int command)
{
    SendMessageA(MainWindow, WM_COMMAND, command, 0);
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

std::string TextOf(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ProgramFolder()
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    *strrchr(exe, '\\') = '\0';
    return exe;
}

std::string FullPath(const std::string& name)
{
    char path[MAX_PATH] = "";
    GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    return path;
}

int TestDpi()
{
    char dpi[16] = "";
    if (!GetEnvironmentVariableA("ZENTAVO_TEST_DPI", dpi, sizeof dpi)) return 96;
    return atoi(dpi);
}

int ScaledForTest(int pixels)
{
    return MulDiv(pixels, TestDpi(), 96);
}

std::vector<DWORD> DrawnPixels(int width, int height, const std::function<void(HDC)>& draw)
{
    std::vector<DWORD> pixels(width * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ kept = SelectObject(memory, bitmap);
    draw(memory);
    SelectObject(memory, kept);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<DWORD> CaptureClientPixels(int* width, int* height, HWND window)
{
    if (!window) window = MainWindow;
    RECT client;
    GetClientRect(window, &client);
    *width = client.right;
    *height = client.bottom;
    HDC shown = GetDC(window);
    std::vector<DWORD> pixels = DrawnPixels(client.right, client.bottom, [&](HDC memory) {
        BitBlt(memory, 0, 0, client.right, client.bottom, shown, 0, 0, SRCCOPY);
    });
    ReleaseDC(window, shown);
    return pixels;
}
