// menus.h - the availability and check marks of commands, kept in step in the menu and the toolbar.
#ifndef ZENTAVO_UI_MENUS_H
#define ZENTAVO_UI_MENUS_H

// Submenu positions of the main menu that hold commands with a changing state.
enum { NEWS_SUBMENU = 1, OPTIONS_SUBMENU = 2 };

// Grays (0) or enables (1) the show command: the menu item first, then the toolbar button.
void SetShowCommandState(int enabled);

// ShowRecordingMark (core/host.h), the record command's mark, is defined in menus.cpp: it
// clears (0) or sets (1) the menu item's check first, then the toolbar button's pressed look.

#endif
