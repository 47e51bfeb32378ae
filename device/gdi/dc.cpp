// Device contexts: window DCs for the window system, memory DCs for programs, object
// selection, SaveDC/RestoreDC and the device's capabilities.
#include "gdi/dc.h"

#include "gdi/dc_state.h"
#include "gdi/verify.h"
#include "shell/system_info.h"
#include "winbase.h"

namespace device::gdi {

void DcObject::UpdateClip() {
    effectiveClip = visible;
    if (state.clip) {
        Region clip = *state.clip;
        clip.Offset(origin.x, origin.y);
        effectiveClip.Intersect(clip);
    }
}

RECT DcObject::SurfaceRect(const RECT& logical) const {
    return RECT{SurfaceX(logical.left), SurfaceY(logical.top), SurfaceX(logical.right),
                SurfaceY(logical.bottom)};
}

RECT DcObject::LogicalRect(const RECT& surfaceRect) const {
    const int dx = -state.viewportOrg.x;
    const int dy = -state.viewportOrg.y;
    return RECT{Shift(surfaceRect.left, dx, -origin.x), Shift(surfaceRect.top, dy, -origin.y),
                Shift(surfaceRect.right, dx, -origin.x), Shift(surfaceRect.bottom, dy, -origin.y)};
}

int RegionType(const Region& region) {
    if (region.IsEmpty()) {
        return NULLREGION;
    }
    return region.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Reselect(HGDIOBJ& slot, HGDIOBJ object) {
    // Take the new hold before letting go of the old one: they may be the same object.
    if (object != nullptr) {
        Retain(object);
    }
    HGDIOBJ previous = slot;
    slot = object;
    if (previous != nullptr) {
        Release(previous);
    }
}

void ReleaseState(DcState& state) {
    Reselect(state.pen, nullptr);
    Reselect(state.brush, nullptr);
    Reselect(state.font, nullptr);
    Reselect(state.bitmap, nullptr);
}

void AttachBitmapSurface(DcObject& dc) {
    BitmapObject* bitmap = Find<BitmapObject>(dc.state.bitmap);
    GDI_VERIFY(bitmap != nullptr);
    dc.surface = &bitmap->surface;
    dc.origin = POINT{0, 0};
    dc.visible = Region(RECT{0, 0, bitmap->surface.width, bitmap->surface.height});
    dc.UpdateClip();
}

namespace {

HDC InsertDc(std::unique_ptr<DcObject> dc) {
    DcObject* raw = dc.get();
    HDC hdc = static_cast<HDC>(InsertObject(std::move(dc)));
    if (hdc == nullptr) {
        return nullptr;
    }
    Reselect(raw->state.pen, GetStockObject(BLACK_PEN));
    Reselect(raw->state.brush, GetStockObject(WHITE_BRUSH));
    Reselect(raw->state.font, GetStockObject(SYSTEM_FONT));
    if (raw->memory) {
        Reselect(raw->state.bitmap, DefaultBitmap());
        AttachBitmapSurface(*raw);
    } else {
        raw->UpdateClip();
    }
    return hdc;
}

void DestroyDc(HDC hdc, DcObject& dc) {
    ReleaseState(dc.state);
    for (DcState& saved : dc.saved) {
        ReleaseState(saved);
    }
    dc.saved.clear();
    EraseObject(hdc);
}

DcObject* FindWindowDc(HDC hdc) {
    DcObject* dc = Find<DcObject>(hdc);
    return dc != nullptr && !dc->memory ? dc : nullptr;
}

} // namespace

HDC CreateWindowDC(Surface* surface, POINT origin, const Region& visible, HWND window) {
    GDI_VERIFY(surface != nullptr);
    auto dc = std::make_unique<DcObject>();
    dc->surface = surface;
    dc->origin = origin;
    dc->visible = visible;
    dc->visible.Intersect(RECT{0, 0, surface->width, surface->height});
    dc->window = window;
    return InsertDc(std::move(dc));
}

bool DestroyWindowDC(HDC hdc) {
    DcObject* dc = FindWindowDc(hdc);
    if (dc == nullptr) {
        return false;
    }
    DestroyDc(hdc, *dc);
    return true;
}

HWND WindowOfDC(HDC hdc) {
    DcObject* dc = FindWindowDc(hdc);
    return dc != nullptr ? dc->window : nullptr;
}

bool UpdateWindowDC(HDC hdc, POINT origin, const Region& visible) {
    DcObject* dc = FindWindowDc(hdc);
    if (dc == nullptr) {
        return false;
    }
    dc->origin = origin;
    dc->visible = visible;
    dc->visible.Intersect(RECT{0, 0, dc->surface->width, dc->surface->height});
    dc->UpdateClip();
    return true;
}

} // namespace device::gdi

using namespace device::gdi;

// Memory DCs here draw in 32-bit colour from the start. A real memory DC starts with a 1x1
// monochrome bitmap and stays monochrome until a colour bitmap is selected; nothing in this
// system depends on monochrome rendering.
HDC WINAPI CreateCompatibleDC(HDC hdc) {
    if (hdc != nullptr && FindOrFail<DcObject>(hdc) == nullptr) {
        return nullptr;
    }
    auto dc = std::make_unique<DcObject>();
    dc->memory = true;
    return InsertDc(std::move(dc));
}

// Window DCs belong to the window system (ReleaseDC/EndPaint); DeleteDC refuses them.
BOOL WINAPI DeleteDC(HDC hdc) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr || !dc->memory) {
        return FALSE;
    }
    DestroyDc(hdc, *dc);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    GdiObject* object = FindObject(h);
    if (dc == nullptr) {
        return nullptr;
    }
    if (object == nullptr) {
        FailInvalidHandle();
        return nullptr;
    }
    HGDIOBJ* slot = nullptr;
    switch (object->kind) {
    case ObjectKind::Pen:
        slot = &dc->state.pen;
        break;
    case ObjectKind::Brush:
        slot = &dc->state.brush;
        break;
    case ObjectKind::Font:
        slot = &dc->state.font;
        break;
    case ObjectKind::Region:
        // Selecting a region sets the clip region and answers its complexity.
        return reinterpret_cast<HGDIOBJ>(
            static_cast<intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(h))));
    case ObjectKind::Bitmap: {
        auto* bitmap = static_cast<BitmapObject*>(object);
        if (!dc->memory || (bitmap->owner != nullptr && bitmap->owner != hdc)) {
            return nullptr;
        }
        HGDIOBJ previous = dc->state.bitmap;
        Reselect(dc->state.bitmap, h);
        if (!bitmap->stock) {
            bitmap->owner = hdc;
        }
        AttachBitmapSurface(*dc);
        return previous;
    }
    case ObjectKind::Palette:
    case ObjectKind::Dc:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HGDIOBJ previous = *slot;
    Reselect(*slot, h);
    return previous;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return nullptr;
    }
    switch (type) {
    case OBJ_PEN:
        return dc->state.pen;
    case OBJ_BRUSH:
        return dc->state.brush;
    case OBJ_FONT:
        return dc->state.font;
    case OBJ_BITMAP:
        return dc->state.bitmap;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

int WINAPI SaveDC(HDC hdc) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return 0;
    }
    DcState copy = dc->state;
    for (HGDIOBJ object : {copy.pen, copy.brush, copy.font, copy.bitmap}) {
        if (object != nullptr) {
            Retain(object);
        }
    }
    dc->saved.push_back(std::move(copy));
    return static_cast<int>(dc->saved.size());
}

// nSavedDC > 0 names a level SaveDC returned; < 0 counts back from the latest save. The states
// saved above the restored one are dropped.
BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    const int count = static_cast<int>(dc->saved.size());
    const int index = nSavedDC > 0 ? nSavedDC - 1 : count + nSavedDC;
    if (nSavedDC == 0 || index < 0 || index >= count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DcState restored = std::move(dc->saved[index]);
    for (int i = count - 1; i > index; --i) {
        ReleaseState(dc->saved[i]);
    }
    dc->saved.resize(index);
    // The restored state already holds its objects; only the current ones are let go.
    DcState current = std::move(dc->state);
    dc->state = std::move(restored);
    if (dc->memory) {
        AttachBitmapSurface(*dc);
    } else {
        dc->UpdateClip();
    }
    ReleaseState(current);
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
    if (FindOrFail<DcObject>(hdc) == nullptr) {
        return 0;
    }
    constexpr int kTechnology = 2;
    constexpr int kHorzSize = 4;
    constexpr int kVertSize = 6;
    constexpr int kNumColors = 24;
    constexpr int kRasterCaps = 38;
    constexpr int kRcBitBlt = 1;
    constexpr int kDtRasDisplay = 1;
    switch (index) {
    case HORZRES:
        return device::ScreenWidth();
    case VERTRES:
        return device::ScreenHeight();
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case kTechnology:
        return kDtRasDisplay;
    case kHorzSize: // millimetres of the screen at 96 dpi
        return (device::ScreenWidth() * 254 + 480) / 960;
    case kVertSize:
        return (device::ScreenHeight() * 254 + 480) / 960;
    case kNumColors: // more than a palette holds
        return -1;
    case kRasterCaps:
        return kRcBitBlt;
    default:
        return 0;
    }
}
