// The device context behind an HDC: its target surface, the attributes SaveDC keeps, and the
// clipping that every drawing call honours.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "gdi/handle_table.h"
#include "gdi/region.h"
#include "gdi/surface.h"

namespace device::gdi {

inline constexpr int kCoordinateLimit = 1 << 29;

inline int Shift(int value, int a, int b) {
    const int64_t sum = static_cast<int64_t>(value) + a + b;
    return static_cast<int>(std::clamp<int64_t>(sum, -kCoordinateLimit, kCoordinateLimit));
}

// Everything SaveDC saves and RestoreDC puts back. Each non-null object handle here holds one
// selection of its object.
struct DcState {
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    int rop2 = R2_COPYPEN;
    POINT brushOrg{0, 0};
    POINT viewportOrg{0, 0};
    POINT currentPos{0, 0}; // logical coordinates
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ bitmap = nullptr;  // memory DCs only
    std::optional<Region> clip; // device coordinates; none = no clipping beyond the visible part
};

struct DcObject final : GdiObject {
    static constexpr ObjectKind kKind = ObjectKind::Dc;
    DcObject() : GdiObject(kKind) {}

    bool memory = false;
    Surface* surface = nullptr; // the window surface, or the selected bitmap's
    POINT origin{0, 0};         // surface position of device (0,0)
    Region visible;             // surface coordinates
    HWND window = nullptr;
    DcState state;
    std::vector<DcState> saved;
    Region effectiveClip; // surface coordinates: visible and clip together

    // Recomputes effectiveClip; call after visible, origin or clip change.
    void UpdateClip();

    // Logical to surface coordinates, held within +-kCoordinateLimit so that later arithmetic
    // on them cannot overflow whatever a caller passes.
    int SurfaceX(int x) const { return Shift(x, state.viewportOrg.x, origin.x); }
    int SurfaceY(int y) const { return Shift(y, state.viewportOrg.y, origin.y); }
    RECT SurfaceRect(const RECT& logical) const;
    // Surface to logical coordinates.
    RECT LogicalRect(const RECT& surfaceRect) const;
};

// A large rectangle that stands for "no limit" in clip arithmetic.
inline constexpr RECT kUnboundedRect{-(1 << 27), -(1 << 27), 1 << 27, 1 << 27};

// NULLREGION, SIMPLEREGION or COMPLEXREGION for region.
int RegionType(const Region& region);

// Puts an object handle into one of a state's slots, taking a selection of the new object and
// letting go of the old one.
void Reselect(HGDIOBJ& slot, HGDIOBJ object);

// Lets go of every object a state holds.
void ReleaseState(DcState& state);

// Points a memory DC at the surface of its selected bitmap.
void AttachBitmapSurface(DcObject& dc);

} // namespace device::gdi
