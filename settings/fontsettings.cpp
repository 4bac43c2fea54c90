// fontsettings.cpp - reading and writing the display font's settings file.
#include "fontsettings.h"

#include <stdio.h>
#include <string.h>

#include <iterator>

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

// The fields of lines 1 to 13, in file order: five 32-bit numbers, then eight bytes.
static int32_t FontSettings::*const WORD_FIELDS[] = {&FontSettings::lfHeight, &FontSettings::lfWidth,
                                                     &FontSettings::lfEscapement, &FontSettings::lfOrientation,
                                                     &FontSettings::lfWeight};
static uint8_t FontSettings::*const BYTE_FIELDS[] = {&FontSettings::lfItalic,       &FontSettings::lfUnderline,
                                                     &FontSettings::lfStrikeOut,    &FontSettings::lfCharSet,
                                                     &FontSettings::lfOutPrecision, &FontSettings::lfClipPrecision,
                                                     &FontSettings::lfQuality,      &FontSettings::lfPitchAndFamily};
static const int WORD_FIELD_COUNT = static_cast<int>(std::size(WORD_FIELDS));
static const int BYTE_FIELD_COUNT = static_cast<int>(std::size(BYTE_FIELDS));
static_assert(WORD_FIELD_COUNT + BYTE_FIELD_COUNT == SETTINGS_LINE_COUNT - 1,
              "every line but the face name's holds one number field");

// Stores the number of line index (0 to 12); the byte fields keep its low 8 bits.
static void StoreSettingsNumber(FontSettings* record, int index, int32_t value)
{
    if (index < WORD_FIELD_COUNT)
        record->*WORD_FIELDS[index] = value;
    else
        record->*BYTE_FIELDS[index - WORD_FIELD_COUNT] = static_cast<uint8_t>(value);
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
    // Negative numbers are written as their 32-bit unsigned pattern; reading wraps them back.
    for (auto field : WORD_FIELDS) WriteSettingsLine(file, "%lu\n", static_cast<uint32_t>(record->*field));
    for (auto field : BYTE_FIELDS) WriteSettingsLine(file, "%lu\n", record->*field);
    char face[SETTINGS_LINE_BUFFER_SIZE];
    int length = snprintf(face, sizeof face, "%.*s", FACE_NAME_SIZE, record->lfFaceName);
    if (length > 0) WriteText(file, face, static_cast<size_t>(length));
    CloseTextStream(file);
}
