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

// A fixed-pitch fake font that keeps what is drawn: a one-byte unit is 8 pixels wide, a
// double-byte unit 16.
struct FakeFont {
    std::vector<std::string> drawn;
};

int32_t Measure(const char*, int length, void*)
{
    return 8 * length;
}

void Draw(int32_t x, int32_t y, const char* unit, int length, void* context)
{
    static_cast<FakeFont*>(context)->drawn.push_back(std::to_string(x) + "," + std::to_string(y) + " " +
                                                     std::string(unit, length));
}

class Layout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetCoreForTest();
        ResetLayout();
    }
    void TearDown() override { ResetLayout(); }

    // Client width 100, toolbar bottom 40, line height 20, widest character 20.
    uint32_t Walk(const std::string& text)
    {
        font = FakeFont();
        return LayOutText(text.c_str(), metrics, UnitPainter{Measure, Draw, &font});
    }

    const LayoutMetrics metrics = {100, 40, 20, 20};
    FakeFont font;
};

// Lead bytes are 0x81 to 0x9F and 0xE0 to 0xFC: at each edge of both ranges, a byte takes
// the next one into its unit or stands alone.
TEST_F(Layout, LeadBytesTakeTheNextByteIntoTheirUnit)
{
    for (const LeadByteEdge& edge : LEAD_BYTE_EDGES) {
        Walk(std::string(1, edge.byte) + "x");
        EXPECT_EQ(font.drawn.size(), edge.lead ? 1u : 2u) << std::hex << (edge.byte & 0xFF);
    }
}

// With W - M = 80, ten 8-pixel units end exactly at the limit and the line goes on; the unit
// that crosses it is the last of its line. Lines above TopLine are counted but not drawn and
// take no space; the first drawn line is at 44.
TEST_F(Layout, WrapsAfterTheUnitThatCrossesTheLimitAndDrawsFromTopLine)
{
    const std::string text = std::string(10, 'a') + "\x82\xa0" + "b\n\x81";
    EXPECT_EQ(Walk(text), 2u);
    EXPECT_EQ(font.drawn.size(), 13u);
    EXPECT_EQ(font.drawn[9], "72,44 a");
    EXPECT_EQ(font.drawn[10], "80,44 \x82\xa0");
    EXPECT_EQ(font.drawn[11], "0,64 b");
    EXPECT_EQ(font.drawn[12], "0,84 \x81");  // a lead byte at the end stands alone
    TopLine = 1;
    EXPECT_EQ(Walk(text), 2u);
    EXPECT_EQ(font.drawn, (std::vector<std::string>{"0,44 b", "0,64 \x81"}));
    ResetLayout();
    EXPECT_EQ(TopLine + LineCount, 0u);
}

TEST_F(Layout, NothingToShowWithoutTitleOrNews)
{
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
