// page_recorder.cpp - stands in for the browser in the help command's tests: the test makes it the
// "open" action for HTML pages, and it writes the path it was asked to open into the file that
// the environment variable ZENTAVO_OPENED_PAGE names, so that no real browser ever starts.
#include <stdio.h>
#include <stdlib.h>

#include <string>

int main(int argc, char** argv)
{
    const char* record = getenv("ZENTAVO_OPENED_PAGE");
    if (argc != 2 || !record) return 2;
    // Written aside and then renamed, so that the test never reads half a path.
    const std::string part = std::string(record) + ".part";
    FILE* out = fopen(part.c_str(), "wb");
    if (!out) return 1;
    bool written = fputs(argv[1], out) >= 0;
    return fclose(out) == 0 && written && rename(part.c_str(), record) == 0 ? 0 : 1;
}
