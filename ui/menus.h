// menus.h - the availability and check marks of commands, kept in step in the menu and the toolbar.
#ifndef ZENTAVO_UI_MENUS_H
#define ZENTAVO_UI_MENUS_H

// Submenu positions of the main menu that hold commands with a changing state.
enum { NEWS_SUBMENU = 1, OPTIONS_SUBMENU = 2 };

// Grays (state 0) or enables (state 1) the item command of the main window's submenu at
// position submenu. Any other state does nothing.
void EnableMenuCommand(int submenu, int command, int state);

// Unchecks (state 0) or checks (state 1) the item command of the main window's submenu at
// position submenu. Any other state does nothing.
void CheckMenuCommand(int submenu, int command, int state);

// Grays (0) or enables (1) the show command: the menu item first, then the toolbar button.
void SetShowCommandState(int enabled);

// Clears (0) or sets (1) the record command's mark: the menu item's check first, then the
// toolbar button's pressed look.
void SetRecordCommandChecked(int on);

#endif
