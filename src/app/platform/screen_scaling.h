#pragma once

class QWidget;

// The room a window's frame and title bar take around its contents.
inline constexpr int kFrameWidth = 8;
inline constexpr int kFrameHeight = 34;

// The screen's horizontal pixels per inch as they remain after the toolkit's own high-DPI
// scaling (96 on an unscaled screen), and the window scale derived from it. Set once at start.
extern int ScreenPixelsPerInch;
extern int ScalePercent;

struct OuterGeometry {
    int left;
    int top;
    int width;
    int height;
    bool operator==(const OuterGeometry&) const = default;
};

// Reads ScreenPixelsPerInch from the primary screen (96 when there is none).
void ReadScreenPixelsPerInch();

// ScalePercent := ScreenPixelsPerInch * 100 div 96.
void ComputeScalePercent();

// The scale percent for a number of pixels per inch, truncating: 96 -> 100, 120 -> 125.
int ScalePercentFor(int pixelsPerInch);

// A window's outer geometry grown by scalePercent (plus 8 pixels each way) and centred on a
// screen, its top 20 pixels below centre; halves of negative differences round toward zero.
OuterGeometry ScaledCentredGeometry(int scalePercent, int width, int height, int screenWidth,
                                    int screenHeight);

// The window's outer geometry placed inside the screen's available area (the screen less its
// task bars). A window that fits keeps its place; one that reaches out is moved in, its top
// edge (the title bar) before its bottom; one larger than the area takes the area's size.
OuterGeometry FittedIntoArea(const OuterGeometry& window, const OuterGeometry& area);

// Grows the window by ScalePercent and centres it on the primary screen, inside the screen's
// available area. The controls inside keep their places; they sit in a scroll area that fills
// the window, so a window cut down to the available area still reaches every control, and the
// focused control scrolls into view.
void ScaleAndCentreForm(QWidget* form);
