// dialoglibrary.cpp - comdlg32.dll loaded when the first dialog opens, not at start-up.
//
// Linked the ordinary way, comdlg32.dll is loaded with the program, and under Wine it brings the
// shell's libraries along: a tenth of a second and a megabyte more at every start, for dialogs
// that many runs never open.
#include "dialoglibrary.h"

namespace {

// The named function of comdlg32.dll, which is loaded on the first call; nullptr when either
// cannot be had.
template <typename Function>
Function CommonDialogFunction(const char* name)
{
    static HMODULE library = LoadLibraryA("comdlg32.dll");
    FARPROC function = library ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(function));
}

}  // namespace

BOOL WINAPI OpenFileDialog(OPENFILENAMEA* record)
{
    static auto function = CommonDialogFunction<decltype(&GetOpenFileNameA)>("GetOpenFileNameA");
    return function ? function(record) : FALSE;
}

BOOL WINAPI SaveFileDialog(OPENFILENAMEA* record)
{
    static auto function = CommonDialogFunction<decltype(&GetSaveFileNameA)>("GetSaveFileNameA");
    return function ? function(record) : FALSE;
}

BOOL WINAPI FontDialog(CHOOSEFONTA* record)
{
    static auto function = CommonDialogFunction<decltype(&ChooseFontA)>("ChooseFontA");
    return function ? function(record) : FALSE;
}
