// Device contexts of windows: GetDC, GetWindowDC, ReleaseDC, BeginPaint, EndPaint.
#include "gdi/dc.h"
#include "message/dispatch.h"
#include "paint/screen.h"
#include "paint/update_region.h"
#include "runtime/idle.h"
#include "window/geometry.h"
#include "window/window_registry.h"

using device::Window;

namespace {

HDC ScreenDC() {
    RECT all{0, 0, device::Screen().width, device::Screen().height};
    return device::gdi::CreateWindowDC(&device::Screen(), POINT{0, 0}, device::gdi::Region(all), nullptr);
}

} // namespace

HDC WINAPI GetDC(HWND hWnd) {
    if (hWnd == nullptr) {
        return ScreenDC();
    }
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    return device::gdi::CreateWindowDC(&device::Screen(), device::ClientOriginOnScreen(window),
                                       device::VisibleRegion(window, true), hWnd);
}

HDC WINAPI GetWindowDC(HWND hWnd) {
    if (hWnd == nullptr) {
        return ScreenDC();
    }
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    RECT rect = device::WindowRectOnScreen(window);
    return device::gdi::CreateWindowDC(&device::Screen(), POINT{rect.left, rect.top},
                                       device::VisibleRegion(window, false), hWnd);
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
    (void)hWnd;
    if (!device::gdi::DestroyWindowDC(hDC)) {
        return 0;
    }
    device::ScreenChanged();
    return 1;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr || lpPaint == nullptr) {
        return nullptr;
    }
    if (window->ncPaintNeeded) {
        window->ncPaintNeeded = false;
        device::Send(window, WM_NCPAINT, 1, 0);
        window = device::LookUp(hWnd);
        if (window == nullptr) {
            return nullptr;
        }
    }
    // The whole update region is validated, including the frame's part of it.
    device::gdi::Region paint = window->updateRegion;
    paint.Intersect(device::VisibleRegion(window, true));
    bool erase = window->eraseNeeded;
    window->updateRegion.Clear();
    window->eraseNeeded = false;
    window->inPaint = true;

    POINT origin = device::ClientOriginOnScreen(window);
    HDC hdc = device::gdi::CreateWindowDC(&device::Screen(), origin, paint, hWnd);
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = hdc;
    lpPaint->rcPaint = paint.IsEmpty() ? RECT{0, 0, 0, 0}
                                       : device::Offset(paint.Bounds(), -origin.x, -origin.y);
    lpPaint->fErase = FALSE;
    if (erase && hdc != nullptr) {
        LRESULT erased = device::Send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        lpPaint->fErase = erased == 0 ? TRUE : FALSE;
    }
    return hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (Window* window = device::LookUp(hWnd)) {
        window->inPaint = false;
    }
    if (lpPaint != nullptr) {
        device::gdi::DestroyWindowDC(lpPaint->hdc);
    }
    device::ScreenChanged();
    return TRUE;
}
