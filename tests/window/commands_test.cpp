// commands_test.cpp - what the commands do, with the real open and save dialogs answered by the
// hook: opening, showing, and recording (and what the transcript holds). How each command is
// reached is input_test.cpp's.
#include <string.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "layout/layout.h"
#include "res/resource.h"
#include "template/template.h"
#include "transcript/transcript.h"
#include "ui/filedialogs.h"
#include "ui/manual.h"
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
};

// Cancelled first (nothing changes, and the grayed show command, which another program can still
// send, does nothing), then confirmed, with a full path of 255 bytes, the most the path buffer
// holds: the news on screen stays until a show. A template that fails to load then warns and
// leaves the loaded one in place.
TEST_F(Commands, OpenLoadsTheChosenTemplateAndKeepsItWhenTheNextOneFails)
{
    const std::string folder(254 - FullPath(OTHER_FILE).size(), 'f');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string other = folder + "\\" + OTHER_FILE;
    ASSERT_EQ(FullPath(other).size(), 255u);
    WriteScratchFile(other, OTHER_TEMPLATE);
    WriteScratchFile(TEMPLATE_FILE, UNLOADABLE_TEMPLATE);
    StartWith(nullptr);
    strcpy(NewsBuffer, "前のニュース\n\n");
    BoxReplies.push_back({IDCANCEL, FullPath(other)});
    Command(CMD_OPEN);
    EXPECT_EQ(Caption(), "Zentavo");
    EXPECT_STREQ(PathBuffer, "");
    ExpectShowEnabled(false);
    Command(CMD_SHOW);
    EXPECT_STREQ(NewsBuffer, "前のニュース\n\n");
    Open(other);
    ASSERT_EQ(CaughtBoxes.size(), 2u);
    for (const CaughtBox& dialog : CaughtBoxes) {
        EXPECT_EQ(dialog.owner, MainWindow);
        EXPECT_EQ(dialog.fileName, "");
    }
    EXPECT_EQ(Caption(), OTHER_TITLE);
    EXPECT_EQ(std::string(PathBuffer), FullPath(other));
    EXPECT_STREQ(FileTitle, OTHER_FILE);
    ExpectShowEnabled(true);
    EXPECT_STREQ(NewsBuffer, "前のニュース\n\n");

    Open(TEMPLATE_FILE);
    ASSERT_EQ(CaughtBoxes.size(), 4u);
    EXPECT_EQ(CaughtBoxes[3].texts, std::vector<std::string>{MSG_FLOW_BAD_CHARACTER});
    EXPECT_EQ(Caption(), OTHER_TITLE);
    ExpectShowEnabled(true);
}

// A show that fails to compose warns and keeps the text and the line on screen. (A show that
// works, from line 1, is in input_test.cpp.)
TEST_F(Commands, ShowKeepsTheOldTextWhenTheNewOneCannotBeComposed)
{
    WriteScratchFile(OTHER_FILE, UNCOMPOSABLE_TEMPLATE);
    StartWith(TEST_TEMPLATE);
    Command(CMD_SHOW);
    EXPECT_STREQ(NewsBuffer, TEST_NEWS);
    UpdateWindow(MainWindow);
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
}

// Cancelled; refused replacing an existing file, back in the save dialog and cancelled; then
// replaced after a yes and switched off again.
TEST_F(Commands, RecordTogglesRecordingAndReplacesAFileOnlyAfterAYes)
{
    WriteScratchFile(TRANSCRIPT_FILE, "old");
    StartWith(TEST_TEMPLATE);
    BoxReplies.push_back({IDCANCEL, ""});
    Command(CMD_RECORD);
    ASSERT_EQ(CaughtBoxes.size(), 1u);
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
    Command(CMD_RECORD);
    ExpectRecording(true);
    Command(CMD_RECORD);
    ExpectRecording(false);
    EXPECT_NE(ReadWholeFile(TRANSCRIPT_FILE), "old");
}

// Open, show, switch on, show, open another, fail to show from it (nothing is recorded), open the
// first again, switch off, show.
TEST_F(Commands, RecordingKeepsEveryTitleAndNewsInOrder)
{
    WriteScratchFile(TEMPLATE_FILE, TEST_TEMPLATE);
    WriteScratchFile(OTHER_FILE, UNCOMPOSABLE_TEMPLATE);
    StartWith(nullptr);
    Open(TEMPLATE_FILE);
    Command(CMD_SHOW);
    StartRecording("");  // the proposed name, as offered
    ASSERT_EQ(CaughtBoxes.size(), 2u);
    EXPECT_EQ(CaughtBoxes[1].fileName, TRANSCRIPT_FILE);
    Command(CMD_SHOW);
    Open(OTHER_FILE);
    EXPECT_EQ(CaughtBoxes[2].fileName, TRANSCRIPT_FILE);  // the last path chosen, the transcript's
    Command(CMD_SHOW);
    Open(TEMPLATE_FILE);
    Command(CMD_RECORD);
    Command(CMD_SHOW);
    const std::string title = std::string(TEST_TEMPLATE_TITLE) + "\r\n\r\n";
    const std::string news = "町長が踊りました。\r\n\r\n\r\n";
    EXPECT_EQ(ReadWholeFile(TRANSCRIPT_FILE), title + news + news + "こわれた町\r\n\r\n" + title);
}

// The open command still loads its template; the warning comes after its dialog.
TEST_F(Commands, AFailedTranscriptWriteWarnsAndStopsRecording)
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

// Enter and Esc end it, since the focus is on OK; the version line comes from the build.
TEST_F(Commands, AboutBoxHasTheFocusOnOkAndTheBuildsVersion)
{
    StartWith(nullptr);
    Command(CMD_ABOUT);
    ASSERT_EQ(CaughtBoxes.size(), 1u);
    EXPECT_EQ(CaughtBoxes[0].focus, IDOK);
    EXPECT_EQ(CaughtBoxes[0].texts.at(1), "version 1.10");
}

// The manual's name takes the place of the program's own, after the last backslash that is not
// the second byte of a double-byte character; a path cut short, or with no room for the name,
// gives none.
TEST(ManualPath, ReplacesTheProgramsFileNameWhenItFits)
{
    const struct {
        const char* program;
        size_t size;
        const char* manual;                                                      // nullptr: none
    } cases[] = {{"C:\\Zentavo\\quorvel.exe", 24, "C:\\Zentavo\\QUORVEL.html"},  // exactly full
                 {"C:\\Zentavo\\quorvel.exe", 23, nullptr},
                 {"C:\\Zentavo\\quorvel12.exe", 24, nullptr},    // a path GetModuleFileNameA cut
                 {"C:\\Z\\表.exe", 32, "C:\\Z\\QUORVEL.html"}};  // 表 ends in the backslash's byte
    for (const auto& c : cases) {
        char path[32] = {};
        strcpy(path, c.program);
        EXPECT_EQ(PutManualBesideFile(path, strlen(path), c.size), c.manual ? 1 : 0) << c.program << " " << c.size;
        if (c.manual) {
            EXPECT_STREQ(path, c.manual);
        }
    }
}

}  // namespace
