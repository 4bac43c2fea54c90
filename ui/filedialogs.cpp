// filedialogs.cpp - the system's open and save dialogs with the program's filters and titles.
#include "filedialogs.h"

#include <windows.h>

#include <commdlg.h>
#include <string.h>

#include "transcript/transcript.h"
#include "ui/dialoglibrary.h"
#include "ui/window.h"

char PathBuffer[PATH_BUFFER_SIZE];
char FileTitle[FILE_TITLE_SIZE];

// Pairs of description and pattern; the literal's own terminating zero ends the list.
static const char TEMPLATE_FILTER[] =
    "ﾆｭｰｽﾌｧｲﾙ(*.new)\0*.new\0"
    "Varnitolﾌｧｲﾙ(*.vnt)\0*.vnt\0"
    "すべてのﾌｧｲﾙ(*.*)\0*.*\0";
static const char TRANSCRIPT_FILTER[] =
    "ﾃｷｽﾄﾌｧｲﾙ(*.txt)\0*.txt\0"
    "すべてのﾌｧｲﾙ(*.*)\0*.*\0";
static const char TEMPLATE_DIALOG_TITLE[] = "開く";
static const char TRANSCRIPT_DIALOG_TITLE[] = "保存";

// Either dialog runs on its own copies and hands them out only when the user confirms.
struct FileDialog {
    BOOL(WINAPI* run)(OPENFILENAMEA*);
    const char* filter;
    const char* caption;
    DWORD flags;
};

static int RunFileDialog(const FileDialog& dialog, char* name, char* title, char* path)
{
    char chosenTitle[FILE_TITLE_SIZE] = "";
    OPENFILENAMEA record = {};
    // The record in its first, shorter form: the system needs nothing of the later fields.
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = MainWindow;
    record.lpstrFilter = dialog.filter;
    record.nFilterIndex = 1;
    record.lpstrFile = name;
    record.nMaxFile = PATH_BUFFER_SIZE;
    record.lpstrFileTitle = chosenTitle;
    record.nMaxFileTitle = FILE_TITLE_SIZE - 1;
    record.lpstrTitle = dialog.caption;
    record.Flags = dialog.flags;
    if (!dialog.run(&record)) return 0;
    strcpy(title, chosenTitle);
    strcpy(path, name);
    return 1;
}

int ChooseTemplateFile(char* title, char* path)
{
    static const FileDialog open = {OpenFileDialog, TEMPLATE_FILTER, TEMPLATE_DIALOG_TITLE,
                                    OFN_HIDEREADONLY | OFN_FILEMUSTEXIST};
    char name[PATH_BUFFER_SIZE];
    lstrcpynA(name, path, sizeof name);
    return RunFileDialog(open, name, title, path);
}

int ChooseTranscriptFile(char* title, char* path)
{
    // The proposed name can be the loaded template itself (a path without an extension stays
    // as it is), so replacing an existing file needs the user's word.
    static const FileDialog save = {SaveFileDialog, TRANSCRIPT_FILTER, TRANSCRIPT_DIALOG_TITLE,
                                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT};
    char name[PATH_BUFFER_SIZE];
    lstrcpynA(name, path, sizeof name);
    ProposeTranscriptName(name);
    return RunFileDialog(save, name, title, path);
}

void ResetFileDialogs()
{
    memset(PathBuffer, 0, sizeof PathBuffer);
    memset(FileTitle, 0, sizeof FileTitle);
}
