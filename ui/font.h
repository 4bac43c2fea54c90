// font.h - the display font of the news view: made at window creation, chosen by the font command.
#ifndef ZENTAVO_UI_FONT_H
#define ZENTAVO_UI_FONT_H

#include <windows.h>

#include <commdlg.h>

enum { DEFAULT_FACE_NAME_SIZE = 256 };

// ---- State, all defined in font.cpp ----
extern LOGFONTA DisplayLogFont;  // the description the display font is made from
extern HFONT DisplayFont;        // the news view's font; owned here, deleted before each replacement
extern char DefaultFaceName[DEFAULT_FACE_NAME_SIZE];  // "System" once the window exists

// The main window's WM_CREATE: starts DisplayLogFont from its creation defaults (no face, default
// pitch, the Shift-JIS character set), reads the settings file over them, sets DefaultFaceName to
// "System" and creates DisplayFont. The window itself is not needed: MainWindow is not yet set.
void CreateDisplayFont();

// The font command: starts DisplayLogFont from the command's defaults (fixed pitch, the face
// DefaultFaceName), reads the settings file over them, lets the user change the result in the font
// dialog owned by MainWindow, writes it to the settings file whether or not the dialog was
// confirmed, replaces DisplayFont and has the whole client area repainted.
void ChooseDisplayFont();

// Deletes DisplayFont, as the main window's destruction does first.
void DeleteDisplayFont();

// For tests: deletes DisplayFont and empties every record above, as at program start.
void ResetDisplayFont();

#endif
