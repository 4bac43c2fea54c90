// help_command_test.cpp - the help command opens QUORVEL.HLP in the platform's help viewer, and
// the program's shutdown closes the viewer again.
#include <string>

#include "res/resource.h"
#include "tests/help/viewer_support.h"
#include "ui/window.h"
#include "window_test_support.h"

namespace {

class HelpCommand : public WindowTest {};

// The help file lies beside the test program; the help system finds it in the current folder.
TEST_F(HelpCommand, OpensTheContentsAndShutdownClosesThem)
{
    const std::string exe = BuiltQuorvelPath();
    ASSERT_TRUE(SetCurrentDirectoryA(exe.substr(0, exe.find_last_of('\\')).c_str()));
    ASSERT_EQ(Start(""), 1);
    Command(CMD_HELP);
    HWND viewer = WaitForViewer(HELP_VIEWER_TIMEOUT);
    ASSERT_NE(viewer, nullptr) << "no help viewer captioned with the help file's title";
    Command(CMD_EXIT);
    EXPECT_TRUE(WaitForViewerGone(HELP_VIEWER_TIMEOUT));
}

}  // namespace
