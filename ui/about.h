// about.h - the about box "QUORVELABTDLG".
#ifndef ZENTAVO_UI_ABOUT_H
#define ZENTAVO_UI_ABOUT_H

#include <windows.h>

// The about box's dialog procedure: on WM_INITDIALOG returns 1 so that the focus goes to the OK
// button; any WM_COMMAND (the OK button, Enter, Esc or the close box) ends the box with 0 and
// returns 1; every other message returns 0.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
