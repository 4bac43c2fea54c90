// fontsettings_test.cpp - the settings file: its exact bytes, reading it back, and damaged,
// unreadable and unwritable files.
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

// Each file is read into the font command's starting record with a height of 99; what the
// case changes in that record is all that may change.
TEST(FontSettingsFile, ReadsWhatTheLinesSayAndNothingBeyondTheRecord)
{
    std::string garbage;
    for (int line = 0; line < 14; line++) garbage += "\xff\xfe\x80 zz\t;" + std::string(line * 20, '\x82') + "\r\n";
    const struct {
        const char* what;
        std::string file;
        void (*expect)(FontSettings*);
    } cases[] = {
        {"no file", "", [](FontSettings*) {}},
        {"13 lines keep the face name", "-12\r\n0\r\n0\r\n0\r\n400\r\n0\r\n0\r\n0\r\n128\r\n0\r\n0\r\n0\r\n2\r\n",
         [](FontSettings* r) { r->lfHeight = -12, r->lfWeight = 400, r->lfPitchAndFamily = 2; }},
        {"a 256-byte line counts as two", std::string(255, ' ') + "7\r\n3\r\n",
         [](FontSettings* r) { r->lfHeight = 0, r->lfWidth = 7, r->lfEscapement = 3; }},
        {"byte fields keep the low eight bits", "0\n0\n0\n0\n0\n300\n-1\n256\n",
         [](FontSettings* r) { r->lfHeight = 0, r->lfItalic = 44, r->lfUnderline = 255; }},
        {"14 lines of garbage", garbage,
         [](FontSettings* r) {
             *r = FontSettings{};
             strcpy(r->lfFaceName, ("\xff\xfe\x80 zz\t;" + std::string(22, '\x82')).c_str());  // no half character
         }},
        {"a 100 KB face name", std::string(13, '\n') + std::string(100 * 1024, 'F'),
         [](FontSettings* r) {
             *r = FontSettings{};
             strcpy(r->lfFaceName, std::string(31, 'F').c_str());
         }},
        {"a 100 KB first line", std::string(100 * 1024, 'x') + "\n",
         [](FontSettings* r) {
             *r = FontSettings{};
             strcpy(r->lfFaceName, std::string(31, 'x').c_str());
         }},
    };
    for (const auto& c : cases) {
        remove(FONT_SETTINGS_FILE);
        if (!c.file.empty()) WriteScratchFile(FONT_SETTINGS_FILE, c.file);
        GuardedRecord read = FontCommandStart(), expected = FontCommandStart();
        read.record.lfHeight = expected.record.lfHeight = 99;
        ReadFontSettings(&read.record);
        c.expect(&expected.record);
        EXPECT_TRUE(Same(read, expected)) << c.what;
    }
}

TEST(SettingsNumber, ParsesWithThirtyTwoBitWrap)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"4294967280\n", -16},
        {"-16\n", -16},
        {" \t+42x", 42},
        {"\n", 0},
        {"abc", 0},
        {"-", 0},
        {"99999999999", 1215752191},
        {"2147483648", INT32_MIN},
        {"--5", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseSettingsNumber(c.text), c.value) << c.text;
}

// The face name keeps at most 31 bytes and never the first byte of a double-byte character
// alone; the byte at offset 30 decides, at each edge of the lead-byte ranges.
TEST(FaceName, LongLinesKeepThirtyOneBytesAndNeverSplitACharacter)
{
    const std::string a30(30, 'a');
    const struct {
        std::string line;
        std::string kept;
    } cases[] = {
        {std::string(40, 'a'), std::string(31, 'a')},
        {std::string(29, 'a') + "あい", std::string(29, 'a') + "あ"},
        {"ab\x82", "ab\x82"},  // a lead byte that ends the line
        {a30 + "\x80x", a30 + "\x80"},
        {a30 + "\x81x", a30},
        {a30 + "\x9fx", a30},
        {a30 + "\xa0x", a30 + "\xa0"},
        {a30 + "\xdfx", a30 + "\xdf"},
        {a30 + "\xe0x", a30},
        {a30 + "\xfcx", a30},
        {a30 + "\xfdx", a30 + "\xfd"},
    };
    for (const auto& c : cases) {
        struct {
            char face[FACE_NAME_SIZE];
            char guard[8];
        } field;
        memset(&field, 'x', sizeof field);
        CopyFaceName(field.face, c.line.data(), c.line.size());
        EXPECT_EQ(std::string(field.face), c.kept) << c.line;
        EXPECT_EQ(std::string(field.guard, sizeof field.guard), "xxxxxxxx");
    }
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
