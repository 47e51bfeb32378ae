// The GDI objects behind HPEN, HBRUSH, HFONT, HBITMAP, HRGN and the stock palette, and the
// bookkeeping that lets DeleteObject wait while an object is still selected in a DC.
#pragma once

#include <cstdint>

#include "gdi/region.h"
#include "gdi/surface.h"
#include "wingdi.h"

namespace device::gdi {

class FontFace;

enum class ObjectKind : uint8_t { Pen, Brush, Font, Bitmap, Region, Palette, Dc };

struct GdiObject {
    explicit GdiObject(ObjectKind objectKind) : kind(objectKind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    const ObjectKind kind;
    bool stock = false;         // stock and system-colour objects are never freed
    bool deletePending = false; // DeleteObject came while the object was selected
    int selections = 0;         // DC states (current and saved) that hold the object
};

struct PenObject final : GdiObject {
    static constexpr ObjectKind kKind = ObjectKind::Pen;
    PenObject() : GdiObject(kKind) {}
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

struct BrushObject final : GdiObject {
    static constexpr ObjectKind kKind = ObjectKind::Brush;
    BrushObject() : GdiObject(kKind) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int systemColor = -1; // >= 0: a GetSysColorBrush brush, whose colour follows the table

    COLORREF Color() const;
    bool IsNull() const { return style == BS_NULL; }
};

struct FontObject final : GdiObject {
    static constexpr ObjectKind kKind = ObjectKind::Font;
    FontObject() : GdiObject(kKind) {}
    LOGFONTW logFont{};
    FontFace* face = nullptr; // matched on first use; faces live as long as the process
};

struct BitmapObject final : GdiObject {
    static constexpr ObjectKind kKind = ObjectKind::Bitmap;
    BitmapObject() : GdiObject(kKind) {}
    Surface surface;
    HDC owner = nullptr; // the memory DC it is selected into (stock bitmaps have none)
    WORD bitsPixel = 32; // 1: monochrome, every pixel black or white

    bool Monochrome() const { return bitsPixel == 1; }
};

struct RegionObject final : GdiObject {
    static constexpr ObjectKind kKind = ObjectKind::Region;
    RegionObject() : GdiObject(kKind) {}
    Region region;
};

struct PaletteObject final : GdiObject {
    static constexpr ObjectKind kKind = ObjectKind::Palette;
    PaletteObject() : GdiObject(kKind) {}
};

inline constexpr DWORD kObjPal = 5; // OBJ_PAL, absent from the headers (no palette API)

// Stock objects the headers do not name but Win32 has; CE lacks some of them.
inline constexpr int kOemFixedFont = 10;
inline constexpr int kAnsiFixedFont = 11;
inline constexpr int kAnsiVarFont = 12;
inline constexpr int kDeviceDefaultFont = 14;
inline constexpr int kSystemFixedFont = 16;
inline constexpr int kStockObjectCount = 18;

// The 1x1 monochrome bitmap every new memory DC starts with (shared, like the real stock
// bitmap).
HBITMAP DefaultBitmap();

// A bitmap of more pixels than this is refused as out of memory (a 64 MiB framebuffer).
inline constexpr int64_t kMaxBitmapPixels = 16 * 1024 * 1024;

// A new black bitmap of width x height pixels (both above 0); 0 with the error set when it
// is too large or the handle table is full.
HBITMAP NewBitmap(int width, int height, WORD bitsPixel);

// A pixel read as a monochrome bit: set (white) when the colour is nearer white than black.
constexpr bool IsWhiteBit(uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) > 382;
}

// What a colour becomes on a monochrome surface.
constexpr uint32_t MonochromePixel(uint32_t pixel) { return IsWhiteBit(pixel) ? 0xFFFFFF : 0; }

// The face a font object stands for, matched on first use; null only when no font file at all
// can be loaded.
FontFace* FaceOfFont(FontObject& font);

} // namespace device::gdi
