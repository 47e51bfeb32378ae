// The framebuffer the GDI draws into: the device's screen and every memory bitmap are
// a Surface of 0x00RRGGBB pixels, row-major, no padding.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace device::gdi {

struct Surface {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // row-major, 0x00RRGGBB

    // Resizes to width x height (negative sizes count as 0) and sets every pixel to fill.
    void Resize(int newWidth, int newHeight, uint32_t fill = 0) {
        width = std::max(newWidth, 0);
        height = std::max(newHeight, 0);
        pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
    }

    void Fill(uint32_t color) { std::fill(pixels.begin(), pixels.end(), color); }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * width; }
    const uint32_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * width; }

    // Unchecked access; callers clip first.
    uint32_t At(int x, int y) const { return Row(y)[x]; }
    void Set(int x, int y, uint32_t color) { Row(y)[x] = color; }
};

// COLORREF is 0x00BBGGRR; the surface stores 0x00RRGGBB. The top byte of a COLORREF
// (palette-relative flags) has no meaning on a true-colour device and is dropped.
constexpr uint32_t ToPixel(uint32_t colorRef) {
    return ((colorRef & 0xFF) << 16) | (colorRef & 0xFF00) | ((colorRef >> 16) & 0xFF);
}

constexpr uint32_t ToColorRef(uint32_t pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

} // namespace device::gdi
