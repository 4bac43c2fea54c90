// scene.cpp - zentavo-scene.exe: puts a running quorvel.exe into one of the scenes that the
// screenshots show, from outside, the way a user would get there.
//
//   zentavo-scene.exe SCENE     puts the program into SCENE
//   zentavo-scene.exe --list    prints the name of every scene, one a line
//
// The table of scenes at the end is the one list of them: make screenshots takes a picture of
// each scene that --list prints. It sends the program the same commands its menu sends, answers the save dialog, and
// returns once the scene is on screen (exit code 0) or a wait has run out (exit code 1). Every wait is bounded.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <stdio.h>
#include <string.h>

#include "res/resource.h"

namespace {

const DWORD WAIT_MILLISECONDS = 10000;
const char MAIN_WINDOW_CLASS[] = "MyWin";
const char DIALOG_CLASS[] = "#32770";

HWND MainWindow;

// Polls found() until it gives a window or the time is up.
template <typename Find>
HWND WaitFor(Find found)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = found()) return window;
        if (GetTickCount() - start > WAIT_MILLISECONDS) return nullptr;
        Sleep(20);
    }
}

struct DialogSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM into)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(into);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (process != search->process || strcmp(name, DIALOG_CLASS) != 0 || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// The program's visible dialog or message box, if it shows one.
HWND ProgramDialog()
{
    DialogSearch search = {0, nullptr};
    GetWindowThreadProcessId(MainWindow, &search.process);
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A command that opens no dialog, done and painted when this returns: scrolling relies on the
// line count of the latest paint, as it does for a user, who sees the text before scrolling it.
bool Run(int command)
{
    DWORD_PTR ignored;
    if (!SendMessageTimeoutA(MainWindow, WM_COMMAND, command, 0, SMTO_NORMAL, WAIT_MILLISECONDS, &ignored))
        return false;
    return UpdateWindow(MainWindow) != FALSE;
}

bool Resize(int width, int height)
{
    if (!SetWindowPos(MainWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        return false;
    return UpdateWindow(MainWindow) != FALSE;
}

BOOL CALLBACK FindEdit(HWND child, LPARAM into)
{
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    if (_stricmp(name, "Edit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(into) = child;
    return FALSE;
}

// Types path into the save dialog's name field and confirms it; done when the dialog is gone.
bool AnswerSaveDialog(HWND dialog, const char* path)
{
    HWND field = GetDlgItem(dialog, cmb13);
    HWND edit = nullptr;
    if (field) EnumChildWindows(field, FindEdit, reinterpret_cast<LPARAM>(&edit));
    if (!edit) edit = GetDlgItem(dialog, edt1);
    if (!edit) return false;
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return WaitFor([] { return ProgramDialog() ? nullptr : MainWindow; }) != nullptr;
}

bool ShowNews()
{
    return Run(CMD_SHOW);
}

bool Narrow()
{
    RECT window;
    GetWindowRect(MainWindow, &window);
    return ShowNews() && Resize(300, window.bottom - window.top);
}

bool ScrolledDown()
{
    return ShowNews() && Resize(360, 400) && Run(CMD_DOWN);
}

// Recording into a new file in the temporary folder, chosen in the save dialog.
bool Recording()
{
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    strcat(path, "zentavo-screenshot.txt");
    DeleteFileA(path);
    if (!ShowNews()) return false;
    PostMessageA(MainWindow, WM_COMMAND, CMD_RECORD, 0);
    HWND dialog = WaitFor(ProgramDialog);
    if (!dialog || !AnswerSaveDialog(dialog, path)) return false;
    HWND toolbar = GetDlgItem(MainWindow, ID_TOOLBAR);
    return WaitFor([toolbar] { return SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_RECORD, 0) ? toolbar : nullptr; });
}

bool About()
{
    if (!ShowNews()) return false;
    PostMessageA(MainWindow, WM_COMMAND, CMD_ABOUT, 0);
    return WaitFor(ProgramDialog) != nullptr;
}

bool Startup()
{
    return true;
}

// After start-up, after a show, narrow, scrolled down, recording, the about box.
const struct {
    const char* name;
    bool (*set)();
} SCENES[] = {
    {"startup", Startup},       {"show", ShowNews},       {"narrow", Narrow},
    {"scrolled", ScrolledDown}, {"recording", Recording}, {"about", About},
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: zentavo-scene SCENE | --list\n");
        return 2;
    }
    if (strcmp(argv[1], "--list") == 0) {
        for (const auto& scene : SCENES) printf("%s\n", scene.name);
        return 0;
    }
    MainWindow = WaitFor([] {
        HWND window = FindWindowA(MAIN_WINDOW_CLASS, nullptr);
        return window && IsWindowVisible(window) ? window : nullptr;
    });
    if (!MainWindow) {
        fprintf(stderr, "zentavo-scene: no quorvel.exe window\n");
        return 1;
    }
    for (const auto& scene : SCENES) {
        if (strcmp(argv[1], scene.name) != 0) continue;
        if (scene.set()) return 0;
        fprintf(stderr, "zentavo-scene: the scene \"%s\" did not come about in time\n", scene.name);
        return 1;
    }
    fprintf(stderr, "zentavo-scene: no scene \"%s\"\n", argv[1]);
    return 2;
}
