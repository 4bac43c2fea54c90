// commands.h - what the main window does with each command of the menu, the accelerators and the
// toolbar, and with the toolbar's requests for tool-tip texts.
#ifndef ZENTAVO_UI_COMMANDS_H
#define ZENTAVO_UI_COMMANDS_H

#include <windows.h>

#include <commctrl.h>

// The help file, named without a folder: the help system looks for it itself.
extern const char HELP_FILE[];  // "QUORVEL.HLP"

// The main window's WM_COMMAND: runs the command with the given id; other ids do nothing.
void RunCommand(int command);

// The main window's WM_NOTIFY: answers a TTN_NEEDTEXTA request for one of the eight toolbar
// buttons by pointing its lpszText at that button's constant text; any other notification or
// id leaves the record as it is.
void SupplyToolTipText(NMHDR* notice);

// Open: the open dialog, then the template is loaded from the chosen path. On success its
// title becomes the caption, is recorded when recording is on, and the show command is
// enabled. A cancelled dialog or a failed load (after the loader's warning) changes nothing
// else. A failed title write has warned and stopped recording, and the template stays loaded
// and can be shown. The news on screen is not touched.
void OpenTemplateCommand();

// Exit: sends WM_DESTROY to the main window, whose shutdown posts the quit message. The window
// itself is left for the end of the process to remove.
void ExitCommand();

// Show: composes the next news text into NewsBuffer and shows it from its first line, then
// records it when recording is on. A failed composition has warned and restored the previous
// text: the view, the scroll position and the transcript stay as they were. With no template
// loaded it does nothing.
void ShowNewsCommand();

// Up and down: the scroll bar's line-up and line-down, sent so that the scroll is done when
// the command returns.
void ScrollUpCommand();
void ScrollDownCommand();

// Record: switches recording on when it is off: the save dialog, then StartTranscript (the file is
// created or emptied, the current title and news are written, recording goes on with its mark); a
// cancelled dialog changes nothing, a failed open or write has warned and leaves recording off.
// Switches recording off when it is on.
void RecordCommand();

// Help: opens the manual at its contents. On systems with a help viewer (see SystemHasHelpViewer)
// that is the help file; on later ones the HTML manual beside the program, in the browser, or the
// help file after all when the page cannot be opened. The help system reports its own failures.
void HelpCommand();

// Copy: puts the news on screen, without the blank lines that close it, on the clipboard as
// text (see CopyTextToClipboard), and warns when another program keeps the clipboard open.
// With no news on screen it does nothing.
void CopyNewsCommand();

// About: the modal about box, owned by the main window.
void AboutCommand();

#endif
