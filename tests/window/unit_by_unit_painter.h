// unit_by_unit_painter.h - the yardstick for the news view's paint: one GDI call per unit.
#ifndef ZENTAVO_TESTS_WINDOW_UNIT_BY_UNIT_PAINTER_H
#define ZENTAVO_TESTS_WINDOW_UNIT_BY_UNIT_PAINTER_H

#include <windows.h>

#include "layout/layout.h"

// The layout walk's two operations on dc with the font selected into it: a unit's width is
// the cx of GetTextExtentPoint32A, and a unit is drawn with TextOutA at (x, y). dc must stay
// valid for as long as the painter is used.
UnitPainter DeviceUnitPainter(HDC dc);

#endif
