// USER's rectangle helpers: FillRect, FrameRect and DrawFocusRect. They paint with a brush
// given by handle, or by system colour index + 1 as Win32 allows.
#include "gdi/raster.h"
#include "gdi/system_colors.h"
#include "winbase.h"
#include "winuser.h"

using namespace device::gdi;

namespace {

// The colour a brush argument stands for; false for a null brush or a bad handle (the latter
// also sets the error).
bool BrushColor(HBRUSH hbr, bool* isNull, COLORREF* color) {
    *isNull = false;
    const uintptr_t value = reinterpret_cast<uintptr_t>(hbr);
    if (value != 0 && value <= static_cast<uintptr_t>(SYS_COLOR_INDEX_FLAG | C_SYS_COLOR_TYPES)) {
        const int slot = SystemColorSlot(static_cast<int>(value) - 1);
        if (slot >= 0 && (value <= C_SYS_COLOR_TYPES || value > SYS_COLOR_INDEX_FLAG)) {
            *color = SystemColor(slot);
            return true;
        }
    }
    const BrushObject* brush = FindOrFail<BrushObject>(hbr);
    if (brush == nullptr) {
        return false;
    }
    if (brush->IsNull()) {
        *isNull = true;
        return false;
    }
    *color = brush->Color();
    return true;
}

} // namespace

// Right and bottom edges are left out. ROP2 does not apply (FillRect is a PATCOPY).
int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    DcObject* dc = FindOrFail<DcObject>(hDC);
    if (dc == nullptr || lprc == nullptr) {
        return FALSE;
    }
    bool isNull = false;
    COLORREF color = 0;
    if (!BrushColor(hbr, &isNull, &color)) {
        return isNull ? TRUE : FALSE;
    }
    FillSurfaceRect(*dc, dc->SurfaceRect(*lprc), ToPixel(color), Mix::Copy);
    return TRUE;
}

// A one-pixel border just inside the rectangle, drawn with the brush.
int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    DcObject* dc = FindOrFail<DcObject>(hDC);
    if (dc == nullptr || lprc == nullptr) {
        return FALSE;
    }
    bool isNull = false;
    COLORREF color = 0;
    if (!BrushColor(hbr, &isNull, &color)) {
        return isNull ? TRUE : FALSE;
    }
    const RECT r = dc->SurfaceRect(*lprc);
    if (IsRectEmptyRect(r)) {
        return TRUE;
    }
    const uint32_t pixel = ToPixel(color);
    FillSurfaceRect(*dc, RECT{r.left, r.top, r.right, r.top + 1}, pixel, Mix::Copy);
    FillSurfaceRect(*dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, pixel, Mix::Copy);
    FillSurfaceRect(*dc, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, pixel, Mix::Copy);
    FillSurfaceRect(*dc, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, pixel, Mix::Copy);
    return TRUE;
}

// Inverts every other pixel of the rectangle's border (the dot pattern is aligned to the DC's
// device origin), so a second call with the same rectangle removes the focus rectangle again.
BOOL WINAPI DrawFocusRect(HDC hDC, const RECT* lprc) {
    DcObject* dc = FindOrFail<DcObject>(hDC);
    if (dc == nullptr || lprc == nullptr) {
        return FALSE;
    }
    const RECT r = dc->SurfaceRect(*lprc);
    if (IsRectEmptyRect(r)) {
        return TRUE;
    }
    const int parityX = dc->origin.x;
    const int parityY = dc->origin.y;
    auto dot = [&](int x, int y) {
        if (((x - parityX + y - parityY) & 1) == 0) {
            PlotPixel(*dc, x, y, 0, Mix::Invert);
        }
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top) {
            dot(x, r.bottom - 1);
        }
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left) {
            dot(r.right - 1, y);
        }
    }
    return TRUE;
}
