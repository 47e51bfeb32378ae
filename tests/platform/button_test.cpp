// The "BUTTON" control: what its parent hears for taps, keys and focus changes, and how it
// looks pressed, raised, as the default button and disabled.
#include "support/device_fixture.h"
#include "support/message_log.h"

namespace {

using test::ExpectedMsg;
using test::LParam;
using test::Posted;
using test::Sent;
using test::WParam;

constexpr UINT_PTR kButtonId = 101;
// What the toolkit gives its buttons: child, visible, tab stop, BS_NOTIFY and BS_PUSHLIKE.
constexpr DWORD kToolkitButtonStyle = 0x50015000;

class Button : public test::DeviceTest {
protected:
    void SetUp() override {
        test::DeviceTest::SetUp();
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

TEST_F(Button, TapPressesTakesFocusAndClicksAtRelease) {
    HWND button = MakeButton("button", kToolkitButtonStyle);
    test::StartLog();
    TapOn(button);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(
        test::WithoutNoise(test::Log()),
        {
            {"form", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_LBUTTONDOWN, 0)},
            {"button", WM_LBUTTONDOWN, Posted},
            {"form", WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(button)},
            {"button", WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(form)},
            {"form", WM_COMMAND, Sent | WParam | LParam, MAKEWPARAM(kButtonId, BN_SETFOCUS),
             Self(button)},
            {"button", BM_SETSTATE, Sent | WParam, TRUE},
            {"button", WM_LBUTTONUP, Posted},
            {"button", BM_SETSTATE, Sent | WParam, FALSE},
            {"button", WM_CAPTURECHANGED, Sent | LParam, 0, 0},
            {"form", WM_COMMAND, Sent | WParam | LParam, MAKEWPARAM(kButtonId, BN_CLICKED),
             Self(button)},
        },
        "tap on a button"));
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), BST_FOCUS);
}

} // namespace
