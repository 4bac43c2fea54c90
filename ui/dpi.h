// dpi.h - the display's resolution, read once at start-up, and the sizes the program scales by it.
#ifndef ZENTAVO_UI_DPI_H
#define ZENTAVO_UI_DPI_H

// ---- State, defined in dpi.cpp ----
extern int ScreenDpi;  // the screen's pixels per logical inch; 96 until ReadScreenDpi has run

// Sets ScreenDpi from the screen's LOGPIXELSY. The manifest makes the process aware of the
// system's DPI before any code runs, so on a 150% display this gives 144, not the 96 that
// Windows would otherwise pretend while it stretches the window's picture.
void ReadScreenDpi();

// A length given in pixels at 96 DPI, in pixels at ScreenDpi, rounded to the nearest pixel.
int ScaleToScreen(int pixels);

// The toolbar image strip drawn nearest to the scale of dpi: its bitmap resource and the size of
// its square images. Strips exist for 100%, 150% and 200%; a scale halfway between two takes the
// larger, and scales beyond the ends take the end's strip. No strip is ever stretched.
struct ToolbarStrip {
    int bitmap;
    int imageSize;
};
ToolbarStrip ToolbarStripForDpi(int dpi);

// For tests: ScreenDpi back to 96.
void ResetScreenDpi();

#endif
