// layout.h - the news view's layout walk: where each unit of the news text goes.
//
// The walk breaks the text into lines at every line feed and wherever the next unit would
// come too close to the right edge, counts the lines, and hands every unit of the lines
// from TopLine downwards to a drawing function. Measuring and drawing are supplied by the
// caller, so the walk itself knows nothing of fonts or windows.
#ifndef ZENTAVO_LAYOUT_LAYOUT_H
#define ZENTAVO_LAYOUT_LAYOUT_H

#include <stdint.h>

// ---- State of the news view, all defined in layout.cpp ----
extern uint32_t TopLine;    // index of the first line drawn: the scroll position in lines
extern uint32_t LineCount;  // line breaks (line feeds and wraps) counted by the last walk

// The measures a walk works with, in pixels.
struct LayoutMetrics {
    int32_t clientWidth;    // W: the right edge of the client area
    int32_t toolbarBottom;  // B: the first line is drawn at B + 4
    int32_t lineHeight;     // H: the text height plus its external leading
    int32_t maxCharWidth;   // M: a unit that ends beyond W - M wraps the line after it
};

// The caller's two operations on a unit: one byte, or a code page 932 lead byte with the
// byte after it. `unit` is zero-terminated and `length` is 1 or 2.
struct UnitPainter {
    int32_t (*measure)(const char* unit, int length, void* context);
    void (*draw)(int32_t x, int32_t y, const char* unit, int length, void* context);
    void* context;
};

// Lays out the zero-terminated text from its first byte: every unit is measured, the units
// of lines TopLine and later are drawn, line TopLine at y = B + 4 and each later line H
// lower. Sets and returns LineCount.
uint32_t LayOutText(const char* text, const LayoutMetrics& metrics, const UnitPainter& painter);

// Lays out NewsBuffer when a template is loaded and a news text is shown; otherwise draws
// nothing and sets LineCount to 0. Returns 1 when the text was laid out (the scroll range
// then follows LineCount), 0 when there was nothing to show.
int LayOutNewsView(const LayoutMetrics& metrics, const UnitPainter& painter);

// Sets TopLine and LineCount back to 0.
void ResetLayout();

#endif
