// A form to put buttons on, and the ways a test reaches them: by a tap at their middle, or
// by reading back what they drew.
#pragma once

#include "support/device_fixture.h"
#include "support/message_log.h"

#include <string>

namespace test {

constexpr UINT_PTR kButtonId = 101;
// What the toolkit gives its buttons: child, visible, tab stop, BS_NOTIFY and BS_PUSHLIKE.
constexpr DWORD kToolkitButtonStyle = 0x50015000;

class Button : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        form = MakeWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
        Pump();
    }

    HWND MakeButton(const std::string& role, DWORD style, int x = 10, int y = 10,
                    UINT_PTR id = kButtonId, const char16_t* text = u"Kaydet") {
        HWND hwnd = CreateWindowExW(0, u"BUTTON", text, style, x, y, 64, 22, form,
                                    reinterpret_cast<HMENU>(id), nullptr, nullptr);
        device::spy::SetRole(hwnd, role);
        Pump();
        return hwnd;
    }

    // The screen point at the middle of a window.
    static POINT Centre(HWND hwnd) {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    static void TapOn(HWND hwnd) {
        POINT centre = Centre(hwnd);
        device::input::Tap(centre.x, centre.y);
    }

    // The button's own pixel at a client point, read back through its window DC.
    static COLORREF PixelOf(HWND hwnd, int x, int y) {
        HDC hdc = GetDC(hwnd);
        COLORREF color = GetPixel(hdc, x, y);
        ReleaseDC(hwnd, hdc);
        return color;
    }

    LPARAM Self(HWND hwnd) const { return reinterpret_cast<LPARAM>(hwnd); }

    HWND form = nullptr;
};

} // namespace test
