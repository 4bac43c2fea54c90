// fontsettings_test.cpp - the settings file: its exact bytes, reading it back, its numbers and
// face names, and unreadable and unwritable places.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "settings/fontsettings.h"
#include "tests/test_support.h"

#ifndef _WIN32
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

    // A face name read with its line feed keeps it, and writes it back as the line's end;
    // lines after the 14th are not read.
    const std::string withLineFeed = "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n128\r\n0\r\n0\r\n0\r\n0\r\nArial\r\n";
    WriteScratchFile(FONT_SETTINGS_FILE, withLineFeed + "Extra\r\n");
    ReadFontSettings(&read.record);
    EXPECT_STREQ(read.record.lfFaceName, "Arial\n");
    WriteFontSettings(&read.record);
    EXPECT_EQ(ReadWholeFile(FONT_SETTINGS_FILE), withLineFeed);
}

TEST(FontSettingsFile, LongShortAndEndedFilesReadLineByLine)
{
    // A 257-byte line is two lines; the file then ends early at Ctrl-Z.
    WriteScratchFile(FONT_SETTINGS_FILE, std::string(255, ' ') +
                                             "7\r\n-3\r\n\x1a"
                                             "5\r\n");
    GuardedRecord read = FontCommandStart();
    ReadFontSettings(&read.record);
    GuardedRecord expected = FontCommandStart();
    expected.record.lfWidth = 7;
    expected.record.lfEscapement = -3;
    EXPECT_TRUE(Same(read, expected));
}

TEST(FontSettingsNumber, SkipsBlanksTakesOneSignAndWraps)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {{"-7", -7},
                 {"+-7", 0},
                 {"x1", 0},
                 {"4294967280", -16},
                 {"4294967296", 0},
                 {"-2147483648", INT32_MIN},
                 {" \t\v\f\r\n+12x", 12}};
    for (const auto& c : cases) EXPECT_EQ(ParseSettingsNumber(c.text), c.value) << c.text;
}

// A face name keeps at most 31 bytes and never the first half of a double-byte character:
// after 30 bytes, a lead byte (0x81 to 0x9F, 0xE0 to 0xFC) is left out with its second byte.
TEST(FontSettingsFaceName, KeepsThirtyOneBytesAndWholeCharacters)
{
    const std::string start(30, 'a');
    for (const LeadByteEdge& edge : LEAD_BYTE_EDGES) {
        char face[FACE_NAME_SIZE + 1];
        face[FACE_NAME_SIZE] = 'G';
        CopyFaceName(face, (start + edge.byte + "z").c_str(), 32);
        EXPECT_EQ(std::string(face), edge.lead ? start : start + edge.byte) << std::hex << (edge.byte & 0xFF);
        EXPECT_EQ(face[FACE_NAME_SIZE], 'G');
    }
    char face[FACE_NAME_SIZE];
    CopyFaceName(face, std::string(29, 'a').append("\x82\xa0\x81").c_str(), 32);
    EXPECT_EQ(std::string(face), std::string(29, 'a') + "\x82\xa0");
    CopyFaceName(face, std::string(30, 'a').append("\x81").c_str(), 31);  // a lead byte at the end stands alone
    EXPECT_EQ(std::string(face), std::string(30, 'a') + "\x81");
}

#ifndef _WIN32
// In a current folder where nothing can be created, reading and writing say nothing, change
// nothing and leave no file open.
TEST(FontSettingsFile, UnwritablePlaceChangesNothing)
{
    const GuardedRecord start = FontCommandStart();
    GuardedRecord record = start;
    const size_t openFiles = OpenFileCount();
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir("/proc"), 0);  // no one, root included, can create a file here
    WriteFontSettings(&record.record);
    ReadFontSettings(&record.record);
    bool written = access(FONT_SETTINGS_FILE, F_OK) == 0;
    ASSERT_EQ(chdir(here), 0);
    EXPECT_FALSE(written);
    EXPECT_TRUE(Same(record, start));
    WriteFontSettings(&record.record);
    ReadFontSettings(&record.record);
    EXPECT_EQ(OpenFileCount(), openFiles) << "a settings file was left open";
}
#endif

}  // namespace
