// MoveToEx, LineTo and Polyline. Like Win32, a line leaves out its last point, so that joined
// segments do not draw their shared points twice (which matters for XOR drawing).
#include <cstdlib>

#include "gdi/strokes.h"
#include "winbase.h"

namespace device::gdi {

namespace {

// The classic cosmetic patterns, in pixels: on, off.
constexpr int kDashOn = 18;
constexpr int kDashOff = 6;
constexpr int kDotOn = 3;
constexpr int kDotOff = 3;

// True when the pattern draws the pen colour at this step.
bool PatternOn(int style, int phase) {
    switch (style) {
    case PS_DASH:
        return phase % (kDashOn + kDashOff) < kDashOn;
    case PS_DOT:
        return phase % (kDotOn + kDotOff) < kDotOn;
    default:
        return true;
    }
}

} // namespace

bool MakeStroke(const DcObject& dc, Stroke* stroke) {
    const PenObject* pen = Find<PenObject>(dc.state.pen);
    if (pen == nullptr || pen->style == PS_NULL) {
        return false;
    }
    stroke->pixel = ToPixel(pen->color);
    stroke->gapPixel = ToPixel(dc.state.bkColor);
    stroke->drawGaps = dc.state.bkMode == OPAQUE;
    stroke->style = pen->style;
    stroke->width = pen->width;
    stroke->mix = MixOfRop2(dc.state.rop2);
    stroke->phase = 0;
    return true;
}

void StrokePoint(DcObject& dc, const Stroke& stroke, int x, int y, uint32_t pixel) {
    if (stroke.width <= 1) {
        PlotPixel(dc, x, y, pixel, stroke.mix);
        return;
    }
    const int start = -(stroke.width / 2);
    FillSurfaceRect(dc, RECT{x + start, y + start, x + start + stroke.width,
                             y + start + stroke.width},
                    pixel, stroke.mix);
}

void StrokeLine(DcObject& dc, Stroke& stroke, int x0, int y0, int x1, int y1) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1;
    const int stepY = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    int x = x0;
    int y = y0;
    while (x != x1 || y != y1) {
        if (PatternOn(stroke.style, stroke.phase)) {
            StrokePoint(dc, stroke, x, y, stroke.pixel);
        } else if (stroke.drawGaps) {
            StrokePoint(dc, stroke, x, y, stroke.gapPixel);
        }
        ++stroke.phase;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

} // namespace device::gdi

using namespace device::gdi;

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (lppt != nullptr) {
        *lppt = dc->state.currentPos;
    }
    dc->state.currentPos = POINT{x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    Stroke stroke;
    if (MakeStroke(*dc, &stroke)) {
        const POINT from = dc->state.currentPos;
        StrokeLine(*dc, stroke, dc->SurfaceX(from.x), dc->SurfaceY(from.y), dc->SurfaceX(x),
                   dc->SurfaceY(y));
    }
    dc->state.currentPos = POINT{x, y};
    return TRUE;
}

// Neither uses nor moves the current position.
BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (apt == nullptr || cpt < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Stroke stroke;
    if (!MakeStroke(*dc, &stroke)) {
        return TRUE;
    }
    for (int i = 1; i < cpt; ++i) {
        StrokeLine(*dc, stroke, dc->SurfaceX(apt[i - 1].x), dc->SurfaceY(apt[i - 1].y),
                   dc->SurfaceX(apt[i].x), dc->SurfaceY(apt[i].y));
    }
    return TRUE;
}
