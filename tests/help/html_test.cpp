// html_test.cpp - the HTML manual in a real browser: every link names a topic, and in headless
// Chromium following a link to the last topic marks that section.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "listing.h"
#include "tests/test_support.h"

namespace {

const char kPage[] = ZENTAVO_HTML_MANUAL;
const char kListing[] = ZENTAVO_HELP_LISTING;
const char kShots[] = ZENTAVO_HTML_SHOTS;
// Tall enough to hold the whole page without scrolling, drawn at a quarter of the pixels.
const char kWindow[] = "--window-size=800,12000 --force-device-scale-factor=0.25";
const unsigned char kTargetColour[] = {0xFF, 0xF4, 0xCC};  // the background of the section a link leads to

// A browser that reaches nothing outside the file, with a profile of its own that goes away.
std::string Chromium(const std::string& options)
{
    return "d=$(mktemp -d) && DBUS_SESSION_BUS_ADDRESS=disabled: chromium --headless --no-sandbox --disable-gpu "
           "--disable-quic --no-first-run --disable-background-networking --disable-component-update "
           "--disable-sync --user-data-dir=\"$d\" " +
           options + " 2>/dev/null; s=$?; rm -rf \"$d\"; exit $s";
}

std::string Output(const std::string& command)
{
    ShellRun run = RunShell(command);
    EXPECT_EQ(run.status, 0) << command << "\n" << run.err;
    return run.out;
}

struct Rows {
    int first, last, height;
};

// The first and last rows of a screenshot's middle column in the target colour, -1 for none.
Rows TargetRows(const std::string& png)
{
    std::istringstream in(Output("convert '" + png + "' -gravity North -crop 1x0+0+0 +repage -depth 8 ppm:-"));
    std::string magic;
    int width = 0, maximum = 0;
    Rows rows{-1, -1, 0};
    in >> magic >> width >> rows.height >> maximum;
    in.get();
    EXPECT_EQ(magic, "P6") << png;
    unsigned char pixel[3];
    for (int row = 0; in.read(reinterpret_cast<char*>(pixel), 3); ++row) {
        if (memcmp(pixel, kTargetColour, 3) != 0) continue;
        if (rows.first < 0) rows.first = row;
        rows.last = row;
    }
    return rows;
}

TEST(HtmlManual, EachLinkLandsOnTheSectionItNames)
{
    if (system("command -v chromium >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "chromium is not installed: the HTML manual is not checked in a browser";
    std::vector<std::string> ids;
    for (const ListedTopic& topic : ReadListing(kListing)) ids.push_back(topic.id);
    ASSERT_FALSE(ids.empty()) << "no listing at " << kListing;
    std::ostringstream page;
    page << std::ifstream(kPage).rdbuf();
    const std::string html = page.str();
    for (size_t at = html.find("href=\"#"); at != std::string::npos; at = html.find("href=\"#", at + 1)) {
        std::string target = html.substr(at + 7, html.find('"', at + 7) - at - 7);
        EXPECT_NE(std::find(ids.begin(), ids.end(), target), ids.end()) << "a link to " << target;
    }
    // The last topic: the page's anchors work in the browser down to the bottom, and the whole
    // page fits in the screenshot.
    const std::string shot = std::string(kShots) + "/" + ids.back() + ".png";
    Output("mkdir -p '" + std::string(kShots) + "' && (" +
           Chromium(std::string(kWindow) + " --screenshot='" + shot + "' 'file://" + kPage + "#" + ids.back() + "'") +
           ")");
    Rows rows = TargetRows(shot);
    EXPECT_GE(rows.first, 0) << "no section marked";
    EXPECT_LT(rows.last, rows.height - 1) << "the page is taller than the screenshot";
}

}  // namespace
