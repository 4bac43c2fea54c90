// layout_fuzzer.cpp - the news view's layout walk on arbitrary text, widths and metrics.
//
// The input gives the four metrics, the top line, a table of unit widths and the text.
// The walk must hand over only units of the text (never its end, never a line feed), at
// the places a plain model of the walk computes, and count exactly the model's lines.
#include <string.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "core/codepage.h"
#include "fuzz/fuzz_host.h"
#include "layout/layout.h"

namespace {

const size_t kWidths = 8;

struct Unit {
    int32_t x, y;
    std::string bytes;
    bool operator==(const Unit& other) const { return x == other.x && y == other.y && bytes == other.bytes; }
};

struct Painter {
    int32_t widths[kWidths];
    std::vector<Unit> drawn;
    size_t measured = 0;
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
    painter->measured++;
    return WidthOf(*painter, std::string(unit, length));
}

void Draw(int32_t x, int32_t y, const char* unit, int length, void* context)
{
    FuzzRequire((length == 1 || length == 2) && unit[length] == '\0', "a drawn unit is one or two bytes");
    static_cast<Painter*>(context)->drawn.push_back({x, y, std::string(unit, length)});
}

// Sums and differences in 32 bits with wrap-around, as the walk's positions do.
int32_t Add(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t Subtract(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// The walk as a plain loop over the text's units: what it draws and how many lines it counts.
FUZZ_NOT_COVERED uint32_t ModelWalk(const std::string& text, const LayoutMetrics& metrics, uint32_t top,
                                    const Painter& painter, std::vector<Unit>* drawn, size_t* units)
{
    uint32_t lines = 0;
    int32_t x = 0;
    int32_t y = Add(metrics.toolbarBottom, 4);
    int32_t limit = Subtract(metrics.clientWidth, metrics.maxCharWidth);
    auto breakLine = [&]() {
        x = 0;
        lines++;
        if (lines > top) y = Add(y, metrics.lineHeight);
    };
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\n') {
            breakLine();
            continue;
        }
        size_t length = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        std::string unit = text.substr(i, length);
        i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 1 : 0;
        ++*units;
        if (lines >= top) drawn->push_back({x, y, unit});
        x = Add(x, WidthOf(painter, unit));
        if (x > limit) breakLine();
    }
    return lines;
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
    std::vector<Unit> expected;
    size_t units = 0;
    uint32_t modelLines = ModelWalk(text, metrics, top, painter, &expected, &units);
    FuzzRequire(lines == LineCount && lines == modelLines, "LineCount counts every line feed and wrap");
    FuzzRequire(painter.measured == units, "every unit of the text is measured once");
    FuzzRequire(painter.drawn == expected, "exactly the units from TopLine on are drawn, where the model puts them");
    ResetLayout();
    return 0;
}
