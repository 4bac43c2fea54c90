// settings_fuzzer.cpp - the settings file reader on arbitrary bytes, and writing back.
//
// The input is the whole of "quorvel.ini". Reading must never write beyond the record (the
// face name above all), and what is then written must read back to the same record.
#include <stddef.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "fuzz/fuzz_host.h"
#include "settings/fontsettings.h"

namespace {

FontSettings FontCommandDefaults()
{
    FontSettings record{};
    record.lfCharSet = 128;
    record.lfPitchAndFamily = 1;
    strcpy(record.lfFaceName, "System");
    return record;
}

bool SameFont(const FontSettings& a, const FontSettings& b)
{
    return memcmp(&a, &b, offsetof(FontSettings, lfFaceName)) == 0 && strcmp(a.lfFaceName, b.lfFaceName) == 0;
}

char ScratchFolder[] = "/tmp/zentavo-settings-fuzz-XXXXXX";

void LeaveScratchFolder()
{
    unlink(FONT_SETTINGS_FILE);
    rmdir(ScratchFolder);
}

// The settings file is "quorvel.ini" in the current folder: a scratch folder whose
// quorvel.ini is a link to the in-memory input file, removed again at exit.
void EnterScratchFolder()
{
    static bool entered = false;
    if (entered) return;
    FuzzRequire(mkdtemp(ScratchFolder) != nullptr && chdir(ScratchFolder) == 0, "a scratch folder to work in");
    FuzzRequire(symlink(WriteFuzzFile(0, nullptr, 0), FONT_SETTINGS_FILE) == 0, "quorvel.ini leads to the input");
    atexit(LeaveScratchFolder);
    entered = true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnterScratchFolder();
    WriteFuzzFile(0, data, size);
    // A record of exactly its own size on the heap, so a write past it is caught.
    FontSettings* read = static_cast<FontSettings*>(malloc(sizeof(FontSettings)));
    *read = FontCommandDefaults();
    ReadFontSettings(read);
    FuzzRequire(memchr(read->lfFaceName, '\0', FACE_NAME_SIZE) != nullptr, "the face name ends inside its field");

    // An empty face name leaves line 14 out of the file, so reading it back keeps the
    // face name the reader started from, as with any 13-line file.
    WriteFontSettings(read);
    FontSettings again = FontCommandDefaults();
    ReadFontSettings(&again);
    if (read->lfFaceName[0] == '\0') strcpy(read->lfFaceName, again.lfFaceName);
    FuzzRequire(SameFont(again, *read), "what is written reads back to the same font");
    free(read);
    return 0;
}
