// encoding_test.cpp - templates saved in UTF-8 or UTF-16 load as their code page 932 twins.
#include <gtest/gtest.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "core/cp932.h"
#include "core/textdecode.h"
#include "template/template.h"
#include "test_host.h"
#include "transcript/transcript.h"

namespace {

enum Form { SJIS, UTF8, UTF8_MARK, UTF16LE, UTF16BE };

void AppendUtf16(uint32_t unit, bool bigEndian, std::string* out)
{
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit);
    *out += bigEndian ? std::string{high, low} : std::string{low, high};
}

// Code points as UTF-16 (pairs for those beyond U+FFFF) or UTF-8, without a mark.
std::string Encode(const std::vector<uint32_t>& codePoints, Form form)
{
    std::string out;
    for (uint32_t c : codePoints) {
        if (form == UTF16LE || form == UTF16BE) {
            if (c > 0xFFFF) {
                AppendUtf16(0xD800 + ((c - 0x10000) >> 10), form == UTF16BE, &out);
                c = 0xDC00 + ((c - 0x10000) & 0x3FF);
            }
            AppendUtf16(c, form == UTF16BE, &out);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            out += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
                    static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        }
    }
    return out;
}

const char* const kMarks[] = {"", "", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};

// The code page 932 text saved in another form, converted with the program's own table.
std::string Twin(const std::string& sjis, Form form)
{
    if (form == SJIS) return sjis;
    std::vector<uint32_t> codePoints;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(sjis.data());
    for (size_t i = 0, used; i < sjis.size(); i += used) {
        long c = Cp932ToUnicode(bytes + i, sjis.size() - i, &used);
        EXPECT_GE(c, 0) << "no character at byte " << i;
        codePoints.push_back(static_cast<uint32_t>(c));
    }
    return kMarks[form] + Encode(codePoints, form);
}

// Everything a load leaves that a user or --check sees: result, warnings, fault line, the
// store with its source lines, and a transcript of the title and ten seeded news texts.
std::string LoadOutcome(const std::string& bytes)
{
    ResetCoreForTest();
    int loaded = LoadTemplate(WriteScratchFile("template", bytes).c_str());
    std::string outcome = std::to_string(loaded) + " line " + std::to_string(LastLoadFaultLine);
    for (const std::string& warning : Warnings) outcome += "\n" + warning;
    if (!loaded) return outcome;
    for (int line = 0; line <= LoadedTemplate.LastFlowLine; line++) {
        outcome += "\nflow at " + std::to_string(LoadedSourceLines.FlowLine[line]) + ":";
        for (int e = 0; e < FlowLineLength(line); e++)
            outcome += " " + std::to_string(LoadedTemplate.FlowTable[line][e]);
    }
    for (int block = 0; block <= LoadedTemplate.LastBlock; block++) {
        outcome += "\nblock at " + std::to_string(LoadedSourceLines.Block[block]) + ":";
        for (int s = 0; s < BlockSentenceCount(block); s++)
            outcome += std::string("|") + LoadedTemplate.SentenceTable[block][s];
    }
    EXPECT_EQ(StartTranscript("transcript.txt"), 1);
    for (uint32_t seed = 0; seed < 10; seed++) ComposeNextNewsSeeded(seed) && RecordNews();
    StopTranscript();
    return outcome + "\n" + ReadWholeFile("transcript.txt");
}

// The largest template: 100 full flow lines, 100 blocks of 100 sentences of up to 255 bytes
// that mix single- and double-byte characters, so that blocks of the file end inside them.
std::string LargestTemplate()
{
    std::string text = "最大のテンプレート\n";
    for (int line = 0; line < 100; line++) {
        for (int block = 0; block < 100; block++) text += std::to_string(block) + ",";
        text += line < 99 ? "-2\n" : "-1\n";
    }
    const std::string pieces[] = {"漢字", "かな", "ｶﾅ", "ABC", "①", "ⅰ", "〜", "/@"};
    for (int block = 0; block < 100; block++) {
        for (int s = 0; s < 100; s++) {
            std::string sentence = std::to_string(block * 100 + s);
            for (int i = s; sentence.size() + pieces[i % 8].size() <= 255; i++) sentence += pieces[i % 8];
            text += sentence + "\n";
        }
        text += "/E\n";
    }
    return text;
}

TEST(TemplateEncoding, EveryFormLoadsAsItsCodePage932Twin)
{
    std::vector<std::string> templates = {ReadWholeFile(ZENTAVO_SAMPLES "/town-news.new"),
                                          ReadWholeFile(ZENTAVO_SAMPLES "/sports.vnt"),
                                          LargestTemplate(),
                                          "題\r\n0,1,-2\r\n0,ｘ,-1\r\n文\r\n/E\r\n",
                                          ";注釈\n\n",
                                          "題\n0,-1\n文\n",
                                          "題\n0,-1\n" + std::string(300, 'a') + "あいう\n/E\n\x1Aこの先は読まない",
                                          "題\n0,\r-1\n文\n/E\n",
                                          ""};
    ASSERT_NE(templates[1], "<missing>");
    std::string crowded = "題\n0,-1\n";
    for (int s = 0; s <= 100; s++) crowded += "文章" + std::to_string(s) + "\n";
    templates.push_back(crowded);
    for (size_t t = 0; t < templates.size(); t++) {
        std::string expected = LoadOutcome(templates[t]);
        for (Form form : {UTF8, UTF8_MARK, UTF16LE, UTF16BE})
            EXPECT_EQ(LoadOutcome(Twin(templates[t], form)), expected) << "template " << t << ", form " << form;
    }
}

std::string Utf16(const std::string& ascii, bool bigEndian = false)
{
    std::string out;
    for (char c : ascii) AppendUtf16(static_cast<unsigned char>(c), bigEndian, &out);
    return out;
}

// Bytes that are no character in a converted file are refused with a warning of their own and
// the line they are on, and the template loaded before stays; everything else loads, with a
// "?" for each character code page 932 cannot hold.
TEST(TemplateEncoding, BrokenTextIsRefusedAndForeignCharactersReplaced)
{
    const std::string comments(70000, ';');  // beyond the first block read
    const struct {
        std::string bytes;
        const char* warning;  // nullptr: loads
        unsigned long lineOrTitleLength;
        std::string title;
    } cases[] = {
        {"\xEF\xBB\xBFT\n0,-1\na\n/E\n\xE3\x81", MSG_BROKEN_UTF8, 5, ""},
        {"\xEF\xBB\xBFT\n0,-1\na\x80\n/E\n", MSG_BROKEN_UTF8, 3, ""},          // a lone continuation byte
        {"\xEF\xBB\xBFT\xED\xA0\x80\n0,-1\na\n/E\n", MSG_BROKEN_UTF8, 1, ""},  // a surrogate
        {"\xFF\xFE" + Utf16("T\n0,-1\na\n/E\n") + "x", MSG_BROKEN_UTF16, 5, ""},
        {"\xFF\xFE" + Utf16("T\n0,-1\n") + std::string("\x00\xD8", 2) + Utf16("a\n/E\n"), MSG_BROKEN_UTF16, 3, ""},
        {"\xFE\xFF" + Utf16("T\n", true) + std::string("\xDC\x00", 2) + Utf16("0,-1\na\n/E\n", true), MSG_BROKEN_UTF16,
         2, ""},
        {"\xFF\xFE" + Utf16("T\n0,-1\na\n/E\n\x1A") + "x", nullptr, 0, "T"},
        {"T\xF0\x9F\x98\x80\xC3\xA9\n0,-1\na\n/E\n", nullptr, 0, "T??"},
        {"\xFE\xFF" + Utf16("T", true) + std::string("\xDB\xFF\xDF\xFF", 4) + Utf16("\n0,-1\na\n/E\n", true), nullptr,
         0, "T?"},
        {"\x82\xA0\n0,-1\na\n/E\n", nullptr, 0, "\x82\xA0"},
        {"T\xC3\xA9\n" + comments + "\n0,-1\n\xE3\x81\x82\n/E\n", nullptr, 0, "T?"},
        {"T\xC3\xA9\n" + comments + "\n0,-1\n\x82\xA0\n/E\n", nullptr, 0, "T\xC3\xA9"},
    };
    for (const auto& c : cases) {
        ResetCoreForTest();
        ASSERT_EQ(LoadTemplate(WriteScratchFile("old", "Old\n0,-1\na\n/E\n").c_str()), 1);
        EXPECT_EQ(LoadTemplate(WriteScratchFile("template", c.bytes).c_str()), c.warning ? 0 : 1) << c.bytes;
        if (c.warning) {
            EXPECT_EQ(Warnings, std::vector<std::string>{c.warning}) << c.bytes;
            EXPECT_EQ(LastLoadFaultLine, c.lineOrTitleLength) << c.bytes;
            EXPECT_STREQ(LoadedTemplate.TitleBuffer, "Old");
        } else {
            EXPECT_TRUE(Warnings.empty()) << c.bytes;
            EXPECT_EQ(LoadedTemplate.TitleBuffer, c.title);
        }
    }
}

// Every character of the table converts back to a code of its own; where code page 932 holds
// one twice, the code Windows writes wins.
// A three-byte character cut by the end of what has been read waits for the rest, even when the
// byte behind the end would continue it: "Aあ" read up to the middle of its "あ". And the first
// character beyond 16 bits, U+10000 in UTF-16, is one replacement, not a broken pair.
TEST(TemplateEncoding, CharactersAtTheEdgesOfABlockAndOfSixteenBits)
{
    unsigned char bytes[] = {'A', 0xE3, 0x81, 0x82};
    size_t used;
    bool nonAscii = false;
    EXPECT_EQ(ScanUtf8(bytes, 3, &used, &nonAscii), UTF8_SCAN_GOOD);
    EXPECT_EQ(used, 1u);
    size_t rest;
    TextFault fault;
    unsigned char replaced[1] = {};
    bool anyReplaced = false;
    EXPECT_EQ(DecodeText(TEXT_UTF8, bytes, 3, false, &rest, &fault, replaced, &anyReplaced), 1u);
    EXPECT_EQ(rest, 2u);
    unsigned char utf16[] = {0x00, 0xD8, 0x00, 0xDC};
    EXPECT_EQ(DecodeText(TEXT_UTF16LE, utf16, 4, true, &rest, &fault, replaced, &anyReplaced), 1u);
    EXPECT_EQ(fault, TEXT_FAULT_NONE);
    EXPECT_EQ(utf16[0], '?');
}

TEST(Cp932Table, EveryCharacterRoundTripsAndDuplicatesTakeWindowsChoice)
{
    int characters = 0, duplicates = 0;
    for (unsigned code = 0x80; code <= 0xFFFF; code++) {
        unsigned char bytes[2] = {static_cast<unsigned char>(code > 0xFF ? code >> 8 : code),
                                  static_cast<unsigned char>(code)};
        size_t used;
        long c = Cp932ToUnicode(bytes, code > 0xFF ? 2 : 1, &used);
        if (c < 0 || used != (code > 0xFF ? 2u : 1u)) continue;
        characters++;
        unsigned char back[2];
        int length = UnicodeToCp932(static_cast<uint32_t>(c), back);
        ASSERT_GT(length, 0) << std::hex << code;
        unsigned backCode = length == 2 ? back[0] << 8 | back[1] : back[0];
        if (backCode != code) duplicates++;
        EXPECT_EQ(Cp932ToUnicode(back, length, &used), c) << std::hex << code;
    }
    EXPECT_EQ(characters, 63 + 5 + 9604);  // half-width kana, stand-ins, double-byte codes
    EXPECT_EQ(duplicates, 398);
    const struct {
        uint32_t codePoint;
        unsigned code;
    } choices[] = {{0x2252, 0x81E0}, {0x2170, 0xFA40}, {0x2160, 0x8754}, {0xFFE2, 0x81CA}, {0x2235, 0x81E6}};
    for (const auto& choice : choices) {
        unsigned char out[2];
        ASSERT_EQ(UnicodeToCp932(choice.codePoint, out), 2);
        EXPECT_EQ(unsigned(out[0] << 8 | out[1]), choice.code) << std::hex << choice.codePoint;
    }
    unsigned char out[2];
    EXPECT_EQ(UnicodeToCp932(0x1F600, out) + UnicodeToCp932(0x00E9, out) + UnicodeToCp932(0x301C, out), 0);
}

}  // namespace
