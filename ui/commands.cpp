// commands.cpp - the main window's commands, one function each.
#include "commands.h"

#include "res/resource.h"
#include "ui/font.h"
#include "ui/window.h"

void RunCommand(int command)
{
    switch (command) {
        case CMD_OPEN: OpenTemplateCommand(); break;
        case CMD_EXIT: ExitCommand(); break;
        case CMD_SHOW: ShowNewsCommand(); break;
        case CMD_UP: ScrollUpCommand(); break;
        case CMD_DOWN: ScrollDownCommand(); break;
        case CMD_RECORD: RecordCommand(); break;
        case CMD_HELP: HelpCommand(); break;
        case CMD_ABOUT: AboutCommand(); break;
        case CMD_FONT: ChooseDisplayFont(); break;
    }
}

void ExitCommand()
{
    SendMessageA(MainWindow, WM_DESTROY, 0, 0);
}

// The commands below do nothing yet.
void OpenTemplateCommand() {}
void ShowNewsCommand() {}
void ScrollUpCommand() {}
void ScrollDownCommand() {}
void RecordCommand() {}
void HelpCommand() {}
void AboutCommand() {}

void SupplyToolTipText(NMHDR*) {}
