// dpi.cpp - the display's resolution and the toolbar image strip that suits it.
#include "dpi.h"

#include <windows.h>

#include <limits.h>
#include <stdlib.h>

#include "res/resource.h"

static const int BASE_DPI = 96;

int ScreenDpi = BASE_DPI;

void ReadScreenDpi()
{
    HDC screen = GetDC(nullptr);
    if (!screen) return;  // no screen to ask: the base resolution stays
    ScreenDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
}

int ScaleToScreen(int pixels)
{
    return MulDiv(pixels, ScreenDpi, BASE_DPI);
}

ToolbarStrip ToolbarStripForDpi(int dpi)
{
    static const struct {
        int percent;
        ToolbarStrip strip;
    } strips[] = {{100, {IDB_TOOLBAR, 40}}, {150, {IDB_TOOLBAR_150, 60}}, {200, {IDB_TOOLBAR_200, 80}}};
    // Distances are compared as percent times 96, so that no rounding decides between two strips.
    ToolbarStrip nearest = {};
    int nearestDistance = INT_MAX;
    for (const auto& candidate : strips) {
        const int distance = abs(dpi * 100 - candidate.percent * BASE_DPI);
        if (distance > nearestDistance) continue;
        nearest = candidate.strip;
        nearestDistance = distance;
    }
    return nearest;
}

void ResetScreenDpi()
{
    ScreenDpi = BASE_DPI;
}
