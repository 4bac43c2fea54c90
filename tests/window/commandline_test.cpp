// commandline_test.cpp - which template path a command-line tail names.
#include <gtest/gtest.h>

#include <string>

#include "ui/commandline.h"

namespace {

TEST(CommandLineTail, NamesTheWholeTailOrWhatLiesBetweenQuotesAroundIt)
{
    const struct {
        const char* tail;
        const char* path;  // nullptr: no path
    } cases[] = {
        {"", nullptr},
        {"C:\\my news\\town.new", "C:\\my news\\town.new"},  // unquoted: taken whole, blanks and all
        {"town.new \"x\"", "town.new \"x\""},
        {"\"C:\\my news\\town.new\"  ", "C:\\my news\\town.new"},
        {"\"C:\\my news\\town.new\" -extra", "\"C:\\my news\\town.new\" -extra"},
        {"\"C:\\no closing quote.new", "\"C:\\no closing quote.new"},
        {"\"\"", "\"\""},
        {"\"ニュース.new\"", "ニュース.new"},
    };
    for (const auto& c : cases) {
        std::string tail = c.tail;
        const char* path = TemplatePathFromTail(&tail[0]);
        if (!c.path) {
            EXPECT_EQ(path, nullptr) << c.tail;
            continue;
        }
        EXPECT_STREQ(path, c.path) << c.tail;
        EXPECT_TRUE(path > tail.data() - 1 && path < tail.data() + tail.size()) << "points into the tail";
    }
}

}  // namespace
