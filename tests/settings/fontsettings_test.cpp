// fontsettings_test.cpp - the settings file: its exact bytes, reading it back, and damaged files.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "settings/fontsettings.h"
#include "tests/core/test_host.h"

namespace {

// The record a font command starts from when there is no settings file.
FontSettings FontCommandDefaults()
{
    FontSettings record{};
    record.lfCharSet = 128;
    record.lfPitchAndFamily = 1;
    strcpy(record.lfFaceName, "System");
    return record;
}

void WriteSettingsFile(const std::string& bytes)
{
    FILE* file = fopen(FONT_SETTINGS_FILE, "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

class FontSettingsFile : public ::testing::Test {
protected:
    void SetUp() override { remove(FONT_SETTINGS_FILE); }
    void TearDown() override { remove(FONT_SETTINGS_FILE); }
};

TEST_F(FontSettingsFile, WritesFourteenCrLfLinesWithTheFaceNameLast)
{
    FontSettings record = FontCommandDefaults();
    WriteFontSettings(&record);
    EXPECT_EQ(ReadWholeFile(FONT_SETTINGS_FILE),
              "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n128\r\n0\r\n0\r\n0\r\n1\r\nSystem");
}

TEST_F(FontSettingsFile, ReadsBackWhatItWroteNegativeHeightsIncluded)
{
    FontSettings written{-16, -7, 900, 1800, 700, 1, 1, 1, 128, 3, 2, 1, 0x31, "ＭＳ 明朝"};
    WriteFontSettings(&written);
    EXPECT_NE(ReadWholeFile(FONT_SETTINGS_FILE).find("4294967280\r\n4294967289\r\n"), std::string::npos);
    FontSettings read = FontCommandDefaults();
    ReadFontSettings(&read);
    EXPECT_EQ(memcmp(&read, &written, sizeof read), 0);
}

TEST_F(FontSettingsFile, MissingFileAndMissingLinesLeaveFieldsAsTheyWere)
{
    FontSettings record = FontCommandDefaults();
    ReadFontSettings(&record);
    FontSettings defaults = FontCommandDefaults();
    EXPECT_EQ(memcmp(&record, &defaults, sizeof record), 0);

    WriteSettingsFile("-12\r\n0\r\n0\r\n0\r\n400\r\n0\r\n0\r\n0\r\n128\r\n0\r\n0\r\n0\r\n2\r\n");
    ReadFontSettings(&record);
    EXPECT_EQ(record.lfHeight, -12);
    EXPECT_EQ(record.lfWeight, 400);
    EXPECT_EQ(record.lfPitchAndFamily, 2);
    EXPECT_STREQ(record.lfFaceName, "System");
}

TEST_F(FontSettingsFile, FaceNameKeepsALineFeedItWasReadWith)
{
    WriteSettingsFile("0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n128\r\n0\r\n0\r\n0\r\n0\r\nArial\r\n");
    FontSettings record = FontCommandDefaults();
    ReadFontSettings(&record);
    EXPECT_STREQ(record.lfFaceName, "Arial\n");
    WriteFontSettings(&record);
    EXPECT_EQ(ReadWholeFile(FONT_SETTINGS_FILE),
              "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n128\r\n0\r\n0\r\n0\r\n0\r\nArial\r\n");
}

TEST_F(FontSettingsFile, ALineLongerThanTheBufferCountsAsTwoLines)
{
    WriteSettingsFile(std::string(255, ' ') + "7\r\n3\r\n");
    FontSettings record = FontCommandDefaults();
    record.lfHeight = 99;
    ReadFontSettings(&record);
    EXPECT_EQ(record.lfHeight, 0);  // the first 255 blanks, without digits
    EXPECT_EQ(record.lfWidth, 7);
    EXPECT_EQ(record.lfEscapement, 3);
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

TEST_F(FontSettingsFile, ByteFieldsKeepTheLowEightBits)
{
    WriteSettingsFile("0\n0\n0\n0\n0\n300\n-1\n256\n");
    FontSettings record = FontCommandDefaults();
    ReadFontSettings(&record);
    EXPECT_EQ(record.lfItalic, 44);
    EXPECT_EQ(record.lfUnderline, 255);
    EXPECT_EQ(record.lfStrikeOut, 0);
}

TEST(FaceName, LongLinesKeepThirtyOneBytesAndNeverSplitACharacter)
{
    const struct {
        std::string line;
        std::string kept;
    } cases[] = {
        {std::string(40, 'a'), std::string(31, 'a')},
        {std::string(29, 'a') + "あい", std::string(29, 'a') + "あ"},  // "あ" ends at byte 31
        {std::string(30, 'a') + "あ", std::string(30, 'a')},           // "あ" would need bytes 31 and 32
        {"ab\x82", "ab\x82"},                                          // a lead byte that ends the line
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

}  // namespace
