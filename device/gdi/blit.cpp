// PatBlt and BitBlt with the raster operations the device knows: SRCCOPY, PATCOPY, PATINVERT,
// DSTINVERT, BLACKNESS and WHITENESS. Brushes are solid, so a pattern is one colour.
#include <vector>

#include "gdi/raster.h"
#include "winbase.h"

using namespace device::gdi;

namespace {

enum class PatternOp { Copy, Invert, DestInvert, Black, White, Unknown };

PatternOp PatternOpOf(DWORD rop) {
    switch (rop) {
    case PATCOPY:
        return PatternOp::Copy;
    case PATINVERT:
        return PatternOp::Invert;
    case DSTINVERT:
        return PatternOp::DestInvert;
    case BLACKNESS:
        return PatternOp::Black;
    case WHITENESS:
        return PatternOp::White;
    default:
        return PatternOp::Unknown;
    }
}

RECT BlitRect(const DcObject& dc, int x, int y, int w, int h) {
    const int left = dc.SurfaceX(x);
    const int top = dc.SurfaceY(y);
    return NormalizedRect(left, top, Shift(left, w, 0), Shift(top, h, 0));
}

BOOL PatternBlit(DcObject& dc, const RECT& area, PatternOp op) {
    switch (op) {
    case PatternOp::Black:
        FillSurfaceRect(dc, area, 0x000000, Mix::Copy);
        return TRUE;
    case PatternOp::White:
        FillSurfaceRect(dc, area, 0xFFFFFF, Mix::Copy);
        return TRUE;
    case PatternOp::DestInvert:
        FillSurfaceRect(dc, area, 0, Mix::Invert);
        return TRUE;
    case PatternOp::Copy:
    case PatternOp::Invert: {
        const BrushObject* brush = Find<BrushObject>(dc.state.brush);
        if (brush == nullptr || brush->IsNull()) {
            return TRUE;
        }
        FillSurfaceRect(dc, area, ToPixel(brush->Color()),
                        op == PatternOp::Copy ? Mix::Copy : Mix::Xor);
        return TRUE;
    }
    case PatternOp::Unknown:
        break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

} // namespace

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    return PatternBlit(*dc, BlitRect(*dc, x, y, w, h), PatternOpOf(rop));
}

// Source pixels outside the source surface are left out; source and destination may overlap
// (scrolling a window's contents), so the source is copied aside first when they share a
// surface.
BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (rop != SRCCOPY) {
        return PatternBlit(*dc, BlitRect(*dc, x, y, cx, cy), PatternOpOf(rop));
    }
    DcObject* source = FindOrFail<DcObject>(hdcSrc);
    if (source == nullptr) {
        return FALSE;
    }
    if (cx <= 0 || cy <= 0) {
        return TRUE;
    }
    const RECT target = BlitRect(*dc, x, y, cx, cy);
    const Surface& from = *source->surface;
    const RECT sourceArea =
        IntersectRects(BlitRect(*source, x1, y1, cx, cy), RECT{0, 0, from.width, from.height});
    if (IsRectEmptyRect(sourceArea)) {
        return TRUE;
    }
    // Offset from source surface to destination surface coordinates.
    const int shiftX = target.left - source->SurfaceX(x1);
    const int shiftY = target.top - source->SurfaceY(y1);
    const RECT reachable{sourceArea.left + shiftX, sourceArea.top + shiftY,
                         sourceArea.right + shiftX, sourceArea.bottom + shiftY};

    const int width = sourceArea.right - sourceArea.left;
    std::vector<uint32_t> copy;
    if (&from == dc->surface) {
        copy.resize(static_cast<size_t>(width) * (sourceArea.bottom - sourceArea.top));
        for (int row = sourceArea.top; row < sourceArea.bottom; ++row) {
            std::copy_n(from.Row(row) + sourceArea.left, width,
                        copy.data() + static_cast<size_t>(row - sourceArea.top) * width);
        }
    }
    Surface& to = *dc->surface;
    ForEachClipRect(*dc, IntersectRects(target, reachable), [&](const RECT& part) {
        for (int row = part.top; row < part.bottom; ++row) {
            const int sourceRow = row - shiftY;
            const uint32_t* pixels =
                copy.empty() ? from.Row(sourceRow) + (part.left - shiftX)
                             : copy.data() +
                                   static_cast<size_t>(sourceRow - sourceArea.top) * width +
                                   (part.left - shiftX - sourceArea.left);
            std::copy_n(pixels, part.right - part.left, to.Row(row) + part.left);
        }
    });
    return TRUE;
}
