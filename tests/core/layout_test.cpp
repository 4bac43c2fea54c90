// layout_test.cpp - the news view's layout walk with a fake font.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "layout/layout.h"
#include "template/template.h"
#include "test_host.h"

namespace {

struct DrawnUnit {
    int32_t x, y;
    std::string text;
    bool operator==(const DrawnUnit& other) const { return x == other.x && y == other.y && text == other.text; }
};

// A fixed-pitch fake font: a one-byte unit is 8 pixels wide, a double-byte unit 16.
struct FakeFont {
    std::vector<DrawnUnit> drawn;
    std::vector<std::string> measured;
};

int32_t Measure(const char* unit, int length, void* context)
{
    static_cast<FakeFont*>(context)->measured.emplace_back(unit, length);
    EXPECT_EQ(unit[length], '\0');
    return 8 * length;
}

void Draw(int32_t x, int32_t y, const char* unit, int length, void* context)
{
    static_cast<FakeFont*>(context)->drawn.push_back({x, y, std::string(unit, length)});
}

class Layout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetCoreForTest();
        ResetLayout();
    }
    void TearDown() override { ResetLayout(); }

    // Client width 100, toolbar bottom 40, line height 20, widest character 16.
    uint32_t Walk(const std::string& text, int32_t width = 100)
    {
        font = FakeFont();
        LayoutMetrics metrics = {width, 40, 20, 16};
        return LayOutText(text.c_str(), metrics, UnitPainter{Measure, Draw, &font});
    }

    FakeFont font;
};

TEST_F(Layout, LineFeedsEndLinesAndAreNeitherMeasuredNorDrawn)
{
    EXPECT_EQ(Walk("A\nB\n\n"), 3u);
    EXPECT_EQ(font.drawn, (std::vector<DrawnUnit>{{0, 44, "A"}, {0, 64, "B"}}));
    EXPECT_EQ(font.measured.size(), 2u);
}

TEST_F(Layout, UnitThatCrossesTheLimitEndsItsLine)
{
    // Limit W - M = 84: the eleventh byte reaches x = 88 and the line wraps after it.
    EXPECT_EQ(Walk(std::string(12, 'x')), 1u);
    ASSERT_EQ(font.drawn.size(), 12u);
    EXPECT_EQ(font.drawn[10], (DrawnUnit{80, 44, "x"}));
    EXPECT_EQ(font.drawn[11], (DrawnUnit{0, 64, "x"}));
    // A line feed right after a wrap makes an empty line.
    EXPECT_EQ(Walk(std::string(11, 'x') + "\ny"), 2u);
    EXPECT_EQ(font.drawn.back(), (DrawnUnit{0, 84, "y"}));
}

TEST_F(Layout, DoubleByteUnitsStayWhole)
{
    EXPECT_EQ(Walk("\x82\xa0"
                   "a\x82\n\x81"),
              0u);  // the line feed after a lead byte is part of its unit
    EXPECT_EQ(font.drawn,
              (std::vector<DrawnUnit>{{0, 44, "\x82\xa0"}, {16, 44, "a"}, {24, 44, "\x82\n"}, {40, 44, "\x81"}}));
    // Lead bytes are 0x81 to 0x9F and 0xE0 to 0xFC: at each edge of both ranges, a byte takes
    // the next one into its unit or stands alone.
    const struct {
        char byte;
        bool lead;
    } edges[] = {{'\x80', false}, {'\x81', true}, {'\x9f', true}, {'\xa0', false},
                 {'\xdf', false}, {'\xe0', true}, {'\xfc', true}, {'\xfd', false}};
    for (const auto& edge : edges) {
        Walk(std::string(1, edge.byte) + "x");
        EXPECT_EQ(font.drawn.size(), edge.lead ? 1u : 2u) << std::hex << (edge.byte & 0xFF);
    }
}

TEST_F(Layout, NarrowWindowPutsEveryUnitOnItsOwnLine)
{
    EXPECT_EQ(Walk("abc", 10), 3u);
    EXPECT_EQ(font.drawn, (std::vector<DrawnUnit>{{0, 44, "a"}, {0, 64, "b"}, {0, 84, "c"}}));
}

TEST_F(Layout, LinesAboveTopLineAreMeasuredButNotDrawn)
{
    TopLine = 1;
    EXPECT_EQ(Walk("A\nB\nC"), 2u);
    EXPECT_EQ(font.drawn, (std::vector<DrawnUnit>{{0, 44, "B"}, {0, 64, "C"}}));
    EXPECT_EQ(font.measured.size(), 3u);
    TopLine = 7;  // beyond the text: nothing drawn, every line still counted
    EXPECT_EQ(Walk("A\nB\nC"), 2u);
    EXPECT_TRUE(font.drawn.empty());
}

// Absurd widths and heights, as a font made up by a hand-edited settings file could give:
// positions wrap around in 32 bits, as the platform's own arithmetic does, and every unit
// is still counted and drawn.
TEST_F(Layout, HugeMetricsWrapAroundIn32Bits)
{
    auto huge = [](const char*, int, void*) -> int32_t { return 2000000000; };
    LayoutMetrics metrics = {INT32_MAX, 40, 2000000000, 0};
    EXPECT_EQ(LayOutText("ab\nc\nd", metrics, UnitPainter{huge, Draw, &font}), 2u);
    EXPECT_EQ(font.drawn, (std::vector<DrawnUnit>{
                              {0, 44, "a"}, {2000000000, 44, "b"}, {0, 2000000044, "c"}, {0, -294967252, "d"}}));
}

TEST_F(Layout, NothingToShowWithoutTitleOrNews)
{
    LayoutMetrics metrics = {100, 40, 20, 16};
    LineCount = 9;
    strcpy(NewsBuffer, "news\n\n");
    EXPECT_EQ(LayOutNewsView(metrics, UnitPainter{Measure, Draw, &font}), 0);  // no template loaded
    EXPECT_EQ(LineCount, 0u);
    strcpy(LoadedTemplate.TitleBuffer, "T");
    EXPECT_EQ(LayOutNewsView(metrics, UnitPainter{Measure, Draw, &font}), 1);
    EXPECT_EQ(LineCount, 2u);
    NewsBuffer[0] = '\0';
    EXPECT_EQ(LayOutNewsView(metrics, UnitPainter{Measure, Draw, &font}), 0);
    EXPECT_TRUE(font.drawn.size() == 4u);
}

}  // namespace
