// dialoglibrary.h - the common dialogs the program opens, with comdlg32.dll loaded at the first.
#ifndef ZENTAVO_UI_DIALOGLIBRARY_H
#define ZENTAVO_UI_DIALOGLIBRARY_H

#include <windows.h>

#include <commdlg.h>

// GetOpenFileNameA, GetSaveFileNameA and ChooseFontA, each with the same contract, except that
// the first call loads comdlg32.dll; when it cannot be loaded they return FALSE at once, as a
// cancelled dialog does.
BOOL WINAPI OpenFileDialog(OPENFILENAMEA* record);
BOOL WINAPI SaveFileDialog(OPENFILENAMEA* record);
BOOL WINAPI FontDialog(CHOOSEFONTA* record);

#endif
