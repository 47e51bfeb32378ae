// Pixel-level drawing on a DC's surface, always inside the DC's effective clip: the layer
// that lines, shapes, blits and text are written on. Coordinates here are surface ones.
#pragma once

#include <algorithm>
#include <cstdint>

#include "gdi/dc_state.h"

namespace device::gdi {

// How a drawn colour meets the pixel below it.
enum class Mix : uint8_t { Copy, Xor, Invert };

Mix MixOfRop2(int rop2);

inline uint32_t Apply(Mix mix, uint32_t destination, uint32_t pixel) {
    switch (mix) {
    case Mix::Copy:
        return pixel;
    case Mix::Xor:
        return destination ^ pixel;
    case Mix::Invert:
        return ~destination & 0x00FFFFFF;
    }
    return pixel;
}

// Calls fn(rect) for each clip rectangle's overlap with area (surface coordinates).
template <typename Fn>
void ForEachClipRect(const DcObject& dc, const RECT& area, Fn fn) {
    const RECT bounded = IntersectRects(area, RECT{0, 0, dc.surface->width, dc.surface->height});
    if (IsRectEmptyRect(bounded)) {
        return;
    }
    for (const RECT& clip : dc.effectiveClip.Rects()) {
        if (clip.top >= bounded.bottom) {
            break;
        }
        const RECT part = IntersectRects(clip, bounded);
        if (!IsRectEmptyRect(part)) {
            fn(part);
        }
    }
}

// Calls fn(destination, sourceX, sourceY) for each surface pixel of the logical rectangle
// (x, y, cx, cy) of dc that its clip lets through, with the position in a source of
// sourceWidth x sourceHeight pixels stretched over the rectangle (nearest pixel).
template <typename Fn>
void ForEachStretchedPixel(DcObject& dc, int x, int y, int cx, int cy, int sourceWidth, int sourceHeight, Fn fn) {
    if (cx <= 0 || cy <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        return;
    }
    const int left = dc.SurfaceX(x);
    const int top = dc.SurfaceY(y);
    const RECT area{left, top, Shift(left, cx, 0), Shift(top, cy, 0)};
    ForEachClipRect(dc, area, [&](const RECT& part) {
        for (int row = part.top; row < part.bottom; ++row) {
            const int sourceY = static_cast<int>(static_cast<int64_t>(row - top) * sourceHeight / cy);
            uint32_t* target = dc.surface->Row(row);
            for (int column = part.left; column < part.right; ++column) {
                fn(target[column], static_cast<int>(static_cast<int64_t>(column - left) * sourceWidth / cx), sourceY);
            }
        }
    });
}

// above laid over below with an opacity of alpha (0 to 255).
inline uint32_t BlendPixels(uint32_t below, uint32_t above, uint32_t alpha) {
    if (alpha == 255) {
        return above;
    }
    const uint32_t inverse = 255 - alpha;
    const uint32_t r = (((above >> 16) & 0xFF) * alpha + ((below >> 16) & 0xFF) * inverse + 127);
    const uint32_t g = (((above >> 8) & 0xFF) * alpha + ((below >> 8) & 0xFF) * inverse + 127);
    const uint32_t b = ((above & 0xFF) * alpha + (below & 0xFF) * inverse + 127);
    return ((r / 255) << 16) | ((g / 255) << 8) | (b / 255);
}

void FillSurfaceRect(DcObject& dc, const RECT& area, uint32_t pixel, Mix mix);

// Plots one pixel when the clip allows it.
void PlotPixel(DcObject& dc, int x, int y, uint32_t pixel, Mix mix);

// Blends pixel into the surface through an 8-bit coverage mask whose top-left lands at (x, y),
// within the DC's clip and within limit.
void BlendMask(DcObject& dc, const RECT& limit, int x, int y, int width, int height,
               const uint8_t* mask, int pitch, uint32_t pixel);

} // namespace device::gdi
