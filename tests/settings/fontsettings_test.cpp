// fontsettings_test.cpp - the settings file: its exact bytes, reading it back, and unreadable
// and unwritable places. What any file's lines read as, damaged ones and face names cut at
// 31 bytes included, is checked against a plain model by the settings fuzz target's corpus.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "settings/fontsettings.h"
#include "tests/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The record a font command starts from when there is no settings file, with a guard behind
// it, so that a face name written too far shows.
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

bool Same(const GuardedRecord& a, const GuardedRecord& b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

TEST(FontSettingsFile, WritesFourteenCrLfLinesThatReadBackTheSame)
{
    GuardedRecord record = FontCommandStart();
    WriteFontSettings(&record.record);
    EXPECT_EQ(ReadWholeFile(FONT_SETTINGS_FILE),
              "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n128\r\n0\r\n0\r\n0\r\n1\r\nSystem");

    GuardedRecord written = FontCommandStart();
    written.record = FontSettings{-16, -7, 900, 1800, 700, 1, 1, 1, 128, 3, 2, 1, 0x31, "ＭＳ 明朝"};
    WriteFontSettings(&written.record);
    EXPECT_NE(ReadWholeFile(FONT_SETTINGS_FILE).find("4294967280\r\n4294967289\r\n"), std::string::npos);
    GuardedRecord read = FontCommandStart();
    ReadFontSettings(&read.record);
    EXPECT_TRUE(Same(read, written));

    // A face name read with its line feed keeps it, and writes it back as the line's end.
    const std::string withLineFeed = "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n128\r\n0\r\n0\r\n0\r\n0\r\nArial\r\n";
    WriteScratchFile(FONT_SETTINGS_FILE, withLineFeed);
    ReadFontSettings(&read.record);
    EXPECT_STREQ(read.record.lfFaceName, "Arial\n");
    WriteFontSettings(&read.record);
    EXPECT_EQ(ReadWholeFile(FONT_SETTINGS_FILE), withLineFeed);
}

#ifndef _WIN32
// A settings file that opens but cannot be read, a folder of its name, and a current folder
// where nothing can be created: reading and writing say nothing, change nothing and leave no
// file open.
TEST(FontSettingsFile, UnreadableOrUnwritablePlacesChangeNothing)
{
    const GuardedRecord start = FontCommandStart();
    const size_t openFiles = OpenFileCount();
    ASSERT_EQ(symlink("/proc/self/mem", FONT_SETTINGS_FILE), 0);  // opens, but every read fails
    GuardedRecord record = start;
    ReadFontSettings(&record.record);
    EXPECT_TRUE(Same(record, start));
    unlink(FONT_SETTINGS_FILE);

    ASSERT_EQ(mkdir(FONT_SETTINGS_FILE, 0755), 0);
    ReadFontSettings(&record.record);
    WriteFontSettings(&record.record);
    EXPECT_TRUE(Same(record, start));
    struct stat info;
    EXPECT_TRUE(stat(FONT_SETTINGS_FILE, &info) == 0 && S_ISDIR(info.st_mode));
    rmdir(FONT_SETTINGS_FILE);

    WriteFontSettings(&record.record);
    ReadFontSettings(&record.record);
    EXPECT_EQ(OpenFileCount(), openFiles) << "a settings file was left open";

    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir("/proc"), 0);  // no one, root included, can create a file here
    WriteFontSettings(&record.record);
    ReadFontSettings(&record.record);
    bool written = access(FONT_SETTINGS_FILE, F_OK) == 0;
    ASSERT_EQ(chdir(here), 0);
    EXPECT_FALSE(written);
    EXPECT_TRUE(Same(record, start));
}
#endif

}  // namespace
