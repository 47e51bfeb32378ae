// ShowWindow, IsWindowVisible, EnableWindow and IsWindowEnabled.
#include "input/focus.h"
#include "message/dispatch.h"
#include "paint/nonclient.h"
#include "paint/update_region.h"
#include "window/geometry.h"
#include "window/window_pos.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

using device::ShowState;
using device::Window;

namespace {

// Windows CE numbers three commands differently from the desktop; both are accepted.
int DesktopCommand(int command) {
    switch (command) {
    case 11:
    case 12: return SW_SHOWMAXIMIZED;
    case 13: return SW_RESTORE;
    default: return command;
    }
}

constexpr RECT kMinimizedRect{-32000, -32000, -32000 + 160, -32000 + 24};

// Changes the show state and says where the window goes; returns the extra SetWindowPos
// flags of a state change.
UINT ChangeState(Window* window, ShowState state, RECT* target) {
    if (window->showState == ShowState::Normal) {
        window->restoreRect = window->windowRect;
    }
    window->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    switch (state) {
    case ShowState::Maximized:
        window->style |= WS_MAXIMIZE;
        *target = device::MaximizedWindowRect(window);
        break;
    case ShowState::Minimized:
        window->style |= WS_MINIMIZE;
        *target = kMinimizedRect;
        break;
    case ShowState::Normal: *target = window->restoreRect; break;
    }
    window->showState = state;
    return SWP_FRAMECHANGED | SWP_STATECHANGED;
}

// The first WM_SIZE and WM_MOVE of an overlapped window come with its first show.
void SendPendingSizeAndMove(HWND hwnd) {
    Window* window = device::LookUp(hwnd);
    if (window == nullptr || !window->sizeMovePending) {
        return;
    }
    window->sizeMovePending = false;
    WPARAM type = window->showState == ShowState::Maximized   ? SIZE_MAXIMIZED
                  : window->showState == ShowState::Minimized ? SIZE_MINIMIZED
                                                              : SIZE_RESTORED;
    LPARAM size = type == SIZE_MINIMIZED ? 0
                                         : MAKELPARAM(device::Width(window->clientRect),
                                                      device::Height(window->clientRect));
    device::Send(window, WM_SIZE, type, size);
    if ((window = device::LookUp(hwnd)) != nullptr) {
        device::Send(window, WM_MOVE, 0, MAKELPARAM(window->clientRect.left, window->clientRect.top));
    }
}

} // namespace

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr || window == device::Desktop()) {
        return FALSE;
    }
    int command = DesktopCommand(nCmdShow);
    bool wasVisible = window->IsVisibleFlag();
    bool child = window->IsChild();
    UINT flags = 0;
    RECT target = window->windowRect;
    bool stateChange = false;

    switch (command) {
    case SW_HIDE:
        if (!wasVisible) {
            return FALSE;
        }
        flags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (child) {
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        }
        break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        flags = SWP_SHOWWINDOW;
        if (command != SW_SHOWMINIMIZED) {
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        }
        if (window->showState == ShowState::Minimized) {
            if (wasVisible) {
                return TRUE;
            }
            flags |= SWP_NOSIZE | SWP_NOMOVE;
        } else {
            flags |= ChangeState(window, ShowState::Minimized, &target);
            stateChange = true;
        }
        break;
    case SW_SHOWMAXIMIZED:
        flags = SWP_SHOWWINDOW;
        if (window->showState == ShowState::Maximized) {
            if (wasVisible) {
                return TRUE;
            }
            flags |= SWP_NOSIZE | SWP_NOMOVE;
        } else {
            flags |= ChangeState(window, ShowState::Maximized, &target);
            stateChange = true;
        }
        break;
    case SW_SHOWNA:
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
        if (child) {
            flags |= SWP_NOZORDER;
        }
        break;
    case SW_SHOW:
        if (wasVisible) {
            return TRUE;
        }
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (child) {
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        }
        break;
    case SW_SHOWNOACTIVATE:
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    default:
        flags = SWP_SHOWWINDOW;
        if (command == SW_SHOWNOACTIVATE) {
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        }
        if (window->showState != ShowState::Normal) {
            flags |= ChangeState(window, ShowState::Normal, &target);
            stateChange = true;
        } else {
            if (wasVisible) {
                return TRUE;
            }
            flags |= SWP_NOSIZE | SWP_NOMOVE;
        }
        break;
    }

    bool show = command != SW_HIDE;
    // WM_SHOWWINDOW when visibility changes (always for SW_SHOWNA), not for a state change.
    if ((show != wasVisible || command == SW_SHOWNA) && !stateChange) {
        device::Send(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        window = device::LookUp(hWnd);
        if (window == nullptr) {
            return wasVisible ? TRUE : FALSE;
        }
    }
    bool parentShown = child ? device::IsEffectivelyVisible(window->parent) : true;
    if (!parentShown && !stateChange) {
        // Inside a hidden parent only the style bit changes.
        if (show) {
            window->style |= WS_VISIBLE;
        } else {
            window->style &= ~WS_VISIBLE;
        }
    } else {
        device::SetWindowPosition(window, HWND_TOP, target.left, target.top, device::Width(target),
                                  device::Height(target), flags);
    }
    window = device::LookUp(hWnd);
    if (window == nullptr) {
        return wasVisible ? TRUE : FALSE;
    }
    if (command == SW_HIDE && !child && device::ActiveWindow() == window) {
        device::ActivateOtherWindow(window);
        window = device::LookUp(hWnd);
        if (window == nullptr) {
            return wasVisible ? TRUE : FALSE;
        }
    }
    if (command == SW_HIDE || window->showState == ShowState::Minimized) {
        // Focus leaves a hidden or minimized window: a child passes it to its parent.
        device::MoveFocusOutOf(window);
        window = device::LookUp(hWnd);
        if (window != nullptr && command != SW_HIDE && !child && device::ActiveWindow() == window) {
            device::ActivateOtherWindow(window);
        }
    }
    if (show) {
        SendPendingSizeAndMove(hWnd);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    Window* window = device::LookUp(hWnd);
    return window != nullptr && device::IsEffectivelyVisible(window) ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    bool wasDisabled = window->IsDisabledFlag();
    if (bEnable && wasDisabled) {
        window->style &= ~WS_DISABLED;
        device::Send(window, WM_ENABLE, TRUE, 0);
    } else if (!bEnable) {
        // Whatever the window was doing with the stylus ends, even if it was disabled already.
        device::Send(window, WM_CANCELMODE, 0, 0);
        window = device::LookUp(hWnd);
        if (window == nullptr || window->IsDisabledFlag()) {
            return wasDisabled ? TRUE : FALSE;
        }
        window->style |= WS_DISABLED;
        if (device::FocusWindow() == window) {
            SetFocus(nullptr);
        }
        if ((window = device::LookUp(hWnd)) != nullptr) {
            device::Send(window, WM_ENABLE, FALSE, 0);
        }
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    Window* window = device::LookUp(hWnd);
    return window != nullptr && !window->IsDisabledFlag() ? TRUE : FALSE;
}
