// settings_fuzzer.cpp - the settings file reader on arbitrary bytes, and writing back.
//
// The input is the whole of "quorvel.ini". Reading must give exactly what a plain model of
// the 14 lines gives, must never write beyond the record (the face name above all), and
// what is then written must read back to the same record.
#include <stddef.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/codepage.h"
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

// The first 14 lines as the text stream hands them over: Ctrl-Z ends the file, CR LF is LF,
// and a line longer than 255 bytes comes in pieces that count as lines.
FUZZ_NOT_COVERED std::vector<std::string> ModelLines(const std::string& bytes)
{
    std::string kept = bytes.substr(0, bytes.find('\x1a'));
    std::string text;
    for (size_t i = 0; i < kept.size(); i++)
        if (!(kept[i] == '\r' && i + 1 < kept.size() && kept[i + 1] == '\n')) text.push_back(kept[i]);
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size() && lines.size() < SETTINGS_LINE_COUNT;) {
        size_t end = text.find('\n', at);
        size_t length =
            std::min(end == std::string::npos ? text.size() - at : end + 1 - at, size_t{SETTINGS_LINE_BUFFER_SIZE - 1});
        lines.push_back(text.substr(at, length));
        at += length;
    }
    return lines;
}

FUZZ_NOT_COVERED int32_t ModelNumber(const std::string& line)
{
    size_t at = line.find_first_not_of(" \t\n\v\f\r");
    if (at == std::string::npos) return 0;
    bool negative = line[at] == '-';
    if (line[at] == '-' || line[at] == '+') at++;
    uint32_t value = 0;
    for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; at++) value = value * 10 + (line[at] - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

// The face name keeps at most 31 bytes and never the first half of a double-byte character.
FUZZ_NOT_COVERED void ModelFace(char* face, const std::string& line)
{
    size_t kept = 0;
    while (kept < line.size()) {
        unsigned char byte = static_cast<unsigned char>(line[kept]);
        size_t unit = IsLeadByte(byte) && kept + 1 < line.size() ? 2 : 1;
        if (kept + unit > FACE_NAME_SIZE - 1) break;
        kept += unit;
    }
    memcpy(face, line.data(), kept);
    face[kept] = '\0';
}

FUZZ_NOT_COVERED FontSettings ModelRead(const std::string& bytes)
{
    FontSettings record = FontCommandDefaults();
    int32_t* words[] = {&record.lfHeight, &record.lfWidth, &record.lfEscapement, &record.lfOrientation,
                        &record.lfWeight};
    uint8_t* small[] = {&record.lfItalic,       &record.lfUnderline,     &record.lfStrikeOut, &record.lfCharSet,
                        &record.lfOutPrecision, &record.lfClipPrecision, &record.lfQuality,   &record.lfPitchAndFamily};
    std::vector<std::string> lines = ModelLines(bytes);
    for (size_t i = 0; i < lines.size(); i++) {
        if (i < 5)
            *words[i] = ModelNumber(lines[i]);
        else if (i < 13)
            *small[i - 5] = static_cast<uint8_t>(ModelNumber(lines[i]));
        else
            ModelFace(record.lfFaceName, lines[i]);
    }
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
    FontSettings expected = ModelRead(std::string(reinterpret_cast<const char*>(data), size));
    FuzzRequire(memcmp(read, &expected, sizeof expected) == 0, "every field is what the 14 lines say");

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
