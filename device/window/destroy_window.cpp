// DestroyWindow: the window is hidden, its owned windows go first, then WM_DESTROY runs
// down the tree (parents first) and WM_NCDESTROY back up (children first).
#include "input/caret.h"
#include "input/focus.h"
#include "input/input_queue.h"
#include "message/dispatch.h"
#include "message/timers.h"
#include "window/lifecycle.h"
#include "window/window_class.h"
#include "window/window_pos.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <vector>

using device::Window;

namespace {

std::vector<HWND> Handles(const std::vector<Window*>& windows) {
    std::vector<HWND> handles;
    handles.reserve(windows.size());
    for (Window* window : windows) {
        handles.push_back(window->handle);
    }
    return handles;
}

void MarkDestroying(Window* window) {
    device::ForEachWindow(window, [](Window* w) { w->destroying = true; });
}

void SendDestroy(HWND hwnd) {
    Window* window = device::LookUp(hwnd);
    if (window == nullptr) {
        return;
    }
    device::Send(window, WM_DESTROY, 0, 0);
    window = device::LookUp(hwnd);
    if (window == nullptr) {
        return;
    }
    for (HWND child : Handles(window->children)) {
        SendDestroy(child);
    }
}

} // namespace

namespace device {

void FinishDestroy(Window* window) {
    HWND hwnd = window->handle;
    for (HWND child : Handles(window->children)) {
        if (Window* alive = LookUp(child)) {
            FinishDestroy(alive);
        }
    }
    window = LookUp(hwnd);
    if (window == nullptr) {
        return;
    }
    window->destroying = true;
    Send(window, WM_NCDESTROY, 0, 0);
    window = LookUp(hwnd);
    if (window == nullptr) {
        return;
    }
    // Anything the window still had goes to its parent first.
    for (HWND child : Handles(window->children)) {
        if (Window* orphan = LookUp(child)) {
            FinishDestroy(orphan);
        }
    }
    window->destroyed = true;
    ForgetFocusOf(window);
    ForgetCaptureOf(window);
    ForgetCaretOf(window);
    ForgetTimersOf(window);
    for (Window* top : Desktop()->children) {
        if (top->owner == window) {
            top->owner = nullptr;
        }
    }
    UnlinkWindow(window);
    window->windowClass->windowCount--;
    ReleaseWindow(window);
}

namespace {

// The device's own controls keep state that they release on WM_NCDESTROY; their class
// procedure hears it directly (a program's subclass procedure is bypassed), children
// first.
void ReleaseControlState(Window* window) {
    for (HWND child : Handles(window->children)) {
        if (Window* alive = LookUp(child)) {
            ReleaseControlState(alive);
        }
    }
    WindowClass* windowClass = window->windowClass;
    if (windowClass != nullptr && windowClass->system && windowClass->wndProc != nullptr && !window->destroyed &&
        window != Desktop()) {
        windowClass->wndProc(window->handle, WM_NCDESTROY, 0, 0);
    }
}

} // namespace

void DiscardAllWindows() {
    // No program code hears of it, as when a thread ends; only the device's own controls
    // let go of what they hold.
    if (Window* desktop = Desktop()) {
        ReleaseControlState(desktop);
    }
    ResetWindowRegistry();
}

} // namespace device

BOOL WINAPI DestroyWindow(HWND hWnd) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    if (window == device::Desktop()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (window->destroying) {
        return TRUE; // already on its way out: the outer DestroyWindow finishes it
    }
    window->destroying = true;
    bool child = window->IsChild();
    if (child && (window->exStyle & WS_EX_NOPARENTNOTIFY) == 0 && window->parent != nullptr) {
        device::Send(window->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, window->id),
                     reinterpret_cast<LPARAM>(hWnd));
        if ((window = device::LookUp(hWnd)) == nullptr) {
            return TRUE;
        }
    }
    if (window->IsVisibleFlag()) {
        if (child) {
            ShowWindow(hWnd, SW_HIDE);
        } else {
            // A top-level window is hidden without WM_SHOWWINDOW.
            device::SetWindowPosition(window, nullptr, 0, 0, 0, 0,
                                      SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            if ((window = device::LookUp(hWnd)) != nullptr && device::ActiveWindow() == window) {
                device::ActivateOtherWindow(window);
            }
        }
        if ((window = device::LookUp(hWnd)) == nullptr) {
            return TRUE;
        }
    }
    if (device::ActiveWindow() == window) {
        device::ActivateOtherWindow(window);
        if ((window = device::LookUp(hWnd)) == nullptr) {
            return TRUE;
        }
    }
    device::MoveFocusOutOf(window);
    if ((window = device::LookUp(hWnd)) == nullptr) {
        return TRUE;
    }
    if (device::IsTopLevel(window)) {
        std::vector<HWND> owned;
        for (Window* top : device::Desktop()->children) {
            if (top->owner == window) {
                owned.push_back(top->handle);
            }
        }
        for (HWND ownedWindow : owned) {
            if (device::LookUp(ownedWindow) != nullptr) {
                DestroyWindow(ownedWindow);
            }
        }
        if ((window = device::LookUp(hWnd)) == nullptr) {
            return TRUE;
        }
    }
    MarkDestroying(window);
    SendDestroy(hWnd);
    // The capture goes once the window has heard WM_DESTROY, with WM_CAPTURECHANGED.
    if ((window = device::LookUp(hWnd)) != nullptr && GetCapture() != nullptr &&
        device::IsSelfOrDescendant(device::LookUp(GetCapture()), window)) {
        ReleaseCapture();
    }
    if ((window = device::LookUp(hWnd)) != nullptr) {
        device::FinishDestroy(window);
    }
    return TRUE;
}
