// What the window system needs from the GDI to hand out window DCs: GetDC, GetWindowDC,
// BeginPaint and their release are built on these three calls.
#pragma once

#include "gdi/region.h"
#include "gdi/surface.h"
#include "windef.h"

namespace device::gdi {

// Makes a DC that draws on surface with its logical (0,0) at origin (surface coordinates)
// and never touches a pixel outside visible (also surface coordinates). The DC starts with
// the fresh-DC defaults. The surface must outlive the DC. Returns 0 when the handle table is
// full.
HDC CreateWindowDC(Surface* surface, POINT origin, const Region& visible, HWND window);

// Destroys a DC made by CreateWindowDC, deselecting its objects (which completes any deferred
// deletion). False when hdc is not a live window DC; memory DCs are left to DeleteDC.
bool DestroyWindowDC(HDC hdc);

// The window given to CreateWindowDC, or 0 when hdc is not a live window DC.
HWND WindowOfDC(HDC hdc);

// Moves a live window DC to a new origin and visible region, for a window system that keeps a
// DC across a move. The DC's own clipping (device coordinates) is kept. False when hdc is not a
// live window DC.
bool UpdateWindowDC(HDC hdc, POINT origin, const Region& visible);

} // namespace device::gdi
