// terminal.cpp - telling a UTF-8 terminal from a pipe, a file or a terminal in another code page.
#include "terminal.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#include <strings.h>
#include <unistd.h>

#include <string>
#endif

#ifdef _WIN32

bool IsUtf8Terminal(FILE* stream)
{
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode;
    return GetConsoleMode(handle, &mode) && GetConsoleOutputCP() == CP_UTF8;
}

#else

namespace {

// Asks the user's locale for its character set, then puts the program's own back, so that
// nothing else the program does depends on the user's locale.
bool UserLocaleIsUtf8()
{
    const char* current = setlocale(LC_CTYPE, nullptr);
    std::string saved = current ? current : "C";
    if (!setlocale(LC_CTYPE, "")) return false;
    const char* codeset = nl_langinfo(CODESET);
    bool utf8 = strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0;
    setlocale(LC_CTYPE, saved.c_str());
    return utf8;
}

}  // namespace

bool IsUtf8Terminal(FILE* stream)
{
    return isatty(fileno(stream)) && UserLocaleIsUtf8();
}

#endif
