// unit_by_unit_painter.cpp - measuring and drawing each unit on its own, as the view once did.
#include "unit_by_unit_painter.h"

static int32_t MeasureUnit(const char* unit, int length, void* context)
{
    SIZE extent = {};
    GetTextExtentPoint32A(static_cast<HDC>(context), unit, length, &extent);
    return extent.cx;
}

static void DrawUnit(int32_t x, int32_t y, const char* unit, int length, void* context)
{
    TextOutA(static_cast<HDC>(context), x, y, unit, length);
}

UnitPainter DeviceUnitPainter(HDC dc)
{
    return UnitPainter{MeasureUnit, DrawUnit, static_cast<void*>(dc)};
}
