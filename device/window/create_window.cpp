// CreateWindowExW: the creation sequence of messages (WM_GETMINMAXINFO, WM_NCCREATE,
// WM_NCCALCSIZE, WM_CREATE, WM_SIZE/WM_MOVE, WM_PARENTNOTIFY) and the first show.
#include "message/dispatch.h"
#include "shell/system_info.h"
#include "window/geometry.h"
#include "window/lifecycle.h"
#include "window/window_class.h"
#include "window/window_pos.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <algorithm>

using device::Window;

namespace {

bool IsOverlapped(DWORD style) { return (style & (WS_CHILD | WS_POPUP)) == 0; }

// CW_USEDEFAULT: an overlapped window on a Pocket PC fills the area below the navigation
// bar down to the bottom of the screen; popups and children get 0, as on the desktop.
void ApplyDefaults(DWORD style, int* x, int* y, int* cx, int* cy) {
    if (IsOverlapped(style)) {
        RECT work = device::WorkArea();
        if (*x == CW_USEDEFAULT) {
            *x = work.left;
            *y = work.top;
        }
        if (*cx == CW_USEDEFAULT) {
            *cx = work.right - *x;
            *cy = GetSystemMetrics(SM_CYSCREEN) - *y;
        }
    } else {
        if (*x == CW_USEDEFAULT) {
            *x = 0;
            *y = 0;
        }
        if (*cx == CW_USEDEFAULT) {
            *cx = 0;
            *cy = 0;
        }
    }
    *cx = *cx < 0 ? 0 : *cx;
    *cy = *cy < 0 ? 0 : *cy;
}

void ApplyMinMaxInfo(Window* window, int* cx, int* cy) {
    MINMAXINFO info{};
    RECT work = device::WorkArea();
    info.ptMaxSize = POINT{device::Width(work), device::Height(work)};
    info.ptMaxPosition = POINT{work.left, work.top};
    info.ptMinTrackSize = POINT{0, 0};
    info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    device::Send(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    *cx = std::clamp<int>(*cx, info.ptMinTrackSize.x, std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
    *cy = std::clamp<int>(*cy, info.ptMinTrackSize.y, std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
}

} // namespace

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam) {
    device::WindowClass* windowClass = device::FindWindowClass(hInstance, lpClassName);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    Window* parent = device::Desktop();
    Window* owner = nullptr;
    if (hWndParent != nullptr && hWndParent != GetDesktopWindow()) {
        Window* given = device::FromHandle(hWndParent);
        if (given == nullptr) {
            return nullptr;
        }
        if ((dwStyle & WS_CHILD) != 0) {
            parent = given;
        } else {
            owner = device::TopLevelOf(given); // a top-level window is owned by a top-level window
        }
    } else if ((dwStyle & WS_CHILD) != 0) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }

    int x = X;
    int y = Y;
    int cx = nWidth;
    int cy = nHeight;
    ApplyDefaults(dwStyle, &x, &y, &cx, &cy);

    Window* window = device::AllocateWindow();
    if (window == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HWND hwnd = window->handle;
    window->windowClass = windowClass;
    windowClass->windowCount++;
    window->wndProc = windowClass->wndProc;
    window->instance = hInstance;
    // The window starts hidden; WS_VISIBLE is applied by the show at the end.
    window->style = dwStyle & ~WS_VISIBLE & ~(WS_MAXIMIZE | WS_MINIMIZE);
    if (parent == device::Desktop()) {
        window->style |= WS_CLIPSIBLINGS;
    }
    window->exStyle = dwExStyle;
    window->id = (dwStyle & WS_CHILD) != 0 ? reinterpret_cast<UINT_PTR>(hMenu) : 0;
    window->extraBytes.assign(static_cast<size_t>(std::max(windowClass->wndExtra, 0)), 0);
    window->owner = owner;
    window->windowRect = RECT{x, y, x + cx, y + cy};
    window->clientRect = window->windowRect;
    window->restoreRect = window->windowRect;
    if ((dwStyle & WS_HSCROLL) != 0) {
        window->horzScroll.emplace();
    }
    if ((dwStyle & WS_VSCROLL) != 0) {
        window->vertScroll.emplace();
    }
    // A new top-level window goes to the top; a new child to the bottom of its siblings,
    // so that creation order is top-to-bottom order.
    device::LinkWindow(parent, window, parent == device::Desktop() ? HWND_TOP : HWND_BOTTOM);

    CREATESTRUCTW create{lpParam, hInstance, hMenu, hWndParent, cy, cx, y, x, static_cast<LONG>(dwStyle),
                         lpWindowName, lpClassName, dwExStyle};
    if (IsOverlapped(dwStyle) || (dwStyle & WS_THICKFRAME) != 0) {
        ApplyMinMaxInfo(window, &cx, &cy);
        if ((window = device::LookUp(hwnd)) == nullptr) {
            return nullptr;
        }
        window->windowRect = RECT{x, y, x + cx, y + cy};
        window->clientRect = window->windowRect;
    }
    if (device::Send(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) == 0) {
        if ((window = device::LookUp(hwnd)) != nullptr) {
            device::FinishDestroy(window);
        }
        return nullptr;
    }
    if ((window = device::LookUp(hwnd)) == nullptr) {
        return nullptr;
    }
    RECT client = window->windowRect;
    device::Send(window, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
    if ((window = device::LookUp(hwnd)) == nullptr) {
        return nullptr;
    }
    window->clientRect = client;
    if (device::Send(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if ((window = device::LookUp(hwnd)) == nullptr) {
        return nullptr;
    }
    if (IsOverlapped(dwStyle)) {
        window->sizeMovePending = true;
    } else {
        device::Send(window, WM_SIZE, SIZE_RESTORED,
                     MAKELPARAM(device::Width(window->clientRect), device::Height(window->clientRect)));
        if ((window = device::LookUp(hwnd)) == nullptr) {
            return nullptr;
        }
        device::Send(window, WM_MOVE, 0, MAKELPARAM(window->clientRect.left, window->clientRect.top));
        if ((window = device::LookUp(hwnd)) == nullptr) {
            return nullptr;
        }
    }
    if ((dwStyle & (WS_MAXIMIZE | WS_MINIMIZE)) != 0) {
        window->creating = false;
        ShowWindow(hwnd, (dwStyle & WS_MAXIMIZE) != 0 ? SW_SHOWMAXIMIZED : SW_SHOWMINNOACTIVE);
        if ((window = device::LookUp(hwnd)) == nullptr) {
            return nullptr;
        }
        if ((dwStyle & WS_VISIBLE) == 0) {
            ShowWindow(hwnd, SW_HIDE);
        }
    }
    if ((dwStyle & WS_CHILD) != 0 && (dwExStyle & WS_EX_NOPARENTNOTIFY) == 0) {
        device::Send(window->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, window->id),
                     reinterpret_cast<LPARAM>(hwnd));
        if ((window = device::LookUp(hwnd)) == nullptr) {
            return nullptr;
        }
    }
    window->creating = false;
    if ((dwStyle & WS_VISIBLE) != 0 && !window->IsVisibleFlag()) {
        ShowWindow(hwnd, SW_SHOW);
    }
    return device::LookUp(hwnd) != nullptr ? hwnd : nullptr;
}
