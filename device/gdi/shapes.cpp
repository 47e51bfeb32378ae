// Rectangle, Ellipse and Polygon (interior with the brush, outline with the pen, right and
// bottom edges excluded), and SetPixel/GetPixel.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gdi/strokes.h"
#include "winbase.h"

using namespace device::gdi;

namespace {

// The brush colour as a surface pixel; false for a null brush.
bool BrushPixel(const DcObject& dc, uint32_t* pixel) {
    const BrushObject* brush = Find<BrushObject>(dc.state.brush);
    if (brush == nullptr || brush->IsNull()) {
        return false;
    }
    *pixel = ToPixel(brush->Color());
    return true;
}

// Whether the centre of pixel (x, y) lies in the ellipse inscribed in r, tested on doubled
// coordinates: (2x+1 - (l+r))^2 / W^2 + (2y+1 - (t+b))^2 / H^2 <= 1. Exact in integers for any
// ellipse that fits a screen; enormous ones fall back to floating point.
bool InEllipse(const RECT& r, int x, int y) {
    const int64_t w = static_cast<int64_t>(r.right) - r.left;
    const int64_t h = static_cast<int64_t>(r.bottom) - r.top;
    if (w <= 0 || h <= 0) {
        return false;
    }
    const int64_t dx = 2 * static_cast<int64_t>(x) + 1 - (static_cast<int64_t>(r.left) + r.right);
    const int64_t dy = 2 * static_cast<int64_t>(y) + 1 - (static_cast<int64_t>(r.top) + r.bottom);
    constexpr int64_t kExactLimit = 1 << 14;
    if (w < kExactLimit && h < kExactLimit && std::abs(dx) <= 2 * w && std::abs(dy) <= 2 * h) {
        return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
    }
    const long double fx = static_cast<long double>(dx) / w;
    const long double fy = static_cast<long double>(dy) / h;
    return fx * fx + fy * fy <= 1.0L;
}

} // namespace

// With a null pen the filled area is one pixel narrower and shorter, as on Windows.
BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    const RECT r = dc->SurfaceRect(NormalizedRect(left, top, right, bottom));
    const Mix mix = MixOfRop2(dc->state.rop2);
    Stroke stroke;
    const bool outlined = MakeStroke(*dc, &stroke);
    uint32_t fill = 0;
    if (BrushPixel(*dc, &fill)) {
        const RECT inner = outlined ? RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}
                                    : RECT{r.left, r.top, r.right - 1, r.bottom - 1};
        if (!IsRectEmptyRect(inner)) {
            FillSurfaceRect(*dc, inner, fill, mix);
        }
    }
    if (outlined && !IsRectEmptyRect(r)) {
        // One closed walk, so each frame pixel is drawn once and dashes run round the corners.
        const int x1 = r.right - 1;
        const int y1 = r.bottom - 1;
        if (x1 == r.left || y1 == r.top) {
            StrokeLine(*dc, stroke, r.left, r.top, x1 + (y1 == r.top ? 1 : 0),
                       y1 + (y1 == r.top ? 0 : 1));
        } else {
            StrokeLine(*dc, stroke, r.left, r.top, x1, r.top);
            StrokeLine(*dc, stroke, x1, r.top, x1, y1);
            StrokeLine(*dc, stroke, x1, y1, r.left, y1);
            StrokeLine(*dc, stroke, r.left, y1, r.left, r.top);
        }
    }
    return TRUE;
}

// The outline is the ring of inside pixels that touch an outside pixel (solid whatever the pen
// style); wide pens thicken it inwards.
BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    const RECT r = dc->SurfaceRect(NormalizedRect(left, top, right, bottom));
    const Mix mix = MixOfRop2(dc->state.rop2);
    Stroke stroke;
    const bool outlined = MakeStroke(*dc, &stroke);
    uint32_t fill = 0;
    const bool filled = BrushPixel(*dc, &fill);
    const int ring = outlined ? stroke.width : 0;
    const RECT area = IntersectRects(r, dc->effectiveClip.Bounds());
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (!InEllipse(r, x, y)) {
                continue;
            }
            bool edge = false;
            for (int d = 1; d <= ring && !edge; ++d) {
                edge = !InEllipse(r, x - d, y) || !InEllipse(r, x + d, y) ||
                       !InEllipse(r, x, y - d) || !InEllipse(r, x, y + d);
            }
            if (edge) {
                PlotPixel(*dc, x, y, stroke.pixel, stroke.mix);
            } else if (filled) {
                PlotPixel(*dc, x, y, fill, mix);
            }
        }
    }
    return TRUE;
}

// Fills by the even-odd rule at pixel centres, then outlines the closed figure with the pen.
BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (apt == nullptr || cpt < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> points(apt, apt + cpt);
    for (POINT& p : points) {
        p = POINT{dc->SurfaceX(p.x), dc->SurfaceY(p.y)};
    }
    uint32_t fill = 0;
    if (BrushPixel(*dc, &fill)) {
        const Mix mix = MixOfRop2(dc->state.rop2);
        LONG top = points[0].y;
        LONG bottom = points[0].y;
        for (const POINT& p : points) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        const RECT bounds = dc->effectiveClip.Bounds();
        top = std::max(top, bounds.top);
        bottom = std::min(bottom, bounds.bottom);
        std::vector<double> crossings;
        for (LONG y = top; y < bottom; ++y) {
            const double centre = y + 0.5;
            crossings.clear();
            for (size_t i = 0; i < points.size(); ++i) {
                const POINT& a = points[i];
                const POINT& b = points[(i + 1) % points.size()];
                if ((a.y <= centre) == (b.y <= centre)) {
                    continue;
                }
                crossings.push_back(a.x + (centre - a.y) * (b.x - a.x) / (b.y - a.y));
            }
            std::sort(crossings.begin(), crossings.end());
            for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
                // Pixel x is inside when its centre x + 0.5 lies in [from, to).
                const LONG from = static_cast<LONG>(std::ceil(crossings[i] - 0.5));
                const LONG to = static_cast<LONG>(std::ceil(crossings[i + 1] - 0.5));
                if (from < to) {
                    FillSurfaceRect(*dc, RECT{from, y, to, y + 1}, fill, mix);
                }
            }
        }
    }
    Stroke stroke;
    if (MakeStroke(*dc, &stroke)) {
        for (size_t i = 0; i < points.size(); ++i) {
            const POINT& a = points[i];
            const POINT& b = points[(i + 1) % points.size()];
            StrokeLine(*dc, stroke, a.x, a.y, b.x, b.y);
        }
    }
    return TRUE;
}

// Answers the colour set, or -1 when the point is outside the clip region.
COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    const int sx = dc->SurfaceX(x);
    const int sy = dc->SurfaceY(y);
    if (!dc->surface->Contains(sx, sy) || !dc->effectiveClip.Contains(sx, sy)) {
        return CLR_INVALID;
    }
    dc->surface->Set(sx, sy, ToPixel(color));
    return color & 0x00FFFFFF;
}

// CLR_INVALID outside the clip region, as on Windows.
COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    const int sx = dc->SurfaceX(x);
    const int sy = dc->SurfaceY(y);
    if (!dc->surface->Contains(sx, sy) || !dc->effectiveClip.Contains(sx, sy)) {
        return CLR_INVALID;
    }
    return ToColorRef(dc->surface->At(sx, sy));
}
