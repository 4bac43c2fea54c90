// fontsettings.h - the display font's settings file "quorvel.ini": its 14 lines, read and written.
//
// The file holds one font description, thirteen numbers and a face name, one per line, in the
// order of the record's fields. It lives in the current folder and follows it. Every failure
// here stays silent: a missing or short file simply leaves the caller's values in place.
#ifndef ZENTAVO_SETTINGS_FONTSETTINGS_H
#define ZENTAVO_SETTINGS_FONTSETTINGS_H

#include <stddef.h>
#include <stdint.h>

enum {
    FACE_NAME_SIZE = 32,              // the face name: at most 31 bytes and a terminating zero
    SETTINGS_LINE_BUFFER_SIZE = 256,  // each line is read and formatted in a buffer this large
    SETTINGS_LINE_COUNT = 14,
};

// A font description with the fields, order and byte layout of the platform's LOGFONTA record,
// so that the window program can hand its own record over unchanged.
struct FontSettings {
    int32_t lfHeight;
    int32_t lfWidth;
    int32_t lfEscapement;
    int32_t lfOrientation;
    int32_t lfWeight;
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet;
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char lfFaceName[FACE_NAME_SIZE];
};

extern const char FONT_SETTINGS_FILE[];  // "quorvel.ini", named without a folder

// Reads the settings file into record, line by line in field order. Lines 1 to 5 are whole
// numbers, lines 6 to 13 keep the low 8 bits of theirs, line 14 is the face name as read (a line
// feed included), cut by CopyFaceName. A line the file does not have leaves its field as it was;
// a file that cannot be opened leaves the whole record as it was.
void ReadFontSettings(FontSettings* record);

// Writes record into the settings file (created or emptied): the five 32-bit fields as unsigned
// decimals, the eight byte fields as decimals 0 to 255, each on its own line, then the face name
// without a line end. Nothing is reported when the file cannot be written.
void WriteFontSettings(const FontSettings* record);

// Reads a number as the settings file stores it: white space is skipped, one "+" or "-" is
// taken, then decimal digits are gathered in 32-bit arithmetic that wraps silently, up to the
// first byte that is not a digit. No digits give 0; "4294967280" gives -16.
int32_t ParseSettingsNumber(const char* text);

// Copies the first length bytes of line into face (FACE_NAME_SIZE bytes), keeping at most 31 of
// them and ending them with a zero. A double-byte character that would be cut in two is left out
// whole. Nothing is written beyond face's FACE_NAME_SIZE bytes.
void CopyFaceName(char* face, const char* line, size_t length);

#endif
