// Creating, describing and deleting pens, brushes, fonts and bitmaps. Deleting an object that
// a DC still holds is deferred until the last DC lets go of it.
#include <algorithm>
#include <cstring>

#include "gdi/dc_state.h"
#include "gdi/handle_table.h"
#include "gdi/system_colors.h"
#include "winbase.h"

namespace device::gdi {

COLORREF BrushObject::Color() const {
    return systemColor >= 0 ? SystemColor(systemColor) : color & 0x00FFFFFF;
}

} // namespace device::gdi

using namespace device::gdi;

namespace {

template <typename T>
int CopyOut(const T& value, int c, LPVOID pv) {
    if (pv == nullptr) {
        return static_cast<int>(sizeof(T));
    }
    if (c <= 0) {
        return 0;
    }
    const int size = std::min(c, static_cast<int>(sizeof(T)));
    std::memcpy(pv, &value, static_cast<size_t>(size));
    return size;
}

} // namespace

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto brush = std::make_unique<BrushObject>();
    brush->color = color & 0x00FFFFFF;
    return static_cast<HBRUSH>(InsertObject(std::move(brush)));
}

// Only solid and null brushes exist on this device; hatched and pattern styles are refused.
HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* plbrush) {
    if (plbrush == nullptr || (plbrush->lbStyle != BS_SOLID && plbrush->lbStyle != BS_NULL)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto brush = std::make_unique<BrushObject>();
    brush->style = plbrush->lbStyle;
    brush->color = plbrush->lbColor & 0x00FFFFFF;
    return static_cast<HBRUSH>(InsertObject(std::move(brush)));
}

// Styled pens are cosmetic: wider than one pixel they draw solid, as on Windows.
HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
    if (iStyle != PS_SOLID && iStyle != PS_DASH && iStyle != PS_DOT && iStyle != PS_NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto pen = std::make_unique<PenObject>();
    pen->style = iStyle;
    pen->width = std::max(cWidth, 1);
    if (pen->width > 1 && iStyle != PS_NULL) {
        pen->style = PS_SOLID;
    }
    pen->color = color & 0x00FFFFFF;
    return static_cast<HPEN>(InsertObject(std::move(pen)));
}

// Only records the description: the face is matched when the font is first used.
HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf) {
    if (lplf == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto font = std::make_unique<FontObject>();
    font->logFont = *lplf;
    font->logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(InsertObject(std::move(font)));
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    GdiObject* object = FindObject(ho);
    if (object == nullptr || object->kind == ObjectKind::Dc) {
        FailInvalidHandle();
        return FALSE;
    }
    if (object->stock) {
        return TRUE;
    }
    if (object->selections > 0) {
        object->deletePending = true;
        return TRUE;
    }
    EraseObject(ho);
    return TRUE;
}

int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv) {
    GdiObject* object = FindObject(h);
    if (object == nullptr) {
        FailInvalidHandle();
        return 0;
    }
    switch (object->kind) {
    case ObjectKind::Pen: {
        const auto* pen = static_cast<PenObject*>(object);
        LOGPEN logPen{static_cast<UINT>(pen->style), POINT{pen->width, 0}, pen->color};
        return CopyOut(logPen, c, pv);
    }
    case ObjectKind::Brush: {
        const auto* brush = static_cast<BrushObject*>(object);
        LOGBRUSH logBrush{brush->style, brush->Color(), 0};
        return CopyOut(logBrush, c, pv);
    }
    case ObjectKind::Font:
        return CopyOut(static_cast<FontObject*>(object)->logFont, c, pv);
    case ObjectKind::Bitmap: {
        const auto* bitmap = static_cast<BitmapObject*>(object);
        const Surface& surface = bitmap->surface;
        // Rows of a device-dependent bitmap are padded to 16 bits.
        const LONG rowBytes = (surface.width * bitmap->bitsPixel + 15) / 16 * 2;
        BITMAP info{0, surface.width, surface.height, rowBytes, 1, bitmap->bitsPixel, nullptr};
        return CopyOut(info, c, pv);
    }
    case ObjectKind::Palette:
        return CopyOut(static_cast<WORD>(0), c, pv); // entry count; the device has no palette
    case ObjectKind::Region:
    case ObjectKind::Dc:
        break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

DWORD WINAPI GetObjectType(HGDIOBJ h) {
    GdiObject* object = FindObject(h);
    if (object == nullptr) {
        FailInvalidHandle();
        return 0;
    }
    switch (object->kind) {
    case ObjectKind::Pen:
        return OBJ_PEN;
    case ObjectKind::Brush:
        return OBJ_BRUSH;
    case ObjectKind::Font:
        return OBJ_FONT;
    case ObjectKind::Bitmap:
        return OBJ_BITMAP;
    case ObjectKind::Region:
        return OBJ_REGION;
    case ObjectKind::Palette:
        return kObjPal;
    case ObjectKind::Dc:
        return static_cast<DcObject*>(object)->memory ? OBJ_MEMDC : OBJ_DC;
    }
    return 0;
}
