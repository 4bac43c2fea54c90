// font.cpp - the display font: its record, the settings file behind it and the font dialog.
#include "font.h"

#include <stddef.h>
#include <string.h>

#include "settings/fontsettings.h"
#include "ui/dialoglibrary.h"
#include "ui/unitpainter.h"
#include "ui/window.h"

// The settings file is read and written through a portable record that must match LOGFONTA
// byte for byte, and the font dialog record must be the size the dialog expects.
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA is 60 bytes");
static_assert(sizeof(FontSettings) == sizeof(LOGFONTA), "FontSettings matches LOGFONTA");
static_assert(offsetof(FontSettings, lfWeight) == offsetof(LOGFONTA, lfWeight), "lfWeight");
static_assert(offsetof(FontSettings, lfItalic) == offsetof(LOGFONTA, lfItalic), "lfItalic");
static_assert(offsetof(FontSettings, lfCharSet) == offsetof(LOGFONTA, lfCharSet), "lfCharSet");
static_assert(offsetof(FontSettings, lfPitchAndFamily) == offsetof(LOGFONTA, lfPitchAndFamily), "lfPitchAndFamily");
static_assert(offsetof(FontSettings, lfFaceName) == offsetof(LOGFONTA, lfFaceName), "lfFaceName");
#ifdef _WIN64
static_assert(sizeof(CHOOSEFONTA) == 104, "CHOOSEFONTA is 104 bytes in 64-bit Windows");
#else
static_assert(sizeof(CHOOSEFONTA) == 60, "CHOOSEFONTA is 60 bytes in 32-bit Windows");
#endif

LOGFONTA DisplayLogFont;
HFONT DisplayFont;
char DefaultFaceName[DEFAULT_FACE_NAME_SIZE];
static CHOOSEFONTA FontChooser;  // the font dialog's record

// The record the font dialog works on. A dialog may write into its record while the user is
// still choosing, so it never gets DisplayLogFont itself: a cancelled choice must leave that as
// it was.
static LOGFONTA DialogLogFont;

static const char SYSTEM_FACE_NAME[] = "System";

// Both starting points set every field but the face name; only the pitch differs.
static void ResetDisplayLogFont(BYTE pitchAndFamily)
{
    char face[LF_FACESIZE];
    memcpy(face, DisplayLogFont.lfFaceName, sizeof face);
    DisplayLogFont = LOGFONTA{};
    memcpy(DisplayLogFont.lfFaceName, face, sizeof face);
    DisplayLogFont.lfCharSet = SHIFTJIS_CHARSET;
    DisplayLogFont.lfPitchAndFamily = pitchAndFamily;
}

// The record is copied rather than cast, so that no LOGFONTA is ever accessed as another type.
static void ReadDisplayFontSettings()
{
    FontSettings record;
    memcpy(&record, &DisplayLogFont, sizeof record);
    ReadFontSettings(&record);
    memcpy(&DisplayLogFont, &record, sizeof record);
}

static void WriteDisplayFontSettings()
{
    FontSettings record;
    memcpy(&record, &DisplayLogFont, sizeof record);
    WriteFontSettings(&record);
}

void CreateDisplayFont()
{
    ResetDisplayLogFont(DEFAULT_PITCH | FF_DONTCARE);
    ReadDisplayFontSettings();
    strcpy(DefaultFaceName, SYSTEM_FACE_NAME);
    DisplayFont = CreateFontIndirectA(&DisplayLogFont);
}

// A confirmed font replaces DisplayLogFont; a cancelled or failed dialog leaves it as read, and
// the command goes on with it either way.
static void RunFontDialog()
{
    DialogLogFont = DisplayLogFont;
    FontChooser.lStructSize = sizeof FontChooser;
    FontChooser.hwndOwner = MainWindow;
    FontChooser.lpLogFont = &DialogLogFont;
    FontChooser.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT;
    if (FontDialog(&FontChooser)) DisplayLogFont = DialogLogFont;
}

void ChooseDisplayFont()
{
    ResetDisplayLogFont(FIXED_PITCH | FF_DONTCARE);
    lstrcpynA(DisplayLogFont.lfFaceName, DefaultFaceName, LF_FACESIZE);
    ReadDisplayFontSettings();
    RunFontDialog();
    WriteDisplayFontSettings();
    DeleteDisplayFont();
    DisplayFont = CreateFontIndirectA(&DisplayLogFont);
    InvalidateRect(MainWindow, nullptr, TRUE);
}

void DeleteDisplayFont()
{
    // Forgetting the handle keeps a second destruction from deleting whatever reuses it.
    if (DisplayFont) DeleteObject(DisplayFont);
    DisplayFont = nullptr;
    // The widths kept for painting were measured in this font; the next font may get its handle.
    ForgetUnitWidths();
}

void ResetDisplayFont()
{
    DeleteDisplayFont();
    DisplayLogFont = LOGFONTA{};
    memset(DefaultFaceName, 0, sizeof DefaultFaceName);
    FontChooser = CHOOSEFONTA{};
    DialogLogFont = LOGFONTA{};
}
