// about.cpp - the about box's dialog procedure.
#include "about.h"

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    switch (message) {
        case WM_INITDIALOG: return 1;
        case WM_COMMAND: EndDialog(dialog, 0); return 1;
        default: return 0;
    }
}
