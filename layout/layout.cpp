// layout.cpp - the layout walk of the news view.
#include "layout.h"

#include <string.h>

#include "compose/compose.h"
#include "core/codepage.h"
#include "template/template.h"

uint32_t TopLine;
uint32_t LineCount;

// Positions are 32-bit and wrap around, as the platform's own arithmetic does, so even
// absurd metrics (a font made up by a hand-edited settings file) give defined results:
// sums are taken in 64 bits and cut back to 32.
static int32_t Wrapped(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// Ends the current line: lines above TopLine take no vertical space.
static void BreakLine(int32_t* x, int32_t* y, int32_t lineHeight)
{
    *x = 0;
    LineCount++;
    if (LineCount > TopLine) *y = Wrapped(int64_t{*y} + lineHeight);
}

uint32_t LayOutText(const char* text, const LayoutMetrics& metrics, const UnitPainter& painter)
{
    int32_t x = 0;
    int32_t y = Wrapped(int64_t{metrics.toolbarBottom} + 4);
    int32_t limit = Wrapped(int64_t{metrics.clientWidth} - metrics.maxCharWidth);  // W - M
    LineCount = 0;
    size_t length = strlen(text);
    for (size_t index = 0; index < length; index++) {
        char unit[3] = {text[index], 0, 0};
        if (unit[0] == '\n') {
            BreakLine(&x, &y, metrics.lineHeight);
            continue;
        }
        int unitLength = 1;
        if (IsLeadByte(static_cast<unsigned char>(unit[0]))) {
            // The byte after a lead byte belongs to it, whatever it is; a lead byte at the
            // very end of the text stands alone.
            unit[1] = text[++index];
            if (unit[1]) unitLength = 2;
        }
        int32_t width = painter.measure(unit, unitLength, painter.context);
        if (LineCount >= TopLine) painter.draw(x, y, unit, unitLength, painter.context);
        x = Wrapped(int64_t{x} + width);
        // The unit that crosses the limit stays at the end of its line.
        if (x > limit) BreakLine(&x, &y, metrics.lineHeight);
    }
    return LineCount;
}

int LayOutNewsView(const LayoutMetrics& metrics, const UnitPainter& painter)
{
    LineCount = 0;
    if (!LoadedTemplate.TitleBuffer[0] || !NewsBuffer[0]) return 0;
    LayOutText(NewsBuffer, metrics, painter);
    return 1;
}

void ResetLayout()
{
    TopLine = 0;
    LineCount = 0;
}
