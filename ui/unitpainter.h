// unitpainter.h - measuring and drawing the units of the news text on a device context.
#ifndef ZENTAVO_UI_UNITPAINTER_H
#define ZENTAVO_UI_UNITPAINTER_H

#include <windows.h>

#include "layout/layout.h"

// The news view's painter. Each unit's width is measured once per display font and kept;
// the units of one line are drawn with one ExtTextOutA at their measured advances, so every
// unit lands where drawing it on its own would put it; and lines that start at or below the
// bottom of the client area, which the system would clip anyway, are not drawn at all.
enum { LINE_RUN_BYTES = 512 };  // a longer line is drawn in several runs

struct LinePainter {
    HDC dc;
    int32_t bottom;  // lines whose top is at or below it are not drawn
    int32_t x, y;    // where the pending run starts
    int32_t nextX;   // where its next unit would go
    int count;       // bytes pending
    char bytes[LINE_RUN_BYTES];
    INT advances[LINE_RUN_BYTES];  // per byte; the second byte of a double-byte unit gets 0
};

// Starts painting on dc, which has the display font selected, with nothing drawn at or below
// bottom.
void BeginLinePainting(LinePainter* painter, HDC dc, int32_t bottom);

// The layout walk's operations for painter. Valid while painter is.
UnitPainter LinePainterUnits(LinePainter* painter);

// Draws what is still pending. Call once the walk is done, before the device context goes.
void FinishLinePainting(LinePainter* painter);

// Drops every kept width. Call whenever the display font is replaced: a new font can come
// back with the old one's handle.
void ForgetUnitWidths();

#endif
