// main.cpp - quorvel.exe's entry point: start the main window, show it and run the message loop.
#include <windows.h>

#include "ui/window.h"

// Returns the process exit code: 0 when the class or the main window cannot be made, otherwise
// the quit message's 0 once the main window has been shut down.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR tail, int showState)
{
    if (!StartMainWindow(instance, tail)) return 0;
    ShowMainWindow(showState);
    return RunMessageLoop();
}
