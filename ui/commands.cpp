// commands.cpp - the main window's commands, one function each, and the toolbar's tool tips.
#include "commands.h"

#include <string>

#include "compose/compose.h"
#include "core/host.h"
#include "res/resource.h"
#include "template/template.h"
#include "transcript/transcript.h"
#include "ui/about.h"
#include "ui/clipboard.h"
#include "ui/filedialogs.h"
#include "ui/font.h"
#include "ui/manual.h"
#include "ui/menus.h"
#include "ui/view.h"
#include "ui/window.h"

const char HELP_FILE[] = "QUORVEL.HLP";

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
        case CMD_COPY: CopyNewsCommand(); break;
    }
}

void OpenTemplateCommand()
{
    if (!ChooseTemplateFile(FileTitle, PathBuffer)) return;
    if (!LoadTemplate(PathBuffer)) return;
    SetWindowTextA(MainWindow, LoadedTemplate.TitleBuffer);
    // A failed title write has already warned and stopped recording. The template itself did
    // load and is in the caption, so it must be possible to show it.
    RecordTitle();
    SetShowCommandState(1);
}

void ExitCommand()
{
    // WM_DESTROY by hand, not DestroyWindow, on purpose: the program has always ended this way,
    // running the close box's shutdown and leaving the window to the end of the process. A
    // DestroyWindow added after it would run the shutdown (font, transcript, help) twice.
    SendMessageA(MainWindow, WM_DESTROY, 0, 0);
}

void ShowNewsCommand()
{
    // The menu item and the button stay grayed until a template loads, but any other program can
    // still send the command: with nothing loaded there is nothing to compose from.
    if (!TemplateIsLoaded()) return;
    if (!ComposeNextNews()) return;
    ShowNewsFromTop();
    RecordNews();
}

void ScrollUpCommand()
{
    SendMessageA(MainWindow, WM_VSCROLL, SB_LINEUP, 0);
}

void ScrollDownCommand()
{
    SendMessageA(MainWindow, WM_VSCROLL, SB_LINEDOWN, 0);
}

void RecordCommand()
{
    if (RecordingFlag)
        StopTranscript();
    else if (ChooseTranscriptFile(FileTitle, PathBuffer))
        StartTranscript(PathBuffer);
}

void HelpCommand()
{
    if (SystemHasHelpViewer() || !OpenHtmlManual()) WinHelpA(MainWindow, HELP_FILE, HELP_CONTENTS, 0);
}

void AboutCommand()
{
    DialogBoxParamA(AppInstance, "QUORVELABTDLG", MainWindow, AboutDlgProc, 0);
}

void CopyNewsCommand()
{
    // A news text ends in the line feeds that keep news apart in a transcript; pasted alone, it
    // should end with its last line of text.
    std::string news = NewsBuffer;
    news.erase(news.find_last_not_of('\n') + 1);
    if (news.empty()) return;
    // Another program may hold the clipboard open; the user would otherwise paste the old text
    // believing it was the news.
    if (!CopyTextToClipboard(MainWindow, news)) ShowWarning(MSG_COPY_FAILED);
}

// The tool-tip text of the toolbar button with the given command id, or nullptr for an id
// without one.
static const char* ToolTipText(UINT_PTR command)
{
    switch (command) {
        case CMD_OPEN: return "ファイルを開きます";
        case CMD_SHOW: return "画面にニュースを表示します";
        case CMD_UP: return "上へスクロールします";
        case CMD_DOWN: return "下へスクロールします";
        case CMD_RECORD: return "画面に表示されるニュースをファイルに保存します";
        case CMD_FONT: return "ニュースの表示に使用するフォントを指定します。";
        case CMD_HELP: return "ヘルプの目次を表示します";
        case CMD_ABOUT: return "バージョン情報を表示します";
        default: return nullptr;
    }
}

void SupplyToolTipText(NMHDR* notice)
{
    if (notice->code != TTN_NEEDTEXTA) return;
    TOOLTIPTEXTA* tip = reinterpret_cast<TOOLTIPTEXTA*>(notice);
    const char* text = ToolTipText(tip->hdr.idFrom);
    // The record takes a pointer to the text; the texts are constants that live for the run.
    if (text) tip->lpszText = const_cast<char*>(text);
}
