// unitpainter.h - measuring and drawing single units of the news text on a device context.
#ifndef ZENTAVO_UI_UNITPAINTER_H
#define ZENTAVO_UI_UNITPAINTER_H

#include <windows.h>

#include "layout/layout.h"

// The layout walk's two operations on dc with the font selected into it: a unit's width is
// the cx of GetTextExtentPoint32A, and a unit is drawn with TextOutA at (x, y). dc must stay
// valid for as long as the painter is used.
UnitPainter DeviceUnitPainter(HDC dc);

#endif
