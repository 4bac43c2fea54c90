// viewer_test.cpp - QUORVEL.HLP in the platform's help viewer, opened the way the program opens it.
//
// Runs under Wine with a virtual display, in the folder that holds the help file (as the
// program does). Each test asks for help with WinHelpA from a window of its own, waits for
// the viewer's window with a deadline and reads what the viewer shows from its text control.
// What each topic should show comes from the listing that the generator writes beside it.
// Following the links themselves is not checked here: Wine's viewer places a hot spot by the
// bytes of the topic's text before it while its text control counts characters, so in a
// Japanese topic it puts each link's hot spot further down than its text; the generator's unit
// test pins every hot spot exactly over its link text instead.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listing.h"
#include "viewer_support.h"

namespace {

const char kHelpFile[] = "QUORVEL.HLP";
const char kListing[] = ZENTAVO_HELP_LISTING;
const int kTextControl = 0x701;  // the viewer's rich text control
const DWORD kTimeout = HELP_VIEWER_TIMEOUT;

// Text without the line ends and spaces the control adds or leaves out between paragraphs.
std::string Squeeze(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != '\r' && c != '\n' && c != ' ') out += c;
    return out;
}

std::string ShownText(HWND viewer)
{
    return WindowText(GetDlgItem(viewer, kTextControl));
}

// Waits until the viewer shows the topic, or says what it shows instead.
::testing::AssertionResult ShowsTopic(HWND viewer, const ListedTopic& topic)
{
    DWORD deadline = GetTickCount() + kTimeout;
    std::string shown;
    do {
        shown = Squeeze(ShownText(viewer));
        if (shown == Squeeze(topic.text)) return ::testing::AssertionSuccess();
        Sleep(50);
    } while (static_cast<LONG>(GetTickCount() - deadline) < 0);
    return ::testing::AssertionFailure() << "the viewer shows \"" << shown << "\", not " << topic.id;
}

// Clicks a piece of text in the viewer's text control: on its first character, the one a link
// placed too far on would miss, or just right of its last one, where no link may be. Finds the
// text in what the control holds and asks the control where that character is.
bool ClickBeside(HWND viewer, const std::string& text)
{
    HWND control = GetDlgItem(viewer, kTextControl);
    std::string shown = ShownText(viewer);
    size_t at = shown.find(text);
    if (at == std::string::npos) return false;
    // Character positions count characters, not bytes, and a paragraph end as one.
    std::string before = shown.substr(0, at + text.size());
    int characters = MultiByteToWideChar(932, 0, before.data(), before.size(), nullptr, 0) - 1;
    for (char c : before) characters -= c == '\n';
    DWORD_PTR where = 0;
    SendMessageTimeoutA(control, EM_POSFROMCHAR, characters, 0, SMTO_ABORTIFHUNG, 2000, &where);
    LPARAM point = MAKELPARAM(LOWORD(where) + 24, HIWORD(where) + 4);
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(control, WM_LBUTTONUP, 0, point);
    return true;
}

class HelpViewer : public ::testing::Test {
protected:
    void SetUp() override
    {
        topics = ReadListing(kListing);
        ASSERT_FALSE(topics.empty()) << "no listing at " << kListing;
        owner = CreateWindowA("STATIC", "Zentavo", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
    }

    void TearDown() override
    {
        WinHelpA(owner, kHelpFile, HELP_QUIT, 0);
        EXPECT_TRUE(WaitForViewerGone(kTimeout)) << "the viewer stays open after HELP_QUIT";
        DestroyWindow(owner);
    }

    // Asks for help as the program's help command does and waits for the contents to show.
    HWND ShowContents()
    {
        EXPECT_TRUE(WinHelpA(owner, kHelpFile, HELP_CONTENTS, 0));
        HWND viewer = WaitForViewer(kTimeout);
        EXPECT_NE(viewer, nullptr) << "no viewer window captioned with the help title";
        return viewer && ShowsTopic(viewer, topics[0]) ? viewer : nullptr;
    }

    std::vector<ListedTopic> topics;
    HWND owner = nullptr;
};

TEST_F(HelpViewer, EveryTopicShowsItsTextByContextNumber)
{
    for (const ListedTopic& topic : topics) {
        SCOPED_TRACE(topic.id);
        ASSERT_TRUE(WinHelpA(owner, kHelpFile, HELP_CONTEXT, topic.number));
        HWND viewer = WaitForViewer(kTimeout);
        ASSERT_NE(viewer, nullptr);
        EXPECT_TRUE(ShowsTopic(viewer, topic));
    }
}

TEST_F(HelpViewer, ContentsShowAndAClickJustRightOfALinkDoesNothing)
{
    for (const ListedLink& link : topics[0].links) {
        SCOPED_TRACE(link.target);
        HWND viewer = ShowContents();
        ASSERT_NE(viewer, nullptr) << "the contents do not show";
        ASSERT_TRUE(ClickBeside(viewer, link.text));
        Sleep(1000);  // long enough for a jump to show
        EXPECT_EQ(Squeeze(ShownText(viewer)), Squeeze(topics[0].text));
    }
}

}  // namespace
