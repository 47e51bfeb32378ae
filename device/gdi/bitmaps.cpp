// Making bitmaps: CreateCompatibleBitmap and CreateBitmap. Every bitmap is kept as 32-bit
// pixels; a monochrome one (1 bit a pixel) holds only black and white and says so, which
// blits and masks rely on.
#include <cstdint>
#include <cstring>

#include "gdi/dc_state.h"
#include "gdi/handle_table.h"
#include "winbase.h"

using namespace device::gdi;

namespace {

// Bytes in one row of device-dependent bits: padded to 16 bits.
size_t RowBytes(int width, UINT bitCount) {
    return (static_cast<size_t>(width) * bitCount + 15) / 16 * 2;
}

void ReadBits(Surface& surface, UINT bitCount, const uint8_t* bits) {
    const size_t rowBytes = RowBytes(surface.width, bitCount);
    for (int y = 0; y < surface.height; ++y) {
        const uint8_t* row = bits + static_cast<size_t>(y) * rowBytes;
        uint32_t* pixels = surface.Row(y);
        for (int x = 0; x < surface.width; ++x) {
            switch (bitCount) {
            case 1: pixels[x] = (row[x / 8] & (0x80 >> (x % 8))) != 0 ? 0xFFFFFF : 0; break;
            case 24: {
                const uint8_t* p = row + static_cast<size_t>(x) * 3; // blue, green, red
                pixels[x] = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
                break;
            }
            default: {
                uint32_t value = 0;
                std::memcpy(&value, row + static_cast<size_t>(x) * 4, 4); // blue, green, red, unused
                pixels[x] = value & 0x00FFFFFF;
                break;
            }
            }
        }
    }
}

} // namespace

namespace device::gdi {

HBITMAP NewBitmap(int width, int height, WORD bitsPixel) {
    if (static_cast<int64_t>(width) * height > kMaxBitmapPixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto bitmap = std::make_unique<BitmapObject>();
    bitmap->surface.Resize(width, height, 0);
    bitmap->bitsPixel = bitsPixel;
    return static_cast<HBITMAP>(InsertObject(std::move(bitmap)));
}

} // namespace device::gdi

// Always a 32-bit colour bitmap, whatever the DC holds (a real one follows the DC's format,
// which for a fresh memory DC is monochrome). A zero size gives the stock 1x1 bitmap, as on
// Windows.
HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    if (hdc != nullptr && FindOrFail<DcObject>(hdc) == nullptr) {
        return nullptr;
    }
    if (cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (cx == 0 || cy == 0) {
        return DefaultBitmap();
    }
    return NewBitmap(cx, cy, 32);
}

// One plane of 1, 24 or 32 bits a pixel; the device keeps no palette, so 4-, 8- and 16-bit
// bits are refused. Without bits the bitmap is black. A zero size gives the stock bitmap.
HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
    if (nWidth < 0 || nHeight < 0 || nPlanes != 1 || (nBitCount != 1 && nBitCount != 24 && nBitCount != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (nWidth == 0 || nHeight == 0) {
        return DefaultBitmap();
    }
    HBITMAP handle = NewBitmap(nWidth, nHeight, static_cast<WORD>(nBitCount));
    if (handle != nullptr && lpBits != nullptr) {
        ReadBits(Find<BitmapObject>(handle)->surface, nBitCount, static_cast<const uint8_t*>(lpBits));
    }
    return handle;
}
