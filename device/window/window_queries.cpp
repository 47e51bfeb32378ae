// Questions programs ask about windows and the small conveniences built on them: ancestors,
// enumerating children, dialog items by identifier and by group, the show state, bringing a
// window to the top, and the window rectangle a client rectangle needs.
#include "paint/nonclient.h"
#include "window/geometry.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <vector>

using device::Window;

namespace {

// Every window inside `window`, depth first in z-order, taken before any callback runs so
// that a callback destroying windows cannot upset the walk.
void CollectDescendants(const Window* window, std::vector<HWND>& out) {
    for (const Window* child : window->children) {
        out.push_back(child->handle);
        CollectDescendants(child, out);
    }
}

Window* DialogItem(HWND hDlg, int id) {
    Window* dialog = device::FromHandle(hDlg);
    if (dialog == nullptr) {
        return nullptr;
    }
    for (Window* child : dialog->children) {
        if (child->IsChild() && static_cast<int>(child->id) == id) {
            return child;
        }
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

} // namespace

HWND WINAPI GetAncestor(HWND hwnd, UINT gaFlags) {
    Window* window = device::FromHandle(hwnd);
    Window* desktop = device::Desktop();
    if (window == nullptr || window == desktop) {
        return nullptr;
    }
    switch (gaFlags) {
    case GA_PARENT: return window->parent != nullptr ? window->parent->handle : nullptr;
    case GA_ROOT: return device::TopLevelOf(window)->handle;
    case GA_ROOTOWNER: {
        Window* root = device::TopLevelOf(window);
        while (root->owner != nullptr && root->owner != desktop) {
            root = root->owner;
        }
        return root->handle;
    }
    default: return nullptr;
    }
}

// A window destroyed by an earlier callback is skipped; a FALSE answer ends the walk.
BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam) {
    Window* parent = hWndParent != nullptr ? device::FromHandle(hWndParent) : device::Desktop();
    if (parent == nullptr || lpEnumFunc == nullptr) {
        return FALSE;
    }
    std::vector<HWND> handles;
    CollectDescendants(parent, handles);
    for (HWND handle : handles) {
        if (device::LookUp(handle) != nullptr && !lpEnumFunc(handle, lParam)) {
            return FALSE;
        }
    }
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    Window* item = DialogItem(hDlg, nIDDlgItem);
    return item != nullptr ? item->handle : nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    Window* window = device::FromHandle(hWnd);
    return window != nullptr && window->IsChild() ? static_cast<int>(window->id) : 0;
}

LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* item = DialogItem(hDlg, nIDDlgItem);
    return item != nullptr ? SendMessageW(item->handle, Msg, wParam, lParam) : 0;
}

namespace {

DWORD StyleBits(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

// The first control of the group that holds `control`: the nearest one at or before it, in
// the dialog's child order, that has WS_GROUP, or the dialog's first child.
HWND GroupStart(HWND dialog, HWND control) {
    HWND start = GetWindow(dialog, GW_CHILD);
    for (HWND child = start; child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((StyleBits(child) & WS_GROUP) != 0) {
            start = child;
        }
        if (child == control) {
            break;
        }
    }
    return start;
}

} // namespace

// The dialog manager's group walk: from `hCtl` to the next (or previous) visible, enabled
// control of its group, wrapping round within the group; `hCtl` itself when there is no
// other. A control inside a child window stands for that child.
HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    if (device::FromHandle(hDlg) == nullptr) {
        return nullptr;
    }
    if (hCtl == nullptr || hCtl == hDlg) {
        hCtl = GetWindow(hDlg, GW_CHILD);
    }
    while (hCtl != nullptr && GetParent(hCtl) != hDlg) {
        hCtl = (StyleBits(hCtl) & WS_CHILD) != 0 ? GetParent(hCtl) : nullptr;
    }
    if (hCtl == nullptr || device::FromHandle(hCtl) == nullptr) {
        return nullptr;
    }
    HWND found = hCtl;
    HWND at = hCtl;
    for (;;) {
        HWND next = GetWindow(at, GW_HWNDNEXT);
        if (next == nullptr || (StyleBits(next) & WS_GROUP) != 0) {
            next = GroupStart(hDlg, hCtl);
        }
        if (next == hCtl) {
            break;
        }
        if ((StyleBits(next) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE) {
            found = next;
            if (!bPrevious) {
                break;
            }
        }
        at = next;
    }
    return found;
}

BOOL WINAPI IsZoomed(HWND hWnd) {
    Window* window = device::LookUp(hWnd);
    return window != nullptr && window->showState == device::ShowState::Maximized ? TRUE : FALSE;
}

BOOL WINAPI IsIconic(HWND hWnd) {
    Window* window = device::LookUp(hWnd);
    return window != nullptr && window->showState == device::ShowState::Minimized ? TRUE : FALSE;
}

// SetWindowPos to the top without SWP_NOACTIVATE: a top-level window is activated too.
BOOL WINAPI BringWindowToTop(HWND hWnd) {
    return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Borders, edges and the caption around the client rectangle; the handheld's windows have
// no menu in their frame, so bMenu adds nothing.
BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
    (void)bMenu;
    if (lpRect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Window probe;
    probe.style = dwStyle & ~(WS_VSCROLL | WS_HSCROLL);
    probe.exStyle = dwExStyle;
    constexpr int kRoom = 1000; // large enough that no frame part is squeezed
    RECT outer{0, 0, kRoom, kRoom};
    RECT inner = device::ClientRectFor(&probe, outer);
    lpRect->left -= inner.left;
    lpRect->top -= inner.top;
    lpRect->right += outer.right - inner.right;
    lpRect->bottom += outer.bottom - inner.bottom;
    return TRUE;
}
