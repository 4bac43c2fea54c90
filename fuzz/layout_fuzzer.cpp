// layout_fuzzer.cpp - the news view's layout walk on arbitrary text, widths and metrics.
//
// The input gives the four metrics, the top line, a table of unit widths and the text.
// Every byte of the text but its line feeds must be measured once, in order, as units of one
// or two bytes; the units drawn are the last of those measured (all of them from line 0); and
// LineCount counts at least every line feed. Where the units go is pinned by the unit tests.
#include <string.h>

#include <algorithm>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "fuzz/fuzz_host.h"
#include "layout/layout.h"

namespace {

const size_t kWidths = 8;

struct Painter {
    int32_t widths[kWidths];
    std::vector<std::string> drawn;
    std::vector<std::string> measured;
};

int32_t WidthOf(const Painter& painter, const std::string& unit)
{
    unsigned char last = static_cast<unsigned char>(unit.back());
    return painter.widths[(static_cast<unsigned char>(unit[0]) + last) % kWidths];
}

int32_t Measure(const char* unit, int length, void* context)
{
    FuzzRequire((length == 1 || length == 2) && unit[length] == '\0', "a unit is one or two bytes, terminated");
    Painter* painter = static_cast<Painter*>(context);
    painter->measured.emplace_back(unit, length);
    return WidthOf(*painter, painter->measured.back());
}

void Draw(int32_t, int32_t, const char* unit, int length, void* context)
{
    FuzzRequire((length == 1 || length == 2) && unit[length] == '\0', "a drawn unit is one or two bytes");
    static_cast<Painter*>(context)->drawn.emplace_back(unit, length);
}

int32_t TakeInt32(const uint8_t** data, size_t* size)
{
    uint32_t value = 0;
    for (int i = 0; i < 4 && *size > 0; i++, ++*data, --*size) value = value << 8 | **data;
    return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LayoutMetrics metrics;
    metrics.clientWidth = TakeInt32(&data, &size);
    metrics.toolbarBottom = TakeInt32(&data, &size);
    metrics.lineHeight = TakeInt32(&data, &size);
    metrics.maxCharWidth = TakeInt32(&data, &size);
    Painter painter;
    for (int32_t& width : painter.widths) width = TakeInt32(&data, &size);
    uint32_t top = size > 0 ? *data++ : 0;  // small, so that lines are drawn
    size -= size > 0 ? 1 : 0;
    // The text as the view gets it: NewsBuffer's bytes up to the first zero.
    std::string text(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    if (text.size() >= NEWS_BUFFER_SIZE) text.resize(NEWS_BUFFER_SIZE - 1);

    TopLine = top;
    uint32_t lines = LayOutText(text.c_str(), metrics, UnitPainter{Measure, Draw, &painter});
    // The measured units, put together, are the text with its line feeds left out (a lead
    // byte takes a line feed after it into its unit).
    std::string measured;
    for (const std::string& unit : painter.measured) measured += unit;
    size_t at = 0, lineFeeds = 0;
    for (char byte : measured) {
        for (; at < text.size() && text[at] != byte && text[at] == '\n'; at++) lineFeeds++;
        FuzzRequire(at < text.size() && text[at++] == byte, "every byte but the line feeds is measured once, in order");
    }
    lineFeeds += text.size() - at;
    FuzzRequire(text.find_first_not_of('\n', at) == std::string::npos, "nothing after the last unit but line feeds");
    FuzzRequire(lines == LineCount && lines >= lineFeeds, "every line feed counts");
    FuzzRequire(
        painter.drawn.size() <= painter.measured.size() &&
            std::equal(painter.drawn.begin(), painter.drawn.end(), painter.measured.end() - painter.drawn.size()) &&
            (top > 0 || painter.drawn.size() == painter.measured.size()),
        "the units drawn are the last ones measured, all of them from line 0");
    ResetLayout();
    return 0;
}
