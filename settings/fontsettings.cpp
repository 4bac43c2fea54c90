// fontsettings.cpp - reading and writing the display font's settings file.
#include "fontsettings.h"

#include <stdio.h>
#include <string.h>

#include "core/codepage.h"
#include "core/textstream.h"

const char FONT_SETTINGS_FILE[] = "quorvel.ini";

// The blanks that may stand before a number, as the C library's number reading skips them.
static bool IsSettingsSpace(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' || byte == '\r';
}

int32_t ParseSettingsNumber(const char* text)
{
    while (IsSettingsSpace(*text)) text++;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') text++;
    uint32_t value = 0;  // unsigned, so that overflow wraps instead of being undefined
    for (; *text >= '0' && *text <= '9'; text++) value = value * 10u + static_cast<uint32_t>(*text - '0');
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

void CopyFaceName(char* face, const char* line, size_t length)
{
    const size_t limit = FACE_NAME_SIZE - 1;
    size_t kept = 0;
    while (kept < length) {
        size_t unit = IsLeadByte(static_cast<unsigned char>(line[kept])) && kept + 1 < length ? 2 : 1;
        if (kept + unit > limit) break;
        kept += unit;
    }
    memcpy(face, line, kept);
    face[kept] = '\0';
}

// Where each of lines 1 to 13 goes. The eight byte fields keep the low 8 bits of their number.
static void StoreSettingsNumber(FontSettings* record, int line, int32_t value)
{
    int32_t* const words[] = {&record->lfHeight, &record->lfWidth, &record->lfEscapement, &record->lfOrientation,
                              &record->lfWeight};
    uint8_t* const bytes[] = {&record->lfItalic,  &record->lfUnderline,     &record->lfStrikeOut,
                              &record->lfCharSet, &record->lfOutPrecision,  &record->lfClipPrecision,
                              &record->lfQuality, &record->lfPitchAndFamily};
    if (line < 5)
        *words[line] = value;
    else
        *bytes[line - 5] = static_cast<uint8_t>(value);
}

void ReadFontSettings(FontSettings* record)
{
    TextStream* file = OpenTextStream(FONT_SETTINGS_FILE, TEXT_READ);
    if (!file) return;
    char line[SETTINGS_LINE_BUFFER_SIZE];
    // Every line is asked for, even after the file has ended: a missing line changes nothing.
    for (int index = 0; index < SETTINGS_LINE_COUNT; index++) {
        size_t length = ReadTextLine(file, line, sizeof line);
        if (length == 0) continue;
        if (index < SETTINGS_LINE_COUNT - 1)
            StoreSettingsNumber(record, index, ParseSettingsNumber(line));
        else
            CopyFaceName(record->lfFaceName, line, length);
    }
    CloseTextStream(file);
}

// Formats one line into a buffer of the line size and queues it; write errors are not looked at.
static void WriteSettingsLine(TextStream* file, const char* format, unsigned long value)
{
    char line[SETTINGS_LINE_BUFFER_SIZE];
    int length = snprintf(line, sizeof line, format, value);
    if (length > 0) WriteText(file, line, static_cast<size_t>(length));
}

void WriteFontSettings(const FontSettings* record)
{
    TextStream* file = OpenTextStream(FONT_SETTINGS_FILE, TEXT_WRITE);
    if (!file) return;
    const int32_t words[] = {record->lfHeight, record->lfWidth, record->lfEscapement, record->lfOrientation,
                             record->lfWeight};
    const uint8_t bytes[] = {record->lfItalic,  record->lfUnderline,     record->lfStrikeOut,
                             record->lfCharSet, record->lfOutPrecision,  record->lfClipPrecision,
                             record->lfQuality, record->lfPitchAndFamily};
    // Negative numbers are written as their 32-bit unsigned pattern; reading wraps them back.
    for (int32_t word : words) WriteSettingsLine(file, "%lu\n", static_cast<uint32_t>(word));
    for (uint8_t byte : bytes) WriteSettingsLine(file, "%lu\n", byte);
    char face[SETTINGS_LINE_BUFFER_SIZE];
    int length = snprintf(face, sizeof face, "%.*s", FACE_NAME_SIZE, record->lfFaceName);
    if (length > 0) WriteText(file, face, static_cast<size_t>(length));
    CloseTextStream(file);
}
