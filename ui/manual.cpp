// manual.cpp - choosing between the help file and the HTML manual, and opening the HTML manual.
#include "manual.h"

#include <windows.h>

#include <shellapi.h>
#include <string.h>

#include "ui/window.h"

const char HTML_MANUAL_FILE[] = "QUORVEL.html";

int SystemHasHelpViewer()
{
    // Windows 95 to XP (4.x and 5.x) all come with the help file viewer. Windows Vista (6.0) and
    // everything after it come without: Windows 10 and 11 have only a stub that says the format is
    // not supported, Vista to 8.1 a viewer only when the user downloaded one. A stub answers like
    // a viewer, so asking for the viewer would not tell them apart; the version does. Windows 8.1
    // and later report 6.2 to a program without a compatibility manifest, which is still 6 or more.
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return 1;
    return version.dwMajorVersion < 6;
}

// Where the file name starts in a path of the system's code page: after the last backslash.
// CharNextA steps over whole characters, since the second byte of a double-byte character may
// have the backslash's value.
static char* FileNamePart(char* path)
{
    char* name = path;
    for (char* at = path; *at; at = CharNextA(at))
        if (*at == '\\') name = at + 1;
    return name;
}

int PutManualBesideFile(char* path, size_t length, size_t size)
{
    if (length == 0 || length >= size) return 0;  // a cut path names no folder we can trust
    char* name = FileNamePart(path);
    if (static_cast<size_t>(name - path) + sizeof HTML_MANUAL_FILE > size) return 0;
    strcpy(name, HTML_MANUAL_FILE);
    return 1;
}

int OpenHtmlManual()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (!PutManualBesideFile(path, length, sizeof path)) return 0;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    // ShellExecuteA's result is an error code up to 32 and success above it.
    HINSTANCE result = ShellExecuteA(MainWindow, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
