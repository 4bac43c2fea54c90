// commands_test.cpp - every command as the menu, the accelerators and the toolbar send it, with the
// real open, save and about dialogs answered by the hook: opening, showing, recording (and its
// transcript's bytes), the about box and the tool tips.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "layout/layout.h"
#include "res/resource.h"
#include "template/template.h"
#include "transcript/transcript.h"
#include "ui/dialogs.h"
#include "ui/menus.h"
#include "ui/view.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

const char TEMPLATE_FILE[] = "zentavo-commands-test.new";
const char OTHER_FILE[] = "zentavo-commands-other.new";
const char TRANSCRIPT_FILE[] = "zentavo-commands-test.txt";
// A device that takes no bytes: every write to it fails (Wine reaches Linux's files through Z:).
const char FULL_DEVICE[] = "Z:\\dev\\full";

// The news TEST_TEMPLATE always gives: three lines, the last two empty.
const char TEST_NEWS[] = "町長が踊りました。\n\n\n";
const char OTHER_TITLE[] = "となり町のニュース";
const char OTHER_TEMPLATE[] = "となり町のニュース\r\n0,-1\r\nみんな元気です。\r\n/E\r\n";
// Loads, but its only flow line names a block it does not have.
const char UNCOMPOSABLE_TEMPLATE[] = "こわれた町\r\n0,1,-1\r\n町長が\r\n/E\r\n";
const char UNLOADABLE_TEMPLATE[] = "タイトル\r\n0,x,-1\r\n";

const char OPEN_TITLE[] = "\x8aJ\x82\xad";     // 開く
const char SAVE_TITLE[] = "\x95\xdb\x91\xb6";  // 保存

class Commands : public WindowTest {
protected:
    void TearDown() override
    {
        WindowTest::TearDown();
        for (const char* file : {TEMPLATE_FILE, OTHER_FILE, TRANSCRIPT_FILE}) remove(file);
    }

    // A visible main window with TEST_TEMPLATE loaded from the command line (or nothing).
    void StartWith(const char* file)
    {
        if (file) WriteFileBytes(TEMPLATE_FILE, file);
        ASSERT_EQ(Start(file ? TEMPLATE_FILE : ""), 1);
        ShowMainWindow(SW_SHOWNORMAL);
    }

    // The open command with name typed into the open dialog and confirmed.
    void Open(const std::string& name)
    {
        BoxReplies.push_back({IDOK, FullPath(name), false});
        Command(CMD_OPEN);
    }

    // The record command, switching on, with name typed into the save dialog and confirmed.
    void StartRecording(const std::string& name)
    {
        BoxReplies.push_back({IDOK, name, false});
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

    static int ScrollPosition()
    {
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
        GetScrollInfo(MainWindow, SB_VERT, &info);
        return info.nPos;
    }
};

class OpenCommand : public Commands {};

// Cancelled first (nothing changes), then confirmed: the news on screen stays until a show.
TEST_F(OpenCommand, LoadsTheChosenTemplateAndEnablesShow)
{
    WriteFileBytes(OTHER_FILE, OTHER_TEMPLATE);
    StartWith(nullptr);
    strcpy(NewsBuffer, "前のニュース\n\n");
    BoxReplies.push_back({IDCANCEL, FullPath(OTHER_FILE), false});
    Command(CMD_OPEN);
    EXPECT_EQ(Caption(), "Zentavo");
    EXPECT_STREQ(PathBuffer, "");
    ExpectShowEnabled(false);
    Open(OTHER_FILE);
    ASSERT_EQ(CaughtBoxes.size(), 2u);
    for (const CaughtBox& dialog : CaughtBoxes) {
        EXPECT_EQ(dialog.caption, OPEN_TITLE);
        EXPECT_EQ(dialog.owner, MainWindow);
        EXPECT_EQ(dialog.fileName, "");
        EXPECT_EQ(dialog.fileTypes, (std::vector<std::string>{
                                        "\xc6\xad\xb0\xbd\xcc\xa7\xb2\xd9(*.new)", "Varnitol\xcc\xa7\xb2\xd9(*.vnt)",
                                        "\x82\xb7\x82\xd7\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9(*.*)"}));
    }
    EXPECT_EQ(Caption(), OTHER_TITLE);
    EXPECT_EQ(std::string(PathBuffer), FullPath(OTHER_FILE));
    EXPECT_STREQ(FileTitle, OTHER_FILE);
    ExpectShowEnabled(true);
    EXPECT_STREQ(NewsBuffer, "前のニュース\n\n");
}

TEST_F(OpenCommand, AFailingTemplateWarnsOnceAndKeepsTheOldOne)
{
    WriteFileBytes(OTHER_FILE, UNLOADABLE_TEMPLATE);
    StartWith(TEST_TEMPLATE);
    Open(OTHER_FILE);
    ASSERT_EQ(CaughtBoxes.size(), 2u);
    ASSERT_EQ(CaughtBoxes[1].texts.size(), 1u);
    EXPECT_EQ(CaughtBoxes[1].texts[0], MSG_FLOW_BAD_CHARACTER);
    EXPECT_EQ(Caption(), TEST_TEMPLATE_TITLE);
    ExpectShowEnabled(true);
    Command(CMD_SHOW);
    EXPECT_STREQ(NewsBuffer, TEST_NEWS);
}

class ShowCommand : public Commands {};

TEST_F(ShowCommand, ShowsTheNewTextFromItsFirstLine)
{
    StartWith(TEST_TEMPLATE);
    Command(CMD_SHOW);
    EXPECT_STREQ(NewsBuffer, TEST_NEWS);
    UpdateWindow(MainWindow);
    EXPECT_EQ(LineCount, 3u);
    Command(CMD_DOWN);
    Command(CMD_DOWN);
    EXPECT_EQ(ScrollPosition(), 2);
    Command(CMD_SHOW);
    EXPECT_EQ(TopLine, 0u);
    EXPECT_EQ(ScrollPosition(), 0);
    SCROLLINFO range = {sizeof range, SIF_RANGE, 0, 0, 0, 0, 0};
    GetScrollInfo(MainWindow, SB_VERT, &range);
    EXPECT_EQ(range.nMax, 2);
    EXPECT_TRUE(CaughtBoxes.empty());
}

// Grayed, but another program can still send it.
TEST_F(ShowCommand, WithNoTemplateLoadedDoesNothing)
{
    StartWith(nullptr);
    Command(CMD_SHOW);
    EXPECT_STREQ(NewsBuffer, "");
    EXPECT_EQ(Caption(), "Zentavo");
    EXPECT_TRUE(CaughtBoxes.empty());
}

TEST_F(ShowCommand, AFailedCompositionKeepsThePreviousTextAndRecordsNothing)
{
    WriteFileBytes(OTHER_FILE, UNCOMPOSABLE_TEMPLATE);
    StartWith(TEST_TEMPLATE);
    Command(CMD_SHOW);
    UpdateWindow(MainWindow);
    ASSERT_EQ(BeginTranscript(TRANSCRIPT_FILE), 1);
    Open(OTHER_FILE);
    Command(CMD_DOWN);
    Command(CMD_SHOW);
    ASSERT_EQ(CaughtBoxes.size(), 2u);
    char warning[128];
    FormatUndefinedBlockMessage(warning, 1, 0, 1);
    ASSERT_EQ(CaughtBoxes[1].texts.size(), 1u);
    EXPECT_EQ(CaughtBoxes[1].texts[0], warning);
    EXPECT_STREQ(NewsBuffer, TEST_NEWS);
    EXPECT_EQ(TopLine, 1u);
    StopTranscript();
    EXPECT_EQ(ReadFileBytes(TRANSCRIPT_FILE),
              std::string(TEST_TEMPLATE_TITLE) + "\r\n\r\n町長が踊りました。\r\n\r\n\r\nこわれた町\r\n\r\n");
}

class RecordCommand : public Commands {};

TEST_F(RecordCommand, MenuAndToolbarToggleRecordingWithBothMarksInStep)
{
    StartWith(TEST_TEMPLATE);
    BoxReplies.push_back({IDCANCEL, "", false});
    ClickToolbarButton(CMD_RECORD);
    ASSERT_EQ(CaughtBoxes.size(), 1u);
    EXPECT_EQ(CaughtBoxes[0].caption, SAVE_TITLE);
    EXPECT_EQ(CaughtBoxes[0].owner, MainWindow);
    EXPECT_EQ(CaughtBoxes[0].fileName, "");  // nothing was chosen in a file dialog yet
    EXPECT_EQ(CaughtBoxes[0].fileTypes,
              (std::vector<std::string>{"\xc3\xb7\xbd\xc4\xcc\xa7\xb2\xd9(*.txt)",
                                        "\x82\xb7\x82\xd7\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9(*.*)"}));
    ExpectRecording(false);

    StartRecording(FullPath(TRANSCRIPT_FILE));
    ExpectRecording(true);
    ClickToolbarButton(CMD_RECORD);
    ExpectRecording(false);
    BoxReplies.push_back({IDOK, FullPath(TRANSCRIPT_FILE), false});
    BoxReplies.push_back({IDYES, "", false});  // replacing the file it wrote before
    ClickToolbarButton(CMD_RECORD);
    ExpectRecording(true);
    Command(CMD_RECORD);
    ExpectRecording(false);
    EXPECT_EQ(CaughtBoxes.size(), 4u);
}

// Open, show, switch on, show, open another, open the first again, switch off.
TEST_F(RecordCommand, TheTranscriptHoldsEveryTitleAndNewsInOrder)
{
    WriteFileBytes(TEMPLATE_FILE, TEST_TEMPLATE);
    WriteFileBytes(OTHER_FILE, OTHER_TEMPLATE);
    StartWith(nullptr);
    Open(TEMPLATE_FILE);
    Command(CMD_SHOW);
    StartRecording("");  // the proposed name, as offered
    ASSERT_EQ(CaughtBoxes.size(), 2u);
    EXPECT_EQ(CaughtBoxes[1].fileName, TRANSCRIPT_FILE);
    EXPECT_EQ(std::string(PathBuffer), FullPath(TRANSCRIPT_FILE));
    Command(CMD_SHOW);
    Open(OTHER_FILE);
    EXPECT_EQ(CaughtBoxes[2].fileName, TRANSCRIPT_FILE);  // the last path chosen, the transcript's
    EXPECT_STREQ(NewsBuffer, TEST_NEWS);
    Open(TEMPLATE_FILE);
    Command(CMD_RECORD);
    ExpectRecording(false);
    const std::string title = std::string(TEST_TEMPLATE_TITLE) + "\r\n\r\n";
    const std::string news = "町長が踊りました。\r\n\r\n\r\n";
    EXPECT_EQ(ReadFileBytes(TRANSCRIPT_FILE), title + news + news + OTHER_TITLE + "\r\n\r\n" + title);
    Command(CMD_SHOW);
    EXPECT_EQ(ReadFileBytes(TRANSCRIPT_FILE), title + news + news + OTHER_TITLE + "\r\n\r\n" + title);
}

// The proposed name can be an existing file, even the template itself: replacing it needs a yes.
TEST_F(RecordCommand, AnExistingFileIsReplacedOnlyAfterTheUserAgrees)
{
    WriteFileBytes(TRANSCRIPT_FILE, "old");
    StartWith(TEST_TEMPLATE);
    BoxReplies.push_back({IDOK, FullPath(TRANSCRIPT_FILE), false});
    BoxReplies.push_back({IDNO, "", false});
    BoxReplies.push_back({IDCANCEL, "", false});  // back in the save dialog
    Command(CMD_RECORD);
    ASSERT_EQ(CaughtBoxes.size(), 3u);
    EXPECT_EQ(CaughtBoxes[1].owner, CaughtBoxes[0].window);  // the question comes from the dialog
    EXPECT_EQ(CaughtBoxes[2].window, CaughtBoxes[0].window);
    ExpectRecording(false);
    EXPECT_EQ(ReadFileBytes(TRANSCRIPT_FILE), "old");

    BoxReplies.push_back({IDOK, FullPath(TRANSCRIPT_FILE), false});
    BoxReplies.push_back({IDYES, "", false});
    Command(CMD_RECORD);
    ExpectRecording(true);
    Command(CMD_RECORD);
    EXPECT_EQ(ReadFileBytes(TRANSCRIPT_FILE), std::string(TEST_TEMPLATE_TITLE) + "\r\n\r\n");
}

// A failed write warns, stops recording and clears both marks. The open command still enables
// the show command for the template it loaded; a show keeps its new text on screen.
TEST_F(RecordCommand, AFailedWriteWarnsAndStopsRecording)
{
    WriteFileBytes(TEMPLATE_FILE, TEST_TEMPLATE);
    StartWith(nullptr);
    StartRecording(FULL_DEVICE);  // nothing to write yet
    ExpectRecording(true);
    Open(TEMPLATE_FILE);
    ASSERT_EQ(CaughtBoxes.size(), 3u);
    EXPECT_EQ(CaughtBoxes[2].texts, std::vector<std::string>{MSG_TRANSCRIPT_WRITE_FAILED});
    ExpectRecording(false);
    EXPECT_EQ(Caption(), TEST_TEMPLATE_TITLE);
    ExpectShowEnabled(true);

    StartRecording(FULL_DEVICE);  // the title is written at once, and fails
    ASSERT_EQ(CaughtBoxes.size(), 5u);
    EXPECT_EQ(CaughtBoxes[4].texts, std::vector<std::string>{MSG_TRANSCRIPT_WRITE_FAILED});
    ExpectRecording(false);

    LoadedTemplate.TitleBuffer[0] = '\0';  // so that switching on writes nothing
    StartRecording(FULL_DEVICE);
    ExpectRecording(true);
    strcpy(LoadedTemplate.TitleBuffer, TEST_TEMPLATE_TITLE);
    Command(CMD_SHOW);
    ASSERT_EQ(CaughtBoxes.size(), 7u);
    EXPECT_EQ(CaughtBoxes[6].texts, std::vector<std::string>{MSG_TRANSCRIPT_WRITE_FAILED});
    ExpectRecording(false);
    EXPECT_STREQ(NewsBuffer, TEST_NEWS);
}

class AboutBox : public Commands {};

// Closed by the OK button, by Enter and by Esc.
TEST_F(AboutBox, ShowsItsTextsWithTheFocusOnOk)
{
    StartWith(nullptr);
    BoxReplies = {{IDOK, "", false}, {IDOK, "", true}, {IDCANCEL, "", true}};
    for (int i = 0; i < 3; i++) Command(CMD_ABOUT);
    ASSERT_EQ(CaughtBoxes.size(), 3u);
    for (const CaughtBox& box : CaughtBoxes) {
        EXPECT_EQ(box.caption, "Zentavo\x82\xc9\x82\xc2\x82\xa2\x82\xc4");  // Zentavoについて
        EXPECT_EQ(box.owner, MainWindow);
        EXPECT_EQ(box.focus, IDOK);
        ASSERT_GE(box.texts.size(), 2u);
        EXPECT_EQ(box.texts[0], "Zentavo for Windows 95");
        EXPECT_EQ(box.texts[1], "version 1.10");
    }
    EXPECT_FALSE(GetWindow(MainWindow, GW_ENABLEDPOPUP));
}

// The toolbar's tool tips, as bytes, as its tool-tip control gets them for a mouse resting on
// each button. Other ids and other notifications leave the record alone.
class ToolTips : public Commands {};

TEST_F(ToolTips, EachButtonShowsItsText)
{
    const struct {
        int command;
        const char* text;
    } tips[] = {
        {CMD_OPEN,
         "\x83t\x83@\x83"
         "C\x83\x8b\x82\xf0\x8aJ\x82\xab\x82\xdc\x82\xb7"},
        {CMD_SHOW, "\x89\xe6\x96\xca\x82\xc9\x83j\x83\x85\x81[\x83X\x82\xf0\x95\x5c\x8e\xa6\x82\xb5\x82\xdc\x82\xb7"},
        {CMD_UP, "\x8f\xe3\x82\xd6\x83X\x83N\x83\x8d\x81[\x83\x8b\x82\xb5\x82\xdc\x82\xb7"},
        {CMD_DOWN, "\x89\xba\x82\xd6\x83X\x83N\x83\x8d\x81[\x83\x8b\x82\xb5\x82\xdc\x82\xb7"},
        {CMD_RECORD,
         "\x89\xe6\x96\xca\x82\xc9\x95\x5c\x8e\xa6\x82\xb3\x82\xea\x82\xe9\x83j\x83\x85\x81[\x83X\x82\xf0\x83t\x83@"
         "\x83"
         "C\x83\x8b\x82\xc9\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb7"},
        {CMD_FONT,
         "\x83j\x83\x85\x81[\x83X\x82\xcc\x95\x5c\x8e\xa6\x82\xc9\x8eg\x97p\x82\xb7\x82\xe9\x83t\x83H\x83\x93\x83g\x82"
         "\xf0\x8ew\x92\xe8\x82\xb5\x82\xdc\x82\xb7\x81"
         "B"},
        {CMD_HELP, "\x83w\x83\x8b\x83v\x82\xcc\x96\xda\x8e\x9f\x82\xf0\x95\x5c\x8e\xa6\x82\xb5\x82\xdc\x82\xb7"},
        {CMD_ABOUT, "\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1\x82\xf0\x95\x5c\x8e\xa6\x82\xb5\x82\xdc\x82\xb7"},
    };
    StartWith(nullptr);
    HWND tipControl = reinterpret_cast<HWND>(SendMessageA(ToolbarWindow, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tipControl, nullptr);
    EXPECT_EQ(SendMessageA(tipControl, TTM_GETTOOLCOUNT, 0, 0), 8);  // none for the separator
    for (const auto& tip : tips) {
        SCOPED_TRACE(tip.command);
        char text[256] = "";
        TOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = ToolbarWindow;
        tool.uId = tip.command;
        tool.lpszText = text;
        SendMessageA(tipControl, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, tip.text);
    }

    char untouched[] = "untouched";
    const struct {
        UINT code;
        UINT_PTR id;
    } others[] = {{TTN_NEEDTEXTA, 0}, {TTN_NEEDTEXTA, CMD_EXIT}, {TTN_NEEDTEXTW, CMD_OPEN}};
    for (const auto& other : others) {
        TOOLTIPTEXTA record = {};
        record.hdr.code = other.code;
        record.hdr.idFrom = other.id;
        record.lpszText = untouched;
        EXPECT_EQ(SendMessageA(MainWindow, WM_NOTIFY, ID_TOOLBAR, reinterpret_cast<LPARAM>(&record)), 0);
        EXPECT_EQ(record.lpszText, untouched);
    }
}

}  // namespace
