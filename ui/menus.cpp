// menus.cpp - command states in the menu and on the toolbar.
#include "menus.h"

#include <windows.h>

#include <commctrl.h>

#include "core/host.h"
#include "res/resource.h"
#include "ui/window.h"

static HMENU MainSubmenu(int submenu)
{
    return GetSubMenu(GetMenu(MainWindow), submenu);
}

// Grays (state 0) or enables (state 1) the item command of the main window's submenu at
// position submenu. Any other state does nothing.
static void EnableMenuCommand(int submenu, int command, int state)
{
    if (state != 0 && state != 1) return;
    EnableMenuItem(MainSubmenu(submenu), command, MF_BYCOMMAND | (state ? MF_ENABLED : MF_GRAYED));
}

// Unchecks (state 0) or checks (state 1) the item command of the main window's submenu at
// position submenu. Any other state does nothing.
static void CheckMenuCommand(int submenu, int command, int state)
{
    if (state != 0 && state != 1) return;
    CheckMenuItem(MainSubmenu(submenu), command, MF_BYCOMMAND | (state ? MF_CHECKED : MF_UNCHECKED));
}

void SetShowCommandState(int enabled)
{
    EnableMenuCommand(NEWS_SUBMENU, CMD_SHOW, enabled);
    SendMessageA(ToolbarWindow, TB_ENABLEBUTTON, CMD_SHOW, enabled);
}

void ShowRecordingMark(int on)
{
    CheckMenuCommand(OPTIONS_SUBMENU, CMD_RECORD, on);
    SendMessageA(ToolbarWindow, TB_CHECKBUTTON, CMD_RECORD, on);
}
