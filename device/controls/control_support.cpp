// Notifications, colours and immediate redraws shared by the standard controls.
#include "controls/control_support.h"

namespace device::controls {

void SendCommand(HWND control, HWND notifyWindow, WORD code) {
    HWND target = notifyWindow != nullptr ? notifyWindow : GetParent(control);
    if (target == nullptr || !IsWindow(target)) {
        return;
    }
    WORD id = LOWORD(static_cast<DWORD_PTR>(GetWindowLongPtrW(control, GWLP_ID)));
    SendMessageW(target, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

HBRUSH AskForColours(HWND control, HWND askWindow, UINT message, HDC hdc) {
    HWND target = askWindow != nullptr ? askWindow : GetParent(control);
    WPARAM dc = reinterpret_cast<WPARAM>(hdc);
    LPARAM self = reinterpret_cast<LPARAM>(control);
    LRESULT answer = 0;
    if (target != nullptr && IsWindow(target)) {
        answer = SendMessageW(target, message, dc, self);
    }
    if (answer == 0 && IsWindow(control)) {
        answer = DefWindowProcW(control, message, dc, self);
    }
    return reinterpret_cast<HBRUSH>(answer);
}

void RepaintNow(HWND control) {
    if (!IsWindowVisible(control)) {
        return;
    }
    InvalidateRect(control, nullptr, FALSE);
    UpdateWindow(control);
}

void DrawNow(HWND control, void (*paint)(HWND control, HDC hdc)) {
    if (!IsWindowVisible(control)) {
        return;
    }
    HDC hdc = GetDC(control);
    if (hdc != nullptr) {
        paint(control, hdc);
        ReleaseDC(control, hdc);
    }
}

LRESULT PaintWith(HWND control, WPARAM wParam, void (*paint)(HWND control, HDC hdc)) {
    if (wParam != 0) {
        paint(control, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(control, &ps);
    if (hdc != nullptr) {
        paint(control, hdc);
    }
    EndPaint(control, &ps);
    return 0;
}

LRESULT SetTextAndRepaint(HWND control, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefWindowProcW(control, WM_SETTEXT, wParam, lParam);
    RepaintNow(control);
    return result;
}

} // namespace device::controls
