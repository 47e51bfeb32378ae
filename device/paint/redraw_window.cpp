// RedrawWindow and GetUpdateRgn: the general forms of invalidating, validating and painting
// at once, over the same update regions as InvalidateRect and UpdateWindow.
#include "gdi/dc_state.h"
#include "gdi/handle_table.h"
#include "message/dispatch.h"
#include "paint/update_region.h"
#include "window/geometry.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <vector>

using device::Window;

namespace {

// The area the call names, on the screen: the region or rectangle (client coordinates), or
// the whole client area, with the frame when RDW_FRAME asks for it.
bool NamedArea(Window* window, const RECT* rect, HRGN region, UINT flags, device::gdi::Region* area) {
    POINT origin = device::ClientOriginOnScreen(window);
    if (region != nullptr) {
        auto* object = device::gdi::FindOrFail<device::gdi::RegionObject>(region);
        if (object == nullptr) {
            return false;
        }
        *area = object->region;
        area->Offset(origin.x, origin.y);
    } else if (rect != nullptr) {
        *area = device::gdi::Region(device::Offset(*rect, origin.x, origin.y));
    } else {
        *area = device::gdi::Region((flags & RDW_FRAME) != 0 ? device::WindowRectOnScreen(window)
                                                              : device::ClientRectOnScreen(window));
    }
    return true;
}

void Apply(Window* window, const device::gdi::Region& area, UINT flags) {
    if ((flags & RDW_INVALIDATE) != 0) {
        device::InvalidateScreenArea(window, area, (flags & RDW_ERASE) != 0, (flags & RDW_FRAME) != 0);
    } else if ((flags & RDW_VALIDATE) != 0) {
        window->updateRegion.Subtract(area);
        if ((flags & RDW_NOERASE) != 0 || window->updateRegion.IsEmpty()) {
            window->eraseNeeded = false;
        }
        if ((flags & RDW_NOFRAME) != 0) {
            window->ncPaintNeeded = false;
        }
    }
}

} // namespace

// Children are left alone unless RDW_ALLCHILDREN: every window here clips its children.
// RDW_INTERNALPAINT has no effect: a window is painted only where something is invalid.
BOOL WINAPI RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags) {
    Window* window = hWnd != nullptr ? device::FromHandle(hWnd) : device::Desktop();
    if (window == nullptr) {
        return FALSE;
    }
    device::gdi::Region area;
    if (!NamedArea(window, lprcUpdate, hrgnUpdate, flags, &area)) {
        return FALSE;
    }
    if ((flags & RDW_ALLCHILDREN) != 0 && (flags & RDW_NOCHILDREN) == 0) {
        std::vector<Window*> tree;
        device::ForEachWindow(window, [&tree](Window* w) { tree.push_back(w); });
        for (Window* w : tree) {
            Apply(w, area, flags);
        }
    } else {
        Apply(window, area, flags);
    }
    if ((flags & (RDW_ERASENOW | RDW_UPDATENOW)) != 0) {
        device::EraseNow(window);
        window = device::LookUp(hWnd != nullptr ? hWnd : device::Desktop()->handle);
    }
    if (window != nullptr && (flags & RDW_UPDATENOW) != 0) {
        device::PaintTreeNow(window);
    }
    return TRUE;
}

// The client part of the update region, in client coordinates; bErase sends the pending
// WM_ERASEBKGND as GetUpdateRect does.
int WINAPI GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase) {
    Window* window = device::FromHandle(hWnd);
    auto* target = device::gdi::FindOrFail<device::gdi::RegionObject>(hRgn);
    if (window == nullptr || target == nullptr) {
        return ERROR;
    }
    device::gdi::Region clientPart = window->updateRegion;
    clientPart.Intersect(device::ClientRectOnScreen(window));
    POINT origin = device::ClientOriginOnScreen(window);
    clientPart.Offset(-origin.x, -origin.y);
    target->region = clientPart;
    if (bErase && window->eraseNeeded && !clientPart.IsEmpty()) {
        window->eraseNeeded = false;
        HDC hdc = GetDC(hWnd);
        device::Send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        ReleaseDC(hWnd, hdc);
    }
    return device::gdi::RegionType(target->region);
}
