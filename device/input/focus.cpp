// SetFocus, GetFocus, SetActiveWindow, SetForegroundWindow and the activation sequence.
#include "input/focus.h"

#include "message/dispatch.h"
#include "paint/update_region.h"
#include "window/window_pos.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <vector>

namespace device {
namespace {

// Kept as handles: a window that went away then simply looks up as nothing.
HWND g_active = nullptr;
HWND g_focus = nullptr;
ForegroundChangedHook g_foregroundHook = nullptr;

bool Alive(Window* window) { return window != nullptr && LookUp(window->handle) == window; }

HWND HandleOf(Window* window) { return window != nullptr ? window->handle : nullptr; }

bool IsMinimized(const Window* window) { return window->showState == ShowState::Minimized; }

void SendActivateApp(BOOL active) {
    std::vector<HWND> targets;
    for (Window* top : Desktop()->children) {
        if (!top->deviceOwned) {
            targets.push_back(top->handle);
        }
    }
    for (HWND hwnd : targets) {
        if (Window* window = LookUp(hwnd)) {
            Send(window, WM_ACTIVATEAPP, static_cast<WPARAM>(active), 0);
        }
    }
}

// The focus moves to `window` (or nowhere), with WM_KILLFOCUS and WM_SETFOCUS. Returns
// the window that had the focus.
HWND SetFocusWindow(Window* window) {
    Window* previous = LookUp(g_focus);
    HWND previousHandle = HandleOf(previous);
    HWND handle = HandleOf(window);
    g_focus = handle;
    if (previous != nullptr) {
        Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
        if (g_focus != handle) {
            return previousHandle; // the old window's handler moved the focus elsewhere
        }
    }
    if (Window* still = LookUp(handle)) {
        Send(still, WM_SETFOCUS, reinterpret_cast<WPARAM>(previousHandle), 0);
    }
    return previousHandle;
}

} // namespace

Window* ActiveWindow() { return LookUp(g_active); }
Window* FocusWindow() { return LookUp(g_focus); }

void SetForegroundChangedHook(ForegroundChangedHook hook) { g_foregroundHook = hook; }

bool ActivateWindow(Window* window, WORD how, bool bringToTop) {
    Window* previous = ActiveWindow();
    if (window == previous) {
        return true;
    }
    if (window != nullptr && window->deviceOwned) {
        return false;
    }
    HWND handle = HandleOf(window);
    HWND previousHandle = HandleOf(previous);
    if (window != nullptr && bringToTop) {
        SetWindowPosition(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        window = LookUp(handle);
        if (window == nullptr || ActiveWindow() != previous) {
            return false; // gone, or a handler activated something else meanwhile
        }
    }
    g_active = handle;
    if (previous != nullptr) {
        Send(previous, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(handle));
        if (Window* still = LookUp(previousHandle)) {
            Send(still, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsMinimized(still) ? 1 : 0),
                 reinterpret_cast<LPARAM>(handle));
        }
    }
    // The program as a whole gains or loses activation.
    if ((previous == nullptr) != (window == nullptr)) {
        SendActivateApp(window != nullptr ? TRUE : FALSE);
    }
    if (g_foregroundHook != nullptr) {
        g_foregroundHook();
    }
    if (window == nullptr) {
        SetFocusWindow(nullptr);
        return true;
    }
    if (g_active != handle || LookUp(handle) == nullptr) {
        return false; // a handler activated something else meanwhile
    }
    Send(window, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(previousHandle));
    if (LookUp(handle) == nullptr) {
        return false;
    }
    Send(window, WM_ACTIVATE, MAKEWPARAM(how, IsMinimized(window) ? 1 : 0),
         reinterpret_cast<LPARAM>(previousHandle));
    // The default procedure took the focus; if the program's did not, the platform
    // still puts it into the newly active window.
    if (g_active == handle && LookUp(handle) != nullptr) {
        Window* focus = FocusWindow();
        if (focus == nullptr || TopLevelOf(focus) != window) {
            if (!IsMinimized(window)) {
                SetFocusWindow(window);
            }
        }
    }
    return true;
}

void ActivateOtherWindow(Window* leaving) {
    Window* next = nullptr;
    if ((leaving->style & WS_POPUP) != 0 && leaving->owner != nullptr && Alive(leaving->owner)) {
        Window* owner = leaving->owner;
        if (owner->IsVisibleFlag() && !owner->IsDisabledFlag() && !owner->destroying) {
            next = owner;
        }
    }
    if (next == nullptr) {
        for (Window* top : Desktop()->children) {
            if (top != leaving && !top->deviceOwned && top->IsVisibleFlag() && !top->IsDisabledFlag() &&
                !top->destroying && !IsSelfOrDescendant(top, leaving)) {
                next = top;
                break;
            }
        }
    }
    ActivateWindow(next, WA_ACTIVE);
}

void MoveFocusOutOf(Window* window) {
    Window* focus = FocusWindow();
    if (focus == nullptr || !IsSelfOrDescendant(focus, window)) {
        return;
    }
    if (window->IsChild() && window->parent != nullptr && window->parent != Desktop()) {
        SetFocus(window->parent->handle);
    } else {
        SetFocusWindow(nullptr);
    }
}

void ForgetFocusOf(Window* window) {
    if (g_focus == window->handle) {
        g_focus = nullptr;
    }
    if (g_active == window->handle) {
        g_active = nullptr;
        if (g_foregroundHook != nullptr) {
            g_foregroundHook();
        }
    }
}

void ResetFocus() {
    g_active = nullptr;
    g_focus = nullptr;
}

} // namespace device

using device::Window;

HWND WINAPI GetFocus() {
    Window* focus = device::FocusWindow();
    return focus != nullptr ? focus->handle : nullptr;
}

HWND WINAPI SetFocus(HWND hWnd) {
    if (hWnd == nullptr) {
        return device::SetFocusWindow(nullptr);
    }
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    if (window == device::FocusWindow()) {
        return hWnd;
    }
    // A disabled or minimized window, or one inside such a window, cannot take the focus.
    for (Window* w = window; w != nullptr && w != device::Desktop(); w = w->parent) {
        if (w->IsDisabledFlag() || w->showState == device::ShowState::Minimized) {
            return nullptr;
        }
        if (!w->IsChild()) {
            break;
        }
    }
    if (window->deviceOwned) {
        return nullptr;
    }
    Window* top = device::TopLevelOf(window);
    if (top != device::ActiveWindow()) {
        device::ActivateWindow(top, WA_ACTIVE);
        window = device::LookUp(hWnd);
        if (window == nullptr || device::ActiveWindow() != top) {
            return nullptr;
        }
        if (window == device::FocusWindow()) {
            return hWnd;
        }
    }
    return device::SetFocusWindow(window);
}

HWND WINAPI GetActiveWindow() {
    Window* active = device::ActiveWindow();
    return active != nullptr ? active->handle : nullptr;
}

HWND WINAPI SetActiveWindow(HWND hWnd) {
    HWND previous = GetActiveWindow();
    if (hWnd == nullptr) {
        device::ActivateWindow(nullptr, WA_INACTIVE);
        return previous;
    }
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr || !device::IsTopLevel(window)) {
        return nullptr;
    }
    device::ActivateWindow(window, WA_ACTIVE);
    return previous;
}

HWND WINAPI GetForegroundWindow() { return GetActiveWindow(); }

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    Window* top = device::TopLevelOf(window);
    if (top->deviceOwned) {
        return FALSE;
    }
    return device::ActivateWindow(top, WA_ACTIVE) ? TRUE : FALSE;
}
