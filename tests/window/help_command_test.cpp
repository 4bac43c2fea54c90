// help_command_test.cpp - the help command opens QUORVEL.HLP in the platform's help viewer, the
// viewer shows every topic of it by context number, and the program's shutdown closes it again.
//
// The viewer is another process: the test waits for its window with a deadline and reads what
// it shows from its text control. What each topic should show comes from the listing that the
// help file generator writes beside the help file. Clicking the links is not checked here:
// Wine's viewer places a hot spot by the bytes of the topic's text before it while its text
// control counts characters, so in a Japanese topic it puts each link's hot spot further down
// than its text, and a click there would check Wine rather than the file. The generator's unit
// test pins every hot spot exactly over its link text.
#include <string.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/help/listing.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

const char kHelpFile[] = "QUORVEL.HLP";
const char kViewerClass[] = "MS_WINHELP";
const char kViewerCaption[] = "Zentavo ヘルプ";  // the help file's title
const int kTextControl = 0x701;                  // the viewer's rich text control
const DWORD kTimeout = 15000;

bool Expired(DWORD deadline)
{
    return static_cast<LONG>(GetTickCount() - deadline) >= 0;
}

HWND WaitForViewer()
{
    for (DWORD deadline = GetTickCount() + kTimeout;; Sleep(50)) {
        HWND viewer = FindWindowA(kViewerClass, kViewerCaption);
        if (viewer && IsWindowVisible(viewer)) return viewer;
        if (Expired(deadline)) return nullptr;
    }
}

bool WaitForViewerGone()
{
    for (DWORD deadline = GetTickCount() + kTimeout; FindWindowA(kViewerClass, nullptr); Sleep(50))
        if (Expired(deadline)) return false;
    return true;
}

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
    for (DWORD deadline = GetTickCount() + kTimeout; !Expired(deadline); Sleep(50))
        if ((shown = ShownText(viewer)) == Squeeze(topic.text)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the viewer shows \"" << shown << "\", not " << topic.id;
}

class HelpCommand : public WindowTest {};

// The help file lies beside the test program; the help system finds it in the current folder.
TEST_F(HelpCommand, OpensTheContentsShowsEveryTopicAndShutdownClosesThem)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    *strrchr(exe, '\\') = '\0';
    ASSERT_TRUE(SetCurrentDirectoryA(exe));
    const std::vector<ListedTopic> topics = ReadListing(ZENTAVO_HELP_LISTING);
    ASSERT_FALSE(topics.empty()) << "no listing at " << ZENTAVO_HELP_LISTING;
    ASSERT_EQ(Start(""), 1);
    Command(CMD_HELP);
    HWND viewer = WaitForViewer();
    ASSERT_NE(viewer, nullptr) << "no help viewer captioned with the help file's title";
    EXPECT_TRUE(ShowsTopic(viewer, topics[0]));
    for (const ListedTopic& topic : topics) {
        SCOPED_TRACE(topic.id);
        ASSERT_TRUE(WinHelpA(MainWindow, kHelpFile, HELP_CONTEXT, topic.number));
        ASSERT_NE(viewer = WaitForViewer(), nullptr);
        EXPECT_TRUE(ShowsTopic(viewer, topic));
    }
    Command(CMD_EXIT);
    EXPECT_TRUE(WaitForViewerGone()) << "the viewer stays open after the program ends";
}

}  // namespace
