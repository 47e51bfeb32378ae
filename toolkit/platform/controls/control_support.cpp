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

} // namespace device::controls
