// resource.h - the constants shared by the .rc file and the C++ code: command ids and resource numbers.
#ifndef QUORVEL_RESOURCE_H
#define QUORVEL_RESOURCE_H

// Command ids, sent in WM_COMMAND by the menu, the accelerators and the toolbar.
#define CMD_OPEN 40001
#define CMD_EXIT 40002
#define CMD_SHOW 40003
#define CMD_UP 40004
#define CMD_DOWN 40005
#define CMD_RECORD 40006
#define CMD_HELP 40007
#define CMD_ABOUT 40008
#define CMD_FONT 40011
#define CMD_COPY 40012  // keys only: no menu item, no toolbar button

// The toolbar's own child window id (not a command).
#define ID_TOOLBAR 40009

// The toolbar image strips, bitmap resources identified by number: for 100%, 150% and 200%.
#define IDB_TOOLBAR 117
#define IDB_TOOLBAR_150 118
#define IDB_TOOLBAR_200 119

// Controls that the program never addresses, such as the about box's static texts.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
