// MoveToEx, LineTo and Polyline. Like Win32, a line leaves out its last point, so that joined
// segments do not draw their shared points twice (which matters for XOR drawing).
#include <algorithm>
#include <cstdint>
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

// Point k of the line lies k steps along the major axis, with the minor coordinate rounded to
// the nearest pixel. Computing each point directly (rather than carrying an error term) lets
// the walk start and stop at the clip bounds, so a line a billion pixels long costs no more
// than the part that can show.
void StrokeLine(DcObject& dc, Stroke& stroke, int x0, int y0, int x1, int y1) {
    const int64_t dx = static_cast<int64_t>(x1) - x0;
    const int64_t dy = static_cast<int64_t>(y1) - y0;
    const int64_t steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) {
        return;
    }
    // The pattern position is kept modulo 24, a multiple of both patterns' periods.
    const int phase = stroke.phase;
    stroke.phase = static_cast<int>((phase + steps) % (kDashOn + kDashOff));
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int64_t majorStart = xMajor ? x0 : y0;
    const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorStart = xMajor ? y0 : x0;
    const int64_t minorDelta = xMajor ? dy : dx;

    // Only steps whose major coordinate lies within the clip bounds (widened by the pen) can
    // touch a pixel.
    RECT bounds = dc.effectiveClip.Bounds();
    if (IsRectEmptyRect(bounds)) {
        return;
    }
    const int margin = stroke.width;
    const int64_t low = (xMajor ? bounds.left : bounds.top) - margin;
    const int64_t high = (xMajor ? bounds.right : bounds.bottom) + margin;
    int64_t first = majorStep > 0 ? low - majorStart : majorStart - high + 1;
    int64_t last = majorStep > 0 ? high - majorStart : majorStart - low + 1;
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, steps);

    for (int64_t k = first; k < last; ++k) {
        const int64_t major = majorStart + majorStep * k;
        // Nearest pixel to minorStart + minorDelta * k / steps, halves rounded up.
        const int64_t scaled = 2 * minorDelta * k + steps;
        const int64_t offset = scaled >= 0 ? scaled / (2 * steps)
                                           : -((-scaled + 2 * steps - 1) / (2 * steps));
        const int64_t minor = minorStart + offset;
        const int x = static_cast<int>(xMajor ? major : minor);
        const int y = static_cast<int>(xMajor ? minor : major);
        const int step = static_cast<int>((phase + k) % (kDashOn + kDashOff));
        if (PatternOn(stroke.style, step)) {
            StrokePoint(dc, stroke, x, y, stroke.pixel);
        } else if (stroke.drawGaps) {
            StrokePoint(dc, stroke, x, y, stroke.gapPixel);
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
