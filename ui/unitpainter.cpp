// unitpainter.cpp - the news view's painter: widths kept per font, whole lines drawn at once.
#include "unitpainter.h"

#include <string.h>

// ---- Widths of units in the display font, measured once ----
// Each slot holds a width plus one, so that 0, as the tables start, means not measured yet.
static int32_t SingleByteWidths[256];
static int32_t DoubleByteWidths[256][256];  // by lead byte and the byte after it

void ForgetUnitWidths()
{
    memset(SingleByteWidths, 0, sizeof SingleByteWidths);
    memset(DoubleByteWidths, 0, sizeof DoubleByteWidths);
}

static int32_t* WidthSlot(const char* unit, int length)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(unit);
    return length == 2 ? &DoubleByteWidths[bytes[0]][bytes[1]] : &SingleByteWidths[bytes[0]];
}

static int32_t MeasureKeptUnit(const char* unit, int length, void* context)
{
    int32_t* slot = WidthSlot(unit, length);
    if (*slot == 0) {
        SIZE extent = {};
        GetTextExtentPoint32A(static_cast<LinePainter*>(context)->dc, unit, length, &extent);
        *slot = extent.cx + 1;
    }
    return *slot - 1;
}

// ---- Lines drawn in runs ----
static void DrawRun(LinePainter* painter)
{
    if (painter->count > 0)
        ExtTextOutA(painter->dc, painter->x, painter->y, 0, nullptr, painter->bytes, painter->count, painter->advances);
    painter->count = 0;
}

static void AddUnitToRun(int32_t x, int32_t y, const char* unit, int length, void* context)
{
    LinePainter* painter = static_cast<LinePainter*>(context);
    if (y >= painter->bottom) return;  // below the client area: clipped anyway
    bool continues = painter->count > 0 && y == painter->y && x == painter->nextX;
    if (!continues || painter->count + length > LINE_RUN_BYTES) DrawRun(painter);
    if (painter->count == 0) {
        painter->x = x;
        painter->y = y;
    }
    int32_t width = MeasureKeptUnit(unit, length, context);
    for (int i = 0; i < length; i++) {
        painter->bytes[painter->count] = unit[i];
        painter->advances[painter->count++] = i == 0 ? width : 0;
    }
    painter->nextX = static_cast<int32_t>(static_cast<uint32_t>(x) + static_cast<uint32_t>(width));
}

void BeginLinePainting(LinePainter* painter, HDC dc, int32_t bottom)
{
    painter->dc = dc;
    painter->bottom = bottom;
    painter->count = 0;
}

UnitPainter LinePainterUnits(LinePainter* painter)
{
    return UnitPainter{MeasureKeptUnit, AddUnitToRun, painter};
}

void FinishLinePainting(LinePainter* painter)
{
    DrawRun(painter);
}
