// viewer_support.cpp - bounded waits for the help viewer's window.
#include "viewer_support.h"

const char kViewerClass[] = "MS_WINHELP";
const char kCaption[] = "Zentavo ヘルプ";  // the help file's title

// The viewer is another process: nothing of it can be waited on but its windows.
HWND WaitForViewer(DWORD timeout)
{
    DWORD deadline = GetTickCount() + timeout;
    for (;;) {
        HWND viewer = FindWindowA(kViewerClass, kCaption);
        if (viewer && IsWindowVisible(viewer)) return viewer;
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return nullptr;
        Sleep(50);
    }
}

bool WaitForViewerGone(DWORD timeout)
{
    DWORD deadline = GetTickCount() + timeout;
    while (FindWindowA(kViewerClass, nullptr)) {
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
        Sleep(50);
    }
    return true;
}

// Asked with a buffer of fixed size: across processes Wine's rich text control answers
// WM_GETTEXTLENGTH with 0.
std::string WindowText(HWND window)
{
    std::string text(65536, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    text.resize(copied);
    return text;
}
