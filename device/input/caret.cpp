// CreateCaret, DestroyCaret, ShowCaret, HideCaret, SetCaretPos, GetCaretPos and the
// blink (GetCaretBlinkTime, SetCaretBlinkTime).
#include "input/caret.h"

#include "message/clock.h"
#include "paint/update_region.h"
#include "runtime/idle.h"
#include "window/geometry.h"
#include "window/window_registry.h"

#include <algorithm>

namespace device {
namespace {

struct CaretState {
    HWND owner = nullptr;
    int width = 1;
    int height = 0;
    POINT position{0, 0};
    int hideCount = 1; // a new caret is hidden until ShowCaret
    bool blinkOn = true; // the phase of the blink: drawn or not
    DWORD nextBlink = 0; // when the phase turns over
};

CaretState g_caret;
UINT g_blinkTime = 500;

// Showing or moving the caret draws it at once and starts the blink's period anew, so a
// caret that follows typing never vanishes in the middle of it.
void RestartBlink() {
    g_caret.blinkOn = true;
    g_caret.nextBlink = Now() + g_blinkTime;
}

bool Blinking() {
    return g_caret.owner != nullptr && g_caret.hideCount == 0 && g_blinkTime != INFINITE &&
           LookUp(g_caret.owner) != nullptr;
}

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
    if (!CaretShown(&owner, &rect) || !g_caret.blinkOn) {
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

void ResetCaret() {
    g_caret = CaretState{};
    g_blinkTime = 500;
}

void ServiceCaretBlink() {
    if (!Blinking() || static_cast<LONG>(g_caret.nextBlink - Now()) > 0) {
        return;
    }
    g_caret.blinkOn = !g_caret.blinkOn;
    g_caret.nextBlink = Now() + g_blinkTime;
    ScreenChanged();
}

DWORD TimeUntilCaretBlink() {
    if (!Blinking()) {
        return INFINITE;
    }
    LONG remaining = static_cast<LONG>(g_caret.nextBlink - Now());
    return remaining <= 0 ? 0 : static_cast<DWORD>(remaining);
}

} // namespace device

BOOL WINAPI CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight) {
    (void)hBitmap;
    if (device::FromHandle(hWnd) == nullptr) {
        return FALSE;
    }
    device::g_caret = device::CaretState{hWnd, nWidth > 0 ? nWidth : 1, nHeight > 0 ? nHeight : 12,
                                         POINT{0, 0}, 1, true, 0};
    device::RestartBlink();
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
    if (device::g_caret.hideCount > 0 && --device::g_caret.hideCount == 0) {
        device::RestartBlink();
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
    if (device::g_caret.position.x != X || device::g_caret.position.y != Y) {
        device::g_caret.position = POINT{X, Y};
        device::RestartBlink();
        device::ScreenChanged();
    }
    return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT lpPoint) {
    if (lpPoint == nullptr || device::g_caret.owner == nullptr) {
        return FALSE;
    }
    *lpPoint = device::g_caret.position;
    return TRUE;
}

UINT WINAPI GetCaretBlinkTime() { return device::g_blinkTime; }

BOOL WINAPI SetCaretBlinkTime(UINT uMSeconds) {
    device::g_blinkTime = uMSeconds == INFINITE ? INFINITE : std::max<UINT>(uMSeconds, USER_TIMER_MINIMUM);
    device::RestartBlink();
    device::ScreenChanged();
    return TRUE;
}
