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

void FillSurfaceRect(DcObject& dc, const RECT& area, uint32_t pixel, Mix mix);

// Plots one pixel when the clip allows it.
void PlotPixel(DcObject& dc, int x, int y, uint32_t pixel, Mix mix);

// Blends pixel into the surface through an 8-bit coverage mask whose top-left lands at (x, y),
// within the DC's clip and within limit.
void BlendMask(DcObject& dc, const RECT& limit, int x, int y, int width, int height,
               const uint8_t* mask, int pitch, uint32_t pixel);

} // namespace device::gdi
