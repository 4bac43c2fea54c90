// commands.h - what the main window does with each command of the menu, the accelerators and the
// toolbar, and with the toolbar's requests for tool-tip texts.
#ifndef ZENTAVO_UI_COMMANDS_H
#define ZENTAVO_UI_COMMANDS_H

#include <windows.h>

#include <commctrl.h>

// The main window's WM_COMMAND: runs the command with the given id; other ids do nothing.
void RunCommand(int command);

// The main window's WM_NOTIFY: answers the toolbar's tool-tip requests.
void SupplyToolTipText(NMHDR* notice);

// The exit command: sends WM_DESTROY to the main window, whose shutdown posts the quit message.
// The window itself is left for the end of the process to remove.
void ExitCommand();

void OpenTemplateCommand();
void ShowNewsCommand();
void ScrollUpCommand();
void ScrollDownCommand();
void RecordCommand();
void HelpCommand();
void AboutCommand();

#endif
