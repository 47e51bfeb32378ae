// SetWindowPos, MoveWindow and SetParent: geometry, z-order and visibility changes with
// WM_WINDOWPOSCHANGING, WM_NCCALCSIZE and WM_WINDOWPOSCHANGED.
#include "window/window_pos.h"

#include "input/focus.h"
#include "message/dispatch.h"
#include "paint/update_region.h"
#include "window/geometry.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

namespace device {
namespace {

constexpr UINT kNoChange = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
constexpr UINT kStatusFlags = kNoChange | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_HIDEWINDOW;

void Reorder(Window* window, HWND insertAfter) {
    if (IsTopLevel(window) && (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST ||
                               insertAfter == HWND_NOTOPMOST)) {
        if (insertAfter == HWND_TOPMOST) {
            window->exStyle |= WS_EX_TOPMOST;
        } else if (insertAfter == HWND_NOTOPMOST) {
            window->exStyle &= ~WS_EX_TOPMOST;
        }
        BringToTop(window);
        return;
    }
    Window* parent = window->parent;
    UnlinkWindow(window);
    LinkWindow(parent, window, insertAfter);
}

// Whether putting the window after `insertAfter` changes anything: tried out on the
// sibling list and undone.
bool ChangesZOrder(Window* window, HWND insertAfter) {
    Window* parent = window->parent;
    if (parent == nullptr || insertAfter == window->handle) {
        return false;
    }
    std::vector<Window*> before = parent->children;
    DWORD exStyle = window->exStyle;
    Reorder(window, insertAfter);
    bool changed = parent->children != before || window->exStyle != exStyle;
    parent->children = std::move(before);
    window->exStyle = exStyle;
    return changed;
}

UINT FixUpFlags(Window* window, HWND& insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (window->IsVisibleFlag()) {
        flags &= ~SWP_SHOWWINDOW;
    } else {
        flags &= ~SWP_HIDEWINDOW;
        if ((flags & SWP_SHOWWINDOW) == 0) {
            flags |= SWP_NOREDRAW; // nothing of a hidden window is on the screen
        }
    }
    if ((flags & SWP_NOSIZE) == 0 && Width(window->windowRect) == cx && Height(window->windowRect) == cy) {
        flags |= SWP_NOSIZE;
    }
    if ((flags & SWP_NOMOVE) == 0 && window->windowRect.left == x && window->windowRect.top == y) {
        flags |= SWP_NOMOVE;
    }
    if (window->IsChild()) {
        flags |= SWP_NOACTIVATE; // only top-level windows are activated
    } else if ((flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) == 0 &&
               ((flags & SWP_NOZORDER) != 0 || (insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST))) {
        // A window being activated comes to the top whatever the caller said.
        flags &= ~SWP_NOZORDER;
        insertAfter = HWND_TOP;
    }
    if ((flags & SWP_NOZORDER) == 0 && !ChangesZOrder(window, insertAfter)) {
        flags |= SWP_NOZORDER;
    }
    return flags;
}

// What a change uncovered or reshaped is erased inside the call, before
// WM_WINDOWPOSCHANGED, as the platform does: the parent (with the window and its
// siblings) when a child is hidden, resized, restacked or reframed; the window itself
// when it is shown somewhere new. A plain move waits for painting.
void EraseUncovered(Window* window, UINT flags, bool wasShown, bool isShown) {
    bool reshaped = (flags & (SWP_NOSIZE | SWP_NOZORDER)) != (SWP_NOSIZE | SWP_NOZORDER) ||
                    (flags & SWP_FRAMECHANGED) != 0;
    if ((flags & SWP_SHOWWINDOW) != 0) {
        if (isShown && (flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) {
            EraseNow(window);
        }
        return;
    }
    bool hidden = (flags & SWP_HIDEWINDOW) != 0 && wasShown;
    if (!hidden && !(reshaped && isShown)) {
        return;
    }
    if (!IsTopLevel(window)) {
        EraseNow(window->parent);
    } else if (!hidden) {
        EraseNow(window);
    }
}

} // namespace

bool SetWindowPosition(Window* window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    HWND hwnd = window->handle;
    cx = cx < 0 ? 0 : cx;
    cy = cy < 0 ? 0 : cy;
    // The window hears the caller's flags; what the window manager works out itself
    // (nothing to show, nothing moved, a child is never activated) is added after.
    WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
    if ((flags & SWP_NOSENDCHANGING) == 0) {
        Send(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        window = LookUp(hwnd);
        if (window == nullptr) {
            return false;
        }
        // The procedure may edit the position, but not the window manager's own flags.
        pos.flags = (pos.flags & ~SWP_STATECHANGED) | (flags & SWP_STATECHANGED);
    }
    pos.flags = FixUpFlags(window, pos.hwndInsertAfter, pos.x, pos.y, std::max(pos.cx, 0), std::max(pos.cy, 0),
                           pos.flags);
    flags = pos.flags;

    RECT oldWindow = window->windowRect;
    RECT oldClient = window->clientRect;
    RECT newWindow = oldWindow;
    if ((flags & SWP_NOMOVE) == 0) {
        newWindow = Offset(newWindow, pos.x - oldWindow.left, pos.y - oldWindow.top);
    }
    if ((flags & SWP_NOSIZE) == 0) {
        newWindow.right = newWindow.left + std::max(pos.cx, 0);
        newWindow.bottom = newWindow.top + std::max(pos.cy, 0);
    }
    RECT newClient;
    if ((flags & SWP_NOSIZE) == 0 || (flags & SWP_FRAMECHANGED) != 0) {
        NCCALCSIZE_PARAMS params{};
        params.rgrc[0] = newWindow;
        params.rgrc[1] = oldWindow;
        params.rgrc[2] = oldClient;
        params.lppos = &pos;
        Send(window, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        window = LookUp(hwnd);
        if (window == nullptr) {
            return false;
        }
        newClient = params.rgrc[0];
    } else {
        newClient = Offset(oldClient, newWindow.left - oldWindow.left, newWindow.top - oldWindow.top);
    }

    bool wasShown = IsEffectivelyVisible(window);
    RECT oldScreen = WindowRectOnScreen(window);
    window->windowRect = newWindow;
    window->clientRect = newClient;
    if ((flags & SWP_NOZORDER) == 0) {
        Reorder(window, pos.hwndInsertAfter);
    }
    if ((flags & SWP_SHOWWINDOW) != 0) {
        window->style |= WS_VISIBLE;
    }
    if ((flags & SWP_HIDEWINDOW) != 0) {
        window->style &= ~WS_VISIBLE;
    }
    bool isShown = IsEffectivelyVisible(window);

    if (Width(newClient) == Width(oldClient) && Height(newClient) == Height(oldClient)) {
        flags |= SWP_NOCLIENTSIZE;
    }
    if (newClient.left == oldClient.left && newClient.top == oldClient.top) {
        flags |= SWP_NOCLIENTMOVE;
    }
    pos.flags = flags;

    if ((flags & SWP_NOREDRAW) == 0 || (flags & SWP_HIDEWINDOW) != 0) {
        bool moved = !SameRect(oldScreen, WindowRectOnScreen(window));
        bool restacked = (flags & SWP_NOZORDER) == 0;
        if (wasShown && (!isShown || moved || restacked)) {
            ExposeScreenArea(oldScreen, window);
        }
        if (isShown && (!wasShown || moved || restacked || (flags & SWP_FRAMECHANGED) != 0)) {
            InvalidateWindowTree(window);
        }
    }
    if ((flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) == 0 && IsTopLevel(window) && isShown) {
        ActivateWindow(window, WA_ACTIVE, false);
        window = LookUp(hwnd);
        if (window == nullptr) {
            return true;
        }
    }
    if ((flags & SWP_DEFERERASE) == 0) {
        EraseUncovered(window, flags, wasShown, isShown);
        window = LookUp(hwnd);
        if (window == nullptr) {
            return true;
        }
    }
    if ((flags & kStatusFlags) != kNoChange || (flags & SWP_STATECHANGED) != 0) {
        // The report carries where the window ended up, whatever the call left out.
        pos.x = window->windowRect.left;
        pos.y = window->windowRect.top;
        pos.cx = Width(window->windowRect);
        pos.cy = Height(window->windowRect);
        Send(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
        window = LookUp(hwnd);
        if (window == nullptr) {
            return true;
        }
    }
    // Hiding keeps activation and focus where they are; ShowWindow(SW_HIDE) and
    // DestroyWindow hand them on.
    return true;
}

} // namespace device

using device::Window;

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    if (window == device::Desktop()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    uFlags &= ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE | SWP_STATECHANGED);
    return device::SetWindowPosition(window, hWndInsertAfter, X, Y, cx, cy, uFlags) ? TRUE : FALSE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW);
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight, flags);
}

HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent) {
    Window* window = device::FromHandle(hWndChild);
    if (window == nullptr) {
        return nullptr;
    }
    Window* newParent = hWndNewParent != nullptr ? device::FromHandle(hWndNewParent) : device::Desktop();
    if (newParent == nullptr) {
        return nullptr;
    }
    if (window == device::Desktop() || device::IsSelfOrDescendant(newParent, window)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HWND oldParent = window->parent != nullptr ? window->parent->handle : nullptr;
    bool wasVisible = IsWindowVisible(hWndChild) != FALSE;
    if (wasVisible) {
        ShowWindow(hWndChild, SW_HIDE);
        window = device::LookUp(hWndChild);
        newParent = hWndNewParent != nullptr ? device::LookUp(hWndNewParent) : device::Desktop();
        if (window == nullptr || newParent == nullptr) {
            return nullptr;
        }
    }
    device::UnlinkWindow(window);
    device::LinkWindow(newParent, window, HWND_TOP);
    if (newParent != device::Desktop()) {
        window->owner = nullptr;
    }
    device::SetWindowPosition(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (wasVisible && device::LookUp(hWndChild) != nullptr) {
        ShowWindow(hWndChild, SW_SHOW);
    }
    return oldParent;
}
