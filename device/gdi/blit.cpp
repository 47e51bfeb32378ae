// PatBlt and BitBlt with the raster operations the device knows: SRCCOPY, SRCAND, SRCPAINT,
// SRCINVERT, NOTSRCCOPY, PATCOPY, PATINVERT, DSTINVERT, BLACKNESS and WHITENESS. Brushes are
// solid, so a pattern is one colour.
//
// Between colour and monochrome bitmaps a blit converts as GDI does, which is how programs
// make masks: a colour source pixel equal to the source DC's background colour becomes
// white (1), every other black (0); a monochrome source draws its 0 bits in the destination's
// text colour and its 1 bits in its background colour.
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

enum class SourceOp { Copy, And, Paint, Invert, NotCopy, None };

SourceOp SourceOpOf(DWORD rop) {
    switch (rop) {
    case SRCCOPY: return SourceOp::Copy;
    case SRCAND: return SourceOp::And;
    case SRCPAINT: return SourceOp::Paint;
    case SRCINVERT: return SourceOp::Invert;
    case NOTSRCCOPY: return SourceOp::NotCopy;
    default: return SourceOp::None;
    }
}

uint32_t ApplySource(SourceOp op, uint32_t destination, uint32_t source) {
    switch (op) {
    case SourceOp::And: return destination & source;
    case SourceOp::Paint: return destination | source;
    case SourceOp::Invert: return destination ^ source;
    case SourceOp::NotCopy: return ~source & 0x00FFFFFF;
    default: return source;
    }
}

bool IsMonochrome(const DcObject& dc) {
    const BitmapObject* bitmap = dc.memory ? Find<BitmapObject>(dc.state.bitmap) : nullptr;
    return bitmap != nullptr && bitmap->Monochrome();
}

// What a source pixel becomes on the destination, before the raster operation.
struct Conversion {
    enum Kind { None, ToMonochrome, FromMonochrome } kind = None;
    uint32_t background = 0; // ToMonochrome: the source colour that becomes white
    uint32_t zero = 0;       // FromMonochrome: the colours of 0 and 1 bits
    uint32_t one = 0;

    uint32_t operator()(uint32_t pixel) const {
        switch (kind) {
        case ToMonochrome: return pixel == background ? 0xFFFFFF : 0;
        case FromMonochrome: return IsWhiteBit(pixel) ? one : zero;
        default: return pixel;
        }
    }
};

Conversion ConversionOf(const DcObject& source, const DcObject& destination) {
    const bool fromMono = IsMonochrome(source);
    const bool toMono = IsMonochrome(destination);
    Conversion conversion;
    if (toMono && !fromMono) {
        conversion.kind = Conversion::ToMonochrome;
        conversion.background = ToPixel(source.state.bkColor);
    } else if (fromMono && !toMono) {
        conversion.kind = Conversion::FromMonochrome;
        conversion.zero = ToPixel(destination.state.textColor);
        conversion.one = ToPixel(destination.state.bkColor);
    }
    return conversion;
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
    const SourceOp op = SourceOpOf(rop);
    if (op == SourceOp::None) {
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
    const Conversion convert = ConversionOf(*source, *dc);
    const bool plainCopy = op == SourceOp::Copy && convert.kind == Conversion::None;
    ForEachClipRect(*dc, IntersectRects(target, reachable), [&](const RECT& part) {
        for (int row = part.top; row < part.bottom; ++row) {
            const int sourceRow = row - shiftY;
            const uint32_t* pixels =
                copy.empty() ? from.Row(sourceRow) + (part.left - shiftX)
                             : copy.data() +
                                   static_cast<size_t>(sourceRow - sourceArea.top) * width +
                                   (part.left - shiftX - sourceArea.left);
            uint32_t* targetRow = to.Row(row) + part.left;
            if (plainCopy) {
                std::copy_n(pixels, part.right - part.left, targetRow);
                continue;
            }
            for (int i = 0; i < part.right - part.left; ++i) {
                targetRow[i] = ApplySource(op, targetRow[i], convert(pixels[i]));
            }
        }
    });
    return TRUE;
}
