// Lines drawn with a DC's pen: the Bresenham walk, dash patterns and wide pens, shared by
// LineTo, Polyline and the outlines of shapes.
#pragma once

#include "gdi/raster.h"

namespace device::gdi {

struct Stroke {
    uint32_t pixel = 0;
    uint32_t gapPixel = 0; // the background colour, drawn in the gaps of a styled pen
    bool drawGaps = false; // OPAQUE background mode
    int style = PS_SOLID;
    int width = 1;
    Mix mix = Mix::Copy;
    int phase = 0; // position in the dash pattern; carried from one segment to the next
};

// The stroke of the DC's pen; false when the pen draws nothing (PS_NULL).
bool MakeStroke(const DcObject& dc, Stroke* stroke);

// Draws from (x0,y0) up to but not including (x1,y1), in surface coordinates.
void StrokeLine(DcObject& dc, Stroke& stroke, int x0, int y0, int x1, int y1);

// Plots one point of a stroke (a square for wide pens).
void StrokePoint(DcObject& dc, const Stroke& stroke, int x, int y, uint32_t pixel);

} // namespace device::gdi
