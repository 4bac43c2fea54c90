// commands_test.cpp - every command as the menu, the accelerators and the toolbar send it, with the
// real open, save and about dialogs answered by the hook: opening, showing, recording (and its
// transcript's bytes), the about box and the tool tips.
#include <string.h>

#include <set>
#include <string>
#include <vector>

#include "compose/compose.h"
#include "layout/layout.h"
#include "res/resource.h"
#include "template/template.h"
#include "transcript/transcript.h"
#include "ui/filedialogs.h"
#include "ui/menus.h"
#include "ui/view.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

// Blanks in the name: the command line has to quote it.
const char TEMPLATE_FILE[] = "zentavo commands test.new";
const char OTHER_FILE[] = "zentavo-commands-other.new";
const char TRANSCRIPT_FILE[] = "zentavo commands test.txt";
// A device that takes no bytes: every write to it fails (Wine reaches Linux's files through Z:).
const char FULL_DEVICE[] = "Z:\\dev\\full";

// The news TEST_TEMPLATE always gives: three lines, the last two empty.
const char TEST_NEWS[] = "町長が踊りました。\n\n\n";
const char OTHER_TITLE[] = "となり町のニュース";
const char OTHER_TEMPLATE[] = "となり町のニュース\r\n0,-1\r\nみんな元気です。\r\n/E\r\n";
// Loads, but its only flow line names a block it does not have.
const char UNCOMPOSABLE_TEMPLATE[] = "こわれた町\r\n0,1,-1\r\n町長が\r\n/E\r\n";
const char UNLOADABLE_TEMPLATE[] = "タイトル\r\n0,x,-1\r\n";

class Commands : public WindowTest {
protected:
    // A visible main window with a template loaded from the quoted path on the command line
    // (or nothing).
    void StartWith(const char* file)
    {
        if (file) WriteScratchFile(TEMPLATE_FILE, file);
        ASSERT_EQ(Start(file ? std::string("\"") + TEMPLATE_FILE + "\"  " : ""), 1);
        EXPECT_EQ(Caption(), file ? TEST_TEMPLATE_TITLE : "Zentavo");
        ShowMainWindow(SW_SHOWNORMAL);
    }

    // The open command with name typed into the open dialog and confirmed.
    void Open(const std::string& name)
    {
        BoxReplies.push_back({IDOK, FullPath(name)});
        Command(CMD_OPEN);
    }

    // The record command, switching on, with name typed into the save dialog and confirmed.
    void StartRecording(const std::string& name)
    {
        BoxReplies.push_back({IDOK, name});
        Command(CMD_RECORD);
    }

    static void ExpectShowEnabled(bool enabled)
    {
        EXPECT_EQ((MenuState(NEWS_SUBMENU, CMD_SHOW) & MF_GRAYED) == 0, enabled);
        EXPECT_EQ(ToolbarButtonEnabled(CMD_SHOW), enabled);
    }

    static void ExpectRecording(bool on)
    {
        EXPECT_EQ(RecordingFlag, on ? 1 : 0);
        EXPECT_EQ((MenuState(OPTIONS_SUBMENU, CMD_RECORD) & MF_CHECKED) != 0, on);
        EXPECT_EQ(ToolbarButtonChecked(CMD_RECORD), on);
    }

    // A click on a toolbar button, as the mouse makes it.
    static void ClickToolbarButton(int command)
    {
        LRESULT index = SendMessageA(ToolbarWindow, TB_COMMANDTOINDEX, command, 0);
        RECT button;
        ASSERT_TRUE(SendMessageA(ToolbarWindow, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)));
        LPARAM point = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        SendMessageA(ToolbarWindow, WM_MOUSEMOVE, 0, point);
        SendMessageA(ToolbarWindow, WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageA(ToolbarWindow, WM_LBUTTONUP, 0, point);
    }
};

class OpenCommand : public Commands {};

// Cancelled first (nothing changes, and the grayed show command, which another program can still
// send, does nothing), then confirmed: the news on screen stays until a show. A template that
// fails to load then warns and leaves the loaded one in place.
TEST_F(OpenCommand, LoadsTheChosenTemplateAndKeepsItWhenTheNextOneFails)
{
    WriteScratchFile(OTHER_FILE, OTHER_TEMPLATE);
    WriteScratchFile(TEMPLATE_FILE, UNLOADABLE_TEMPLATE);
    StartWith(nullptr);
    strcpy(NewsBuffer, "前のニュース\n\n");
    BoxReplies.push_back({IDCANCEL, FullPath(OTHER_FILE)});
    Command(CMD_OPEN);
    EXPECT_EQ(Caption(), "Zentavo");
    EXPECT_STREQ(PathBuffer, "");
    ExpectShowEnabled(false);
    Command(CMD_SHOW);
    EXPECT_STREQ(NewsBuffer, "前のニュース\n\n");
    Open(OTHER_FILE);
    ASSERT_EQ(CaughtBoxes.size(), 2u);
    for (const CaughtBox& dialog : CaughtBoxes) {
        EXPECT_EQ(dialog.caption, "開く");
        EXPECT_EQ(dialog.owner, MainWindow);
        EXPECT_EQ(dialog.fileName, "");
    }
    EXPECT_EQ(Caption(), OTHER_TITLE);
    EXPECT_EQ(std::string(PathBuffer), FullPath(OTHER_FILE));
    EXPECT_STREQ(FileTitle, OTHER_FILE);
    ExpectShowEnabled(true);
    EXPECT_STREQ(NewsBuffer, "前のニュース\n\n");

    Open(TEMPLATE_FILE);
    ASSERT_EQ(CaughtBoxes.size(), 4u);
    EXPECT_EQ(CaughtBoxes[3].texts, std::vector<std::string>{MSG_FLOW_BAD_CHARACTER});
    EXPECT_EQ(Caption(), OTHER_TITLE);
    ExpectShowEnabled(true);
}

class ShowCommand : public Commands {};

// A show starts from the first line; one that fails to compose warns, keeps the text and the
// line on screen, and records nothing.
TEST_F(ShowCommand, ShowsTheNewTextFromItsFirstLineOrKeepsTheOldOne)
{
    WriteScratchFile(OTHER_FILE, UNCOMPOSABLE_TEMPLATE);
    StartWith(TEST_TEMPLATE);
    Command(CMD_SHOW);
    EXPECT_STREQ(NewsBuffer, TEST_NEWS);
    UpdateWindow(MainWindow);
    Command(CMD_DOWN);
    Command(CMD_DOWN);
    Command(CMD_UP);
    EXPECT_EQ(GetScrollPos(MainWindow, SB_VERT), 1);
    Command(CMD_SHOW);
    EXPECT_EQ(TopLine, 0u);
    EXPECT_EQ(GetScrollPos(MainWindow, SB_VERT), 0);
    // The open dialog may leave another current folder behind: the transcript is named in full.
    const std::string transcript = FullPath(TRANSCRIPT_FILE);
    ASSERT_EQ(StartTranscript(transcript.c_str()), 1);
    Open(OTHER_FILE);
    Command(CMD_DOWN);
    Command(CMD_SHOW);
    ASSERT_EQ(CaughtBoxes.size(), 2u);
    char warning[MESSAGE_BUFFER_SIZE];
    FormatUndefinedBlockMessage(warning, 1, 0, 1);
    ASSERT_EQ(CaughtBoxes[1].texts.size(), 1u);
    EXPECT_EQ(CaughtBoxes[1].texts[0], warning);
    EXPECT_STREQ(NewsBuffer, TEST_NEWS);
    EXPECT_EQ(TopLine, 1u);
    StopTranscript();
    EXPECT_EQ(ReadWholeFile(transcript),
              std::string(TEST_TEMPLATE_TITLE) + "\r\n\r\n町長が踊りました。\r\n\r\n\r\nこわれた町\r\n\r\n");
}

class RecordCommand : public Commands {};

// Cancelled from the toolbar; refused replacing an existing file from the menu, back in the save
// dialog and cancelled; then replaced after a yes from the toolbar and switched off again.
TEST_F(RecordCommand, MenuAndToolbarToggleRecordingAndReplaceAFileOnlyAfterAYes)
{
    WriteScratchFile(TRANSCRIPT_FILE, "old");
    StartWith(TEST_TEMPLATE);
    BoxReplies.push_back({IDCANCEL, ""});
    ClickToolbarButton(CMD_RECORD);
    ASSERT_EQ(CaughtBoxes.size(), 1u);
    EXPECT_EQ(CaughtBoxes[0].caption, "保存");
    EXPECT_EQ(CaughtBoxes[0].owner, MainWindow);
    EXPECT_EQ(CaughtBoxes[0].fileName, "");  // nothing was chosen in a file dialog yet
    ExpectRecording(false);

    BoxReplies = {{IDOK, FullPath(TRANSCRIPT_FILE)}, {IDNO, ""}, {IDCANCEL, ""}};
    Command(CMD_RECORD);
    ASSERT_EQ(CaughtBoxes.size(), 4u);
    EXPECT_EQ(CaughtBoxes[2].owner, CaughtBoxes[1].window);  // the question comes from the dialog
    EXPECT_EQ(CaughtBoxes[3].window, CaughtBoxes[1].window);
    ExpectRecording(false);
    EXPECT_EQ(ReadWholeFile(TRANSCRIPT_FILE), "old");

    BoxReplies = {{IDOK, FullPath(TRANSCRIPT_FILE)}, {IDYES, ""}};
    ClickToolbarButton(CMD_RECORD);
    ExpectRecording(true);
    Command(CMD_RECORD);
    ExpectRecording(false);
    EXPECT_EQ(ReadWholeFile(TRANSCRIPT_FILE), std::string(TEST_TEMPLATE_TITLE) + "\r\n\r\n");
}

// Open, show, switch on, show, open another, open the first again, switch off, show.
TEST_F(RecordCommand, TheTranscriptHoldsEveryTitleAndNewsInOrder)
{
    WriteScratchFile(TEMPLATE_FILE, TEST_TEMPLATE);
    WriteScratchFile(OTHER_FILE, OTHER_TEMPLATE);
    StartWith(nullptr);
    Open(TEMPLATE_FILE);
    Command(CMD_SHOW);
    StartRecording("");  // the proposed name, as offered
    ASSERT_EQ(CaughtBoxes.size(), 2u);
    EXPECT_EQ(CaughtBoxes[1].fileName, TRANSCRIPT_FILE);
    Command(CMD_SHOW);
    Open(OTHER_FILE);
    EXPECT_EQ(CaughtBoxes[2].fileName, TRANSCRIPT_FILE);  // the last path chosen, the transcript's
    Open(TEMPLATE_FILE);
    Command(CMD_RECORD);
    Command(CMD_SHOW);
    const std::string title = std::string(TEST_TEMPLATE_TITLE) + "\r\n\r\n";
    const std::string news = "町長が踊りました。\r\n\r\n\r\n";
    EXPECT_EQ(ReadWholeFile(TRANSCRIPT_FILE), title + news + news + OTHER_TITLE + "\r\n\r\n" + title);
}

// The open command still loads its template; the warning comes after its dialog.
TEST_F(RecordCommand, AFailedWriteWarnsAndStopsRecording)
{
    WriteScratchFile(TEMPLATE_FILE, TEST_TEMPLATE);
    StartWith(nullptr);
    StartRecording(FULL_DEVICE);  // nothing to write yet
    ExpectRecording(true);
    Open(TEMPLATE_FILE);
    ASSERT_EQ(CaughtBoxes.size(), 3u);
    EXPECT_EQ(CaughtBoxes[2].texts, std::vector<std::string>{MSG_TRANSCRIPT_WRITE_FAILED});
    ExpectRecording(false);
    EXPECT_EQ(Caption(), TEST_TEMPLATE_TITLE);
}

class AboutBox : public Commands {};

TEST_F(AboutBox, ShowsItsTextsWithTheFocusOnOkAndClosesByOkOrCancel)
{
    StartWith(nullptr);
    BoxReplies = {{IDOK, ""}, {IDCANCEL, ""}};
    Command(CMD_ABOUT);
    Command(CMD_ABOUT);
    ASSERT_EQ(CaughtBoxes.size(), 2u);
    for (const CaughtBox& box : CaughtBoxes) {
        EXPECT_EQ(box.caption, "Zentavoについて");
        EXPECT_EQ(box.owner, MainWindow);
        EXPECT_EQ(box.focus, IDOK);
        EXPECT_EQ(box.texts.at(1), "version 1.10");  // the version from the build
    }
    EXPECT_FALSE(GetWindow(MainWindow, GW_ENABLEDPOPUP));
}

class ToolTips : public Commands {};

TEST_F(ToolTips, TheToolbarsTipControlGivesEachButtonItsOwnText)
{
    StartWith(nullptr);
    HWND tipControl = reinterpret_cast<HWND>(SendMessageA(ToolbarWindow, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tipControl, nullptr);
    EXPECT_EQ(SendMessageA(tipControl, TTM_GETTOOLCOUNT, 0, 0), 8);  // none for the separator
    std::set<std::string> texts;
    for (int command : {CMD_OPEN, CMD_SHOW, CMD_UP, CMD_DOWN, CMD_RECORD, CMD_FONT, CMD_HELP, CMD_ABOUT}) {
        char text[256] = "";
        TOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = ToolbarWindow;
        tool.uId = command;
        tool.lpszText = text;
        SendMessageA(tipControl, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        EXPECT_NE(text[0], '\0') << command;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 8u);
}

}  // namespace
