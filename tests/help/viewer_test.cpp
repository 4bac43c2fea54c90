// viewer_test.cpp - QUORVEL.HLP in the platform's help viewer, opened the way the program opens it.
//
// Runs under Wine with a virtual display, in the folder that holds the help file (as the
// program does). Each test asks for help with WinHelpA from a window of its own, waits for
// the viewer's window with a deadline and reads what the viewer shows from its text control.
// What each topic should show comes from the listing that the generator writes beside it.
// Clicking the links is not checked here: Wine's viewer places a hot spot by the bytes of the
// topic's text before it while its text control counts characters, so in a Japanese topic it
// puts each link's hot spot further down than its text, and a click there checks Wine rather
// than the file. The generator's unit test pins every hot spot exactly over its link text.
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

}  // namespace
