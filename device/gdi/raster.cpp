// Clipped fills, pixels and antialiased mask blending on a DC's surface.
#include "gdi/raster.h"

namespace device::gdi {

Mix MixOfRop2(int rop2) {
    switch (rop2) {
    case R2_XORPEN:
        return Mix::Xor;
    case R2_NOT:
        return Mix::Invert;
    default:
        return Mix::Copy;
    }
}

void FillSurfaceRect(DcObject& dc, const RECT& area, uint32_t pixel, Mix mix) {
    Surface& surface = *dc.surface;
    ForEachClipRect(dc, area, [&](const RECT& part) {
        for (int y = part.top; y < part.bottom; ++y) {
            uint32_t* row = surface.Row(y);
            if (mix == Mix::Copy) {
                std::fill(row + part.left, row + part.right, pixel);
                continue;
            }
            for (int x = part.left; x < part.right; ++x) {
                row[x] = Apply(mix, row[x], pixel);
            }
        }
    });
}

void PlotPixel(DcObject& dc, int x, int y, uint32_t pixel, Mix mix) {
    if (!dc.surface->Contains(x, y) || !dc.effectiveClip.Contains(x, y)) {
        return;
    }
    uint32_t& target = dc.surface->Row(y)[x];
    target = Apply(mix, target, pixel);
}

void BlendMask(DcObject& dc, const RECT& limit, int x, int y, int width, int height,
               const uint8_t* mask, int pitch, uint32_t pixel) {
    const RECT area = IntersectRects(RECT{x, y, x + width, y + height}, limit);
    Surface& surface = *dc.surface;
    ForEachClipRect(dc, area, [&](const RECT& part) {
        for (int row = part.top; row < part.bottom; ++row) {
            const uint8_t* coverage = mask + static_cast<ptrdiff_t>(row - y) * pitch;
            uint32_t* target = surface.Row(row);
            for (int column = part.left; column < part.right; ++column) {
                const uint32_t alpha = coverage[column - x];
                if (alpha != 0) {
                    target[column] = BlendPixels(target[column], pixel, alpha);
                }
            }
        }
    });
}

} // namespace device::gdi
