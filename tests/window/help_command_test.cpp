// help_command_test.cpp - the help command opens the manual that the reported Windows version
// can show: QUORVEL.HLP in the platform's help viewer on Windows XP, which shows every topic of it
// by context number and closes at the program's shutdown; QUORVEL.html from the program's folder
// in the browser on Windows 7 and 10, or the help file again when the page is missing.
//
// Wine fixes the version it reports when a process starts, so every case is a run of this test
// program of its own (the disabled case below), with the version set for this program in the
// Wine prefix for that time. The browser is page_recorder.exe, made the "open" action for HTML
// pages meanwhile: it only writes down the path it was given.
//
// The viewer is another process: the test waits for its window with a deadline and reads what
// it shows from its text control. What each topic should show comes from the listing that the
// help file generator writes beside the help file. Clicking the links is not checked here:
// Wine's viewer places a hot spot by the bytes of the topic's text before it while its text
// control counts characters, so in a Japanese topic it puts each link's hot spot further down
// than its text, and a click there would check Wine rather than the file. The generator's unit
// test pins every hot spot exactly over its link text.
#include <process.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/help/listing.h"
#include "ui/manual.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

const char kHelpFile[] = "QUORVEL.HLP";
const char kViewerClass[] = "MS_WINHELP";
const char kViewerCaption[] = "Zentavo ヘルプ";    // the help file's title
const int kTextControl = 0x701;                    // the viewer's rich text control
const char kOpenedPage[] = "ZENTAVO_OPENED_PAGE";  // names the file page_recorder.exe writes
const char kPageType[] = "ZentavoTestPage";        // the file type of HTML pages during the test
const char kVersionKey[] = "Software\\Wine\\AppDefaults\\window_tests.exe";

// Text without the line ends and spaces the viewer's control adds or leaves out between paragraphs.
std::string Squeeze(const std::string& text)
{
    std::string squeezed;
    for (char c : text)
        if (c != '\r' && c != '\n' && c != ' ') squeezed += c;
    return squeezed;
}

// Asked with a buffer of fixed size: across processes Wine's rich text control answers
// WM_GETTEXTLENGTH with 0.
std::string ShownText(HWND viewer)
{
    std::string text(65536, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(GetDlgItem(viewer, kTextControl), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return Squeeze(text.substr(0, copied));
}

// Waits until the viewer shows the topic, or says what it shows instead.
::testing::AssertionResult ShowsTopic(HWND viewer, const ListedTopic& topic)
{
    std::string shown;
    if (WaitFor([&] { return (shown = ShownText(viewer)) == Squeeze(topic.text); }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the viewer shows \"" << shown << "\", not " << topic.id;
}

// Sets the Windows version that Wine reports to this program from its next start, or with
// nullptr takes the setting away.
void SetReportedVersion(const char* version)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kVersionKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (version)
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), strlen(version) + 1);
    else
        RegDeleteValueA(key, "Version");
    RegCloseKey(key);
}

class HelpCommand : public WindowTest {
protected:
    // The start of every case run in a process of its own: the help command in the program's
    // folder, where the help system looks for the help file.
    void StartAndAskForHelp()
    {
        ASSERT_TRUE(SetCurrentDirectoryA(ProgramFolder().c_str()));
        ASSERT_EQ(Start(""), 1);
        Command(CMD_HELP);
    }
};

// Each case runs one of the disabled cases below in a new process of this program, which Wine
// tells the version set for this program meanwhile.
TEST_F(HelpCommand, OpensTheManualThatTheReportedVersionCanShow)
{
    const std::string folder = ProgramFolder(), page = folder + "\\" + HTML_MANUAL_FILE, away = page + ".away";
    const std::string exe = folder + "\\window_tests.exe";
    const std::string command = std::string(kPageType) + "\\shell\\open\\command";
    const std::string recorder = "\"" + folder + "\\page_recorder.exe\" \"%1\"";
    char pageType[MAX_PATH];
    LONG size = sizeof pageType;
    const bool hadPageType = RegQueryValueA(HKEY_CLASSES_ROOT, ".html", pageType, &size) == ERROR_SUCCESS;
    RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, kPageType, 0);
    RegSetValueA(HKEY_CLASSES_ROOT, command.c_str(), REG_SZ, recorder.c_str(), 0);
    SetEnvironmentVariableA(kOpenedPage, FullPath("opened-page.txt").c_str());
    const struct {
        const char* version;
        bool pageThere;
        const char* opens;
    } cases[] = {{"winxp", true, "TheViewer"},
                 {"win7", true, "ThePage"},
                 {"win10", true, "ThePage"},
                 {"win10", false, "TheViewer"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + (c.pageThere ? "" : ", without the page"));
        SetReportedVersion(c.version);
        remove("opened-page.txt");
        if (!c.pageThere) MoveFileA(page.c_str(), away.c_str());
        const std::string filter = std::string("--gtest_filter=HelpCommand.DISABLED_Opens") + c.opens;
        EXPECT_EQ(_spawnl(_P_WAIT, exe.c_str(), ("\"" + exe + "\"").c_str(), "--gtest_also_run_disabled_tests",
                          filter.c_str(), nullptr),
                  0);
        if (!c.pageThere) MoveFileA(away.c_str(), page.c_str());
    }
    SetReportedVersion(nullptr);
    for (std::string key = command; key.find('\\') != std::string::npos; key.erase(key.rfind('\\')))
        RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kPageType);
    if (hadPageType)
        RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, pageType, 0);
    else
        RegDeleteKeyA(HKEY_CLASSES_ROOT, ".html");
}

// Vista and later: the browser gets the page from the program's folder, and no viewer starts.
TEST_F(HelpCommand, DISABLED_OpensThePage)
{
    StartAndAskForHelp();
    const std::string opened = getenv(kOpenedPage);
    EXPECT_TRUE(WaitFor([&] { return ReadWholeFile(opened) != "<missing>"; })) << "no page was opened";
    EXPECT_EQ(ReadWholeFile(opened), ProgramFolder() + "\\" + HTML_MANUAL_FILE);
    EXPECT_EQ(FindWindowA(kViewerClass, nullptr), nullptr) << "a help viewer started too";
}

// XP, or no page: the viewer shows the contents and every topic, and closes when the program
// ends; the page is not opened.
TEST_F(HelpCommand, DISABLED_OpensTheViewer)
{
    StartAndAskForHelp();
    const std::vector<ListedTopic> topics = ReadListing(ZENTAVO_HELP_LISTING);
    ASSERT_FALSE(topics.empty()) << "no listing at " << ZENTAVO_HELP_LISTING;
    HWND viewer = nullptr;
    auto viewerShown = [&] { return (viewer = FindWindowA(kViewerClass, kViewerCaption)) && IsWindowVisible(viewer); };
    ASSERT_TRUE(WaitFor(viewerShown)) << "no help viewer captioned with the help file's title";
    EXPECT_TRUE(ShowsTopic(viewer, topics[0]));
    for (const ListedTopic& topic : topics) {
        SCOPED_TRACE(topic.id);
        ASSERT_TRUE(WinHelpA(MainWindow, kHelpFile, HELP_CONTEXT, topic.number));
        ASSERT_TRUE(WaitFor(viewerShown));
        EXPECT_TRUE(ShowsTopic(viewer, topic));
    }
    Command(CMD_EXIT);
    EXPECT_TRUE(WaitFor([] { return !FindWindowA(kViewerClass, nullptr); })) << "the viewer stays open after the end";
    EXPECT_EQ(ReadWholeFile(getenv(kOpenedPage)), "<missing>") << "the page was opened too";
}

}  // namespace
