// settings_failure_test.cpp - the settings file unreadable, a folder, garbage, overlong, or in
// a folder where nothing can be written: always silent, always a usable record.
#include <gtest/gtest.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "core/test_host.h"
#include "settings/fontsettings.h"

namespace {

// The record with a guard behind it, so that a face name written too far shows.
struct GuardedRecord {
    FontSettings record;
    char guard[16];
};

GuardedRecord FontCommandStart()
{
    GuardedRecord start;
    memset(&start, 'G', sizeof start);
    start.record = FontSettings{};
    start.record.lfCharSet = 128;
    start.record.lfPitchAndFamily = 1;
    strcpy(start.record.lfFaceName, "System");
    return start;
}

bool GuardIntact(const GuardedRecord& read)
{
    return std::string(read.guard, sizeof read.guard) == std::string(sizeof read.guard, 'G');
}

class SettingsFailure : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear()
    {
        unlink(FONT_SETTINGS_FILE);
        rmdir(FONT_SETTINGS_FILE);
    }
};

TEST_F(SettingsFailure, UnreadableFileOrAFolderChangesNothing)
{
    const GuardedRecord start = FontCommandStart();
    ASSERT_EQ(symlink("/proc/self/mem", FONT_SETTINGS_FILE), 0);  // opens, but every read fails
    GuardedRecord read = start;
    ReadFontSettings(&read.record);
    EXPECT_EQ(memcmp(&read, &start, sizeof read), 0);

    Clear();
    ASSERT_EQ(mkdir(FONT_SETTINGS_FILE, 0755), 0);
    ReadFontSettings(&read.record);
    EXPECT_EQ(memcmp(&read, &start, sizeof read), 0);
    WriteFontSettings(&read.record);
    struct stat info;
    EXPECT_TRUE(stat(FONT_SETTINGS_FILE, &info) == 0 && S_ISDIR(info.st_mode));
}

TEST_F(SettingsFailure, GarbageAndOverlongLinesGiveZerosAndAFaceNameThatFits)
{
    std::string garbage;
    for (int line = 0; line < 14; line++) garbage += "\xff\xfe\x80 zz\t;" + std::string(line * 20, '\x82') + "\r\n";
    const struct {
        const char* name;
        std::string file;
        std::string face;
    } cases[] = {
        {"14 lines of garbage", garbage, "\xff\xfe\x80 zz\t;" + std::string(22, '\x82')},  // no half character
        {"a 100 KB face name", std::string(13, '\n') + std::string(100 * 1024, 'F'), std::string(31, 'F')},
        {"a 100 KB first line", std::string(100 * 1024, 'x') + "\n", std::string(31, 'x')},
    };
    for (const auto& c : cases) {
        FILE* file = fopen(FONT_SETTINGS_FILE, "wb");
        ASSERT_NE(file, nullptr);
        fwrite(c.file.data(), 1, c.file.size(), file);
        fclose(file);
        GuardedRecord read = FontCommandStart();
        read.record.lfHeight = 99;
        ReadFontSettings(&read.record);
        EXPECT_EQ(read.record.lfHeight, 0) << c.name;
        EXPECT_EQ(read.record.lfCharSet, 0) << c.name;
        EXPECT_EQ(std::string(read.record.lfFaceName), c.face) << c.name;
        EXPECT_TRUE(GuardIntact(read)) << c.name;
    }
}

// No one, root included, can create a file in /proc: writing does nothing and says nothing.
TEST_F(SettingsFailure, FolderWhereNothingCanBeWritten)
{
    char here[PATH_MAX];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir("/proc"), 0);
    const GuardedRecord start = FontCommandStart();
    GuardedRecord record = start;
    WriteFontSettings(&record.record);
    ReadFontSettings(&record.record);
    bool written = access(FONT_SETTINGS_FILE, F_OK) == 0;
    ASSERT_EQ(chdir(here), 0);
    EXPECT_FALSE(written);
    EXPECT_EQ(memcmp(&record, &start, sizeof record), 0);
}

}  // namespace
