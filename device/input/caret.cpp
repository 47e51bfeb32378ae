// CreateCaret, DestroyCaret, ShowCaret, HideCaret, SetCaretPos, GetCaretPos.
#include "input/caret.h"

#include "paint/update_region.h"
#include "runtime/idle.h"
#include "window/geometry.h"
#include "window/window_registry.h"

namespace device {
namespace {

struct CaretState {
    HWND owner = nullptr;
    int width = 1;
    int height = 0;
    POINT position{0, 0};
    int hideCount = 1; // a new caret is hidden until ShowCaret
};

CaretState g_caret;

} // namespace

bool CaretShown(HWND* owner, RECT* clientRect) {
    if (g_caret.owner == nullptr || g_caret.hideCount > 0 || LookUp(g_caret.owner) == nullptr) {
        return false;
    }
    *owner = g_caret.owner;
    *clientRect = RECT{g_caret.position.x, g_caret.position.y, g_caret.position.x + g_caret.width,
                       g_caret.position.y + g_caret.height};
    return true;
}

void DrawCaretOnto(gdi::Surface* screen) {
    HWND owner;
    RECT rect;
    if (!CaretShown(&owner, &rect)) {
        return;
    }
    Window* window = LookUp(owner);
    POINT origin = ClientOriginOnScreen(window);
    gdi::Region area(Offset(rect, origin.x, origin.y));
    area.Intersect(VisibleRegion(window, true));
    for (const RECT& r : area.Rects()) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (screen->Contains(x, y)) {
                    screen->Set(x, y, screen->At(x, y) ^ 0xFFFFFF);
                }
            }
        }
    }
}

void ForgetCaretOf(Window* window) {
    if (g_caret.owner == window->handle) {
        g_caret = CaretState{};
    }
}

void ResetCaret() { g_caret = CaretState{}; }

} // namespace device

BOOL WINAPI CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight) {
    (void)hBitmap;
    if (device::FromHandle(hWnd) == nullptr) {
        return FALSE;
    }
    device::g_caret = device::CaretState{hWnd, nWidth > 0 ? nWidth : 1,
                                         nHeight > 0 ? nHeight : 12, POINT{0, 0}, 1};
    device::ScreenChanged();
    return TRUE;
}

BOOL WINAPI DestroyCaret() {
    if (device::g_caret.owner == nullptr) {
        return FALSE;
    }
    device::g_caret = device::CaretState{};
    device::ScreenChanged();
    return TRUE;
}

BOOL WINAPI ShowCaret(HWND hWnd) {
    if (device::g_caret.owner == nullptr || (hWnd != nullptr && hWnd != device::g_caret.owner)) {
        return FALSE;
    }
    if (device::g_caret.hideCount > 0) {
        device::g_caret.hideCount--;
    }
    device::ScreenChanged();
    return TRUE;
}

BOOL WINAPI HideCaret(HWND hWnd) {
    if (device::g_caret.owner == nullptr || (hWnd != nullptr && hWnd != device::g_caret.owner)) {
        return FALSE;
    }
    device::g_caret.hideCount++;
    device::ScreenChanged();
    return TRUE;
}

BOOL WINAPI SetCaretPos(int X, int Y) {
    if (device::g_caret.owner == nullptr) {
        return FALSE;
    }
    device::g_caret.position = POINT{X, Y};
    device::ScreenChanged();
    return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT lpPoint) {
    if (lpPoint == nullptr || device::g_caret.owner == nullptr) {
        return FALSE;
    }
    *lpPoint = device::g_caret.position;
    return TRUE;
}
