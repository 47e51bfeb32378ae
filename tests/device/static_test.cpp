// The "STATIC" control: taps that fall through or notify, enabling notifications, and how
// its text is placed and coloured.
#include "support/device_fixture.h"
#include "support/message_log.h"

#include <algorithm>

namespace {

using test::ExpectedMsg;
using test::LParam;
using test::Posted;
using test::Sent;
using test::WParam;

constexpr UINT_PTR kLabelId = 7;
// What the toolkit gives its labels and panels: child, visible, SS_NOTIFY, SS_NOPREFIX and
// SS_LEFTNOWORDWRAP.
constexpr DWORD kToolkitLabelStyle = 0x5000018C;

// The form's answer to WM_CTLCOLORSTATIC; a null brush leaves it to DefWindowProcW.
HBRUSH g_labelBrush = nullptr;
COLORREF g_labelText = RGB(0, 0, 0);

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC && g_labelBrush != nullptr) {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        SetTextColor(hdc, g_labelText);
        SetBkMode(hdc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(g_labelBrush);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class Static : public test::DeviceTest {
protected:
    void SetUp() override {
        test::DeviceTest::SetUp();
        g_labelBrush = nullptr;
        WNDCLASSW formClass{};
        formClass.style = CS_DBLCLKS;
        formClass.lpfnWndProc = FormProc;
        formClass.hbrBackground =
            reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
        formClass.lpszClassName = u"LabelForm";
        ASSERT_NE(RegisterClassW(&formClass), 0);
        form = CreateWindowExW(0, u"LabelForm", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268,
                               nullptr, nullptr, nullptr, nullptr);
        device::spy::SetRole(form, "form");
        Pump();
    }

    void TearDown() override {
        if (g_labelBrush != nullptr) {
            DeleteObject(g_labelBrush);
            g_labelBrush = nullptr;
        }
        test::DeviceTest::TearDown();
    }

    HWND MakeLabel(const std::string& role, DWORD style, const char16_t* text = u"Adı", int x = 10,
                   int y = 10, int cx = 100, int cy = 22) {
        HWND hwnd = CreateWindowExW(0, u"STATIC", text, style, x, y, cx, cy, form,
                                    reinterpret_cast<HMENU>(kLabelId), nullptr, nullptr);
        device::spy::SetRole(hwnd, role);
        Pump();
        return hwnd;
    }

    static POINT Centre(HWND hwnd) {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    LPARAM Self(HWND hwnd) const { return reinterpret_cast<LPARAM>(hwnd); }

    HWND form = nullptr;
};

// Where a window's client area shows pixels that pass a test: the bounding box, or an
// empty rectangle when there are none.
template <typename Test>
RECT PixelsWhere(HWND hwnd, Test test) {
    RECT client;
    GetClientRect(hwnd, &client);
    RECT box{client.right, client.bottom, 0, 0};
    HDC hdc = GetDC(hwnd);
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if (test(GetPixel(hdc, x, y))) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    }
    ReleaseDC(hwnd, hdc);
    return box.right > box.left ? box : RECT{0, 0, 0, 0};
}

bool Dark(COLORREF color) {
    return GetRValue(color) < 100 && GetGValue(color) < 100 && GetBValue(color) < 100;
}

RECT DarkPixels(HWND hwnd) {
    return PixelsWhere(hwnd, Dark);
}

TEST_F(Static, TapWithoutSsNotifyFallsThroughToTheWindowBeneath) {
    HWND label = MakeLabel("label", WS_CHILD | WS_VISIBLE | SS_LEFT);
    POINT centre = Centre(label);
    test::StartLog();
    device::input::Tap(centre.x, centre.y);
    Pump();
    test::Records log = test::Log();
    // The label is asked where the tap is and answers "transparent"; nothing else.
    EXPECT_TRUE(test::MatchesSequence(
        test::ForRole(log, "label"), {{"label", WM_NCHITTEST, Sent}, {"label", WM_NCHITTEST, Sent}},
        "label"));
    POINT client = centre;
    ScreenToClient(form, &client);
    EXPECT_TRUE(test::MatchesSequence(
        test::Only(log, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_COMMAND}),
        {
            {"form", WM_LBUTTONDOWN, Posted | LParam, 0, MAKELPARAM(client.x, client.y)},
            {"form", WM_LBUTTONUP, Posted | LParam, 0, MAKELPARAM(client.x, client.y)},
        },
        "tap on a plain label"));
}

TEST_F(Static, SsNotifyClicksOnPressAndNeverTakesTheFocus) {
    HWND label = MakeLabel("label", kToolkitLabelStyle);
    POINT centre = Centre(label);
    HWND focusBefore = GetFocus();
    test::StartLog();
    device::input::Tap(centre.x, centre.y);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(
        test::Only(test::Log(), {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_COMMAND, WM_SETFOCUS}),
        {
            {"label", WM_LBUTTONDOWN, Posted},
            {"form", WM_COMMAND, Sent | WParam | LParam, MAKEWPARAM(kLabelId, STN_CLICKED),
             Self(label)},
            {"label", WM_LBUTTONUP, Posted},
        },
        "tap on a notifying label"));
    EXPECT_EQ(GetFocus(), focusBefore);

    // Two taps in quick succession, well after the first: the second is a double click.
    device::input::AdvanceClock(1000);
    test::StartLog();
    device::input::Tap(centre.x, centre.y);
    device::input::Tap(centre.x, centre.y);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(
        test::Only(test::Log(), {WM_COMMAND}),
        {
            {"form", WM_COMMAND, Sent | WParam, MAKEWPARAM(kLabelId, STN_CLICKED)},
            {"form", WM_COMMAND, Sent | WParam, MAKEWPARAM(kLabelId, STN_DBLCLK)},
        },
        "double tap on a notifying label"));
}

TEST_F(Static, EnablingNotifiesOnlyWithSsNotify) {
    HWND notifying = MakeLabel("notifying", kToolkitLabelStyle);
    HWND plain = MakeLabel("plain", WS_CHILD | WS_VISIBLE, u"Soyadı", 10, 40);
    test::StartLog();
    EnableWindow(notifying, FALSE);
    EnableWindow(plain, FALSE);
    EnableWindow(notifying, TRUE);
    EnableWindow(plain, TRUE);
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_COMMAND}),
                                      {
                                          {"form", WM_COMMAND, Sent | WParam | LParam,
                                           MAKEWPARAM(kLabelId, STN_DISABLE), Self(notifying)},
                                          {"form", WM_COMMAND, Sent | WParam | LParam,
                                           MAKEWPARAM(kLabelId, STN_ENABLE), Self(notifying)},
                                      },
                                      "enabling and disabling labels"));
}

// --- Looks ---------------------------------------------------------------------------

TEST_F(Static, ColoursComeFromTheParentOrTheDefaults) {
    HWND label = MakeLabel("label", WS_CHILD | WS_VISIBLE | SS_LEFT, u"Telefon");
    // The parent answers 0: the default procedure's static colours.
    EXPECT_EQ(PixelsWhere(label, [](COLORREF c) { return c == GetSysColor(COLOR_STATIC); }).left,
              0);
    EXPECT_GT(DarkPixels(label).right, 0);

    g_labelBrush = CreateSolidBrush(RGB(255, 255, 0));
    g_labelText = RGB(0, 0, 255);
    InvalidateRect(label, nullptr, TRUE);
    Pump();
    HDC hdc = GetDC(label);
    EXPECT_EQ(GetPixel(hdc, 99, 21), RGB(255, 255, 0));
    ReleaseDC(label, hdc);
    RECT blue =
        PixelsWhere(label, [](COLORREF c) { return GetBValue(c) > 200 && GetRValue(c) < 100; });
    EXPECT_GT(blue.right - blue.left, 20);
    EXPECT_EQ(DarkPixels(label).right, 0);
}

TEST_F(Static, DisabledTextIsGray) {
    HWND label = MakeLabel("label", WS_CHILD | WS_VISIBLE | SS_LEFT, u"Telefon");
    EXPECT_GT(DarkPixels(label).right, 0);
    EnableWindow(label, FALSE); // repaints at once
    EXPECT_EQ(DarkPixels(label).right, 0);
    RECT gray =
        PixelsWhere(label, [](COLORREF c) { return GetRValue(c) >= 120 && GetRValue(c) < 180; });
    EXPECT_GT(gray.right - gray.left, 20);
}

TEST_F(Static, AlignmentFollowsTheStyle) {
    HWND left = MakeLabel("left", WS_CHILD | WS_VISIBLE | SS_LEFT, u"Ad", 0, 0);
    HWND centre = MakeLabel("centre", WS_CHILD | WS_VISIBLE | SS_CENTER, u"Ad", 0, 30);
    HWND right = MakeLabel("right", WS_CHILD | WS_VISIBLE | SS_RIGHT, u"Ad", 0, 60);
    RECT l = DarkPixels(left);
    RECT c = DarkPixels(centre);
    RECT r = DarkPixels(right);
    EXPECT_LT(l.left, 3);
    EXPECT_GT(r.right, 96);
    // The centred text has as much room on both sides, give or take the glyphs' bearings.
    EXPECT_NEAR(c.left, 100 - c.right, 3);
    EXPECT_EQ(l.right - l.left, c.right - c.left);
    EXPECT_EQ(c.right - c.left, r.right - r.left);
}

TEST_F(Static, OnlyTheWrappingStylesBreakLongText) {
    const char16_t* text = u"Kayıt Yapıldı ve adres defterine eklendi";
    HWND wrapped = MakeLabel("wrapped", WS_CHILD | WS_VISIBLE | SS_LEFT, text, 0, 0, 100, 60);
    HWND single =
        MakeLabel("single", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, text, 0, 70, 100, 60);
    TEXTMETRICW metrics;
    HDC hdc = GetDC(wrapped);
    GetTextMetricsW(hdc, &metrics);
    ReleaseDC(wrapped, hdc);
    EXPECT_GT(DarkPixels(wrapped).bottom, metrics.tmHeight + 2);
    RECT one = DarkPixels(single);
    EXPECT_LE(one.bottom, metrics.tmHeight);
    EXPECT_EQ(one.right, 100); // cut at the edge, not wrapped
}

TEST_F(Static, SsNoPrefixShowsTheAmpersand) {
    HWND prefixed =
        MakeLabel("prefixed", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, u"A&&B&C", 0, 0);
    HWND literal = MakeLabel("literal", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                             u"A&&B&C", 0, 30);
    // "A&B" + underlined "C" against "A&&B&C" in full.
    RECT withPrefixes = DarkPixels(prefixed);
    RECT asTyped = DarkPixels(literal);
    EXPECT_GT(asTyped.right - asTyped.left, withPrefixes.right - withPrefixes.left);
}

TEST_F(Static, WsBorderDrawsAFrameAroundASmallerClientArea) {
    HWND panel = MakeLabel("panel", kToolkitLabelStyle | WS_BORDER, u"", 10, 10, 100, 100);
    RECT client;
    GetClientRect(panel, &client);
    EXPECT_EQ(client.right, 98);
    EXPECT_EQ(client.bottom, 98);
    HDC hdc = GetWindowDC(panel);
    EXPECT_EQ(GetPixel(hdc, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(GetPixel(hdc, 99, 50), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(GetPixel(hdc, 50, 50), GetSysColor(COLOR_STATIC));
    ReleaseDC(panel, hdc);
}

TEST_F(Static, NewTextIsShownAtOnce) {
    HWND label = MakeLabel("label", kToolkitLabelStyle, u"");
    EXPECT_EQ(DarkPixels(label).right, 0);
    test::StartLog();
    SetWindowTextW(label, u"Adres Ara");
    // No message loop ran: the label painted itself while handling WM_SETTEXT.
    EXPECT_GT(DarkPixels(label).right, 20);
    EXPECT_EQ(test::Only(test::Log(), {WM_PAINT}).size(), 1u);
}

} // namespace
