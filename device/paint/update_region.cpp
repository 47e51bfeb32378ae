// Invalidation and validation: InvalidateRect, ValidateRect, UpdateWindow, GetUpdateRect,
// and the search for windows that need WM_PAINT.
#include "paint/update_region.h"

#include "gdi/dc.h"
#include "message/clock.h"
#include "message/dispatch.h"
#include "paint/screen.h"
#include "runtime/idle.h"
#include "window/geometry.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <vector>

namespace device {
namespace {

RECT ScreenRect() { return RECT{0, 0, Screen().width, Screen().height}; }

// Whether one of the shell's windows may need painting: the queue asks on every
// retrieval, so the answer is kept rather than searched for each time.
bool g_shellPaintPending = true;

bool ClipsSiblings(const Window* window) {
    return window->parent == Desktop() || (window->style & WS_CLIPSIBLINGS) != 0;
}

bool FindPaint(Window* window, const MessageFilter& filter, MSG* msg) {
    if (!window->IsVisibleFlag()) {
        return false;
    }
    if (NeedsPaint(window) && !window->deviceOwned && filter.MatchesWindow(window->handle) &&
        filter.MatchesNumber(WM_PAINT)) {
        *msg = MSG{window->handle, WM_PAINT, 0, 0, Now(), CursorPosition()};
        return true;
    }
    for (Window* child : window->children) {
        if (FindPaint(child, filter, msg)) {
            return true;
        }
    }
    return false;
}

} // namespace

gdi::Region VisibleRegion(const Window* window, bool clientOnly) {
    if (!IsEffectivelyVisible(window)) {
        return gdi::Region();
    }
    gdi::Region region(clientOnly ? ClientRectOnScreen(window) : WindowRectOnScreen(window));
    region.Intersect(ScreenRect());
    for (const Window* ancestor = window->parent; ancestor != nullptr && ancestor != Desktop();
         ancestor = ancestor->parent) {
        region.Intersect(ClientRectOnScreen(ancestor));
    }
    for (const Window* child : window->children) {
        if (child->IsVisibleFlag()) {
            region.Subtract(WindowRectOnScreen(child));
        }
    }
    for (const Window* level = window; level->parent != nullptr; level = level->parent) {
        if (ClipsSiblings(level)) {
            for (const Window* sibling : level->parent->children) {
                if (sibling == level) {
                    break;
                }
                if (sibling->IsVisibleFlag()) {
                    region.Subtract(WindowRectOnScreen(sibling));
                }
            }
        }
        if (level->parent == Desktop()) {
            break;
        }
    }
    return region;
}

bool NeedsPaint(const Window* window) {
    return !window->updateRegion.IsEmpty() || window->ncPaintNeeded;
}

void InvalidateScreenArea(Window* window, const gdi::Region& area, bool erase, bool frame) {
    gdi::Region visible = VisibleRegion(window, false);
    visible.Intersect(area);
    if (visible.IsEmpty()) {
        return;
    }
    window->updateRegion.Union(visible);
    if (window->deviceOwned) {
        g_shellPaintPending = true;
    }
    if (erase) {
        window->eraseNeeded = true;
    }
    if (frame) {
        // The frame is redrawn (WM_NCPAINT) even for a window without one, as the
        // platform does for every window invalidated with its frame.
        window->ncPaintNeeded = true;
    }
}

void InvalidateWindowTree(Window* window) {
    ForEachWindow(window, [](Window* w) {
        InvalidateScreenArea(w, gdi::Region(WindowRectOnScreen(w)), true, true);
    });
}

void ExposeScreenArea(const RECT& area, const Window* except) {
    gdi::Region exposed(area);
    ForEachWindow(Desktop(), [&](Window* w) {
        if (except == nullptr || !IsSelfOrDescendant(w, except)) {
            InvalidateScreenArea(w, exposed, true, true);
        }
    });
}

void InvalidateFrame(Window* window) {
    if (IsEffectivelyVisible(window)) {
        window->ncPaintNeeded = true;
        if (window->deviceOwned) {
            g_shellPaintPending = true;
        }
    }
}

void EraseNow(Window* window) {
    HWND hwnd = window->handle;
    if (!IsEffectivelyVisible(window)) {
        return;
    }
    if (window->ncPaintNeeded) {
        window->ncPaintNeeded = false;
        Send(window, WM_NCPAINT, 1, 0);
        if ((window = LookUp(hwnd)) == nullptr) {
            return;
        }
    }
    if (window->eraseNeeded) {
        window->eraseNeeded = false;
        gdi::Region area = window->updateRegion;
        area.Intersect(VisibleRegion(window, true));
        if (!area.IsEmpty()) {
            // Only what is to be repainted is erased, or parts that no WM_PAINT redraws
            // would be left blank.
            HDC hdc = gdi::CreateWindowDC(&Screen(), ClientOriginOnScreen(window), area, hwnd);
            Send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
            gdi::DestroyWindowDC(hdc);
            ScreenChanged();
        }
        if ((window = LookUp(hwnd)) == nullptr) {
            return;
        }
    }
    std::vector<HWND> children;
    for (Window* child : window->children) {
        children.push_back(child->handle);
    }
    for (HWND child : children) {
        if (Window* alive = LookUp(child)) {
            EraseNow(alive);
        }
    }
}

bool FindPaintMessage(MSG* msg, const MessageFilter& filter) {
    Window* desktop = Desktop();
    if (desktop == nullptr) {
        return false;
    }
    return FindPaint(desktop, filter, msg);
}

void PaintTreeNow(Window* window) {
    // Collected first: painting may create, move or destroy windows of the tree.
    std::vector<HWND> tree;
    ForEachWindow(window, [&tree](Window* w) { tree.push_back(w->handle); });
    for (HWND hwnd : tree) {
        Window* still = LookUp(hwnd);
        if (still != nullptr && NeedsPaint(still) && IsEffectivelyVisible(still)) {
            Send(still, WM_PAINT, 0, 0);
        }
    }
}

bool FindShellPaintMessage(MSG* msg) {
    if (!g_shellPaintPending) {
        return false;
    }
    Window* desktop = Desktop();
    if (desktop == nullptr) {
        return false;
    }
    auto paintOf = [msg](Window* window) {
        *msg = MSG{window->handle, WM_PAINT, 0, 0, Now(), CursorPosition()};
        return true;
    };
    if (NeedsPaint(desktop)) {
        return paintOf(desktop);
    }
    for (Window* top : desktop->children) {
        if (top->deviceOwned && top->IsVisibleFlag() && NeedsPaint(top)) {
            return paintOf(top);
        }
    }
    g_shellPaintPending = false;
    return false;
}

void ValidateAfterUnhandledPaint(Window* window) {
    window->updateRegion.Clear();
    window->eraseNeeded = false;
    window->ncPaintNeeded = false;
}

} // namespace device

using device::Window;

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    if (hWnd == nullptr) {
        device::ExposeScreenArea(device::ScreenRect(), nullptr);
        return TRUE;
    }
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    RECT client = device::ClientRectOnScreen(window);
    RECT wanted = client;
    if (lpRect != nullptr) {
        POINT origin = device::ClientOriginOnScreen(window);
        wanted = device::gdi::IntersectRects(client, device::Offset(*lpRect, origin.x, origin.y));
    }
    // Already waiting to be painted (as a row of a long list is, changed several times
    // between two paints): nothing to add.
    if (window->updateRegion.HoldsInOneRect(wanted) && (bErase == FALSE || window->eraseNeeded)) {
        return TRUE;
    }
    device::InvalidateScreenArea(window, device::gdi::Region(wanted), bErase != FALSE, false);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    if (lpRect == nullptr) {
        device::ValidateAfterUnhandledPaint(window);
        return TRUE;
    }
    POINT origin = device::ClientOriginOnScreen(window);
    window->updateRegion.Subtract(device::Offset(*lpRect, origin.x, origin.y));
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    device::PaintTreeNow(window);
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    device::gdi::Region clientPart = window->updateRegion;
    clientPart.Intersect(device::ClientRectOnScreen(window));
    if (lpRect != nullptr) {
        if (clientPart.IsEmpty()) {
            *lpRect = RECT{0, 0, 0, 0};
        } else {
            POINT origin = device::ClientOriginOnScreen(window);
            *lpRect = device::Offset(clientPart.Bounds(), -origin.x, -origin.y);
        }
    }
    if (bErase && window->eraseNeeded && !clientPart.IsEmpty()) {
        window->eraseNeeded = false;
        HDC hdc = GetDC(hWnd);
        device::Send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        ReleaseDC(hWnd, hdc);
    }
    return clientPart.IsEmpty() ? FALSE : TRUE;
}
