// Painting: WM_PAINT for invalid windows (parents first), background erasing with the
// class brush, clipping of children and of windows above, and screenshots.
#include "support/device_fixture.h"
#include "support/message_log.h"

#include "display/png_image.h"

#include <array>
#include <cstdio>
#include <vector>

namespace {

using test::ExpectedMsg;
using test::Posted;
using test::Sent;

// What the last painting of a probe window saw, and how probes answer WM_ERASEBKGND.
struct PaintProbe {
    LRESULT eraseAnswer = -1; // -1: whatever the default procedure answers
    COLORREF fill = CLR_INVALID; // painted over the whole client area unless CLR_INVALID
    PAINTSTRUCT last{};
};

PaintProbe& Probe() {
    static PaintProbe probe;
    return probe;
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND && Probe().eraseAnswer >= 0) {
        return Probe().eraseAnswer;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hwnd, &paint);
        if (Probe().fill != CLR_INVALID) {
            HBRUSH brush = CreateSolidBrush(Probe().fill);
            RECT client;
            GetClientRect(hwnd, &client);
            FillRect(hdc, &client, brush);
            DeleteObject(brush);
        }
        Probe().last = paint;
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::array<LONG, 4> Sides(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// Fills its client area with the colour stored in its user data.
LRESULT CALLBACK SolidProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hwnd, &paint);
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(hdc, &client, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class PaintTest : public test::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        WNDCLASSW solid{};
        solid.lpfnWndProc = SolidProc;
        solid.lpszClassName = u"Solid";
        RegisterClassW(&solid);
        WNDCLASSW probe{};
        probe.lpfnWndProc = ProbeProc;
        probe.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
        probe.lpszClassName = u"Probe";
        RegisterClassW(&probe);
        Probe() = PaintProbe{};
    }
    HWND MakeProbe(const std::string& role, DWORD style, int x, int y, int cx, int cy, HWND parent = nullptr) {
        HWND hwnd = CreateWindowExW(0, u"Probe", u"", style, x, y, cx, cy, parent, nullptr, nullptr, nullptr);
        device::spy::SetRole(hwnd, role);
        return hwnd;
    }
    HWND MakeSolid(const std::string& role, COLORREF color, DWORD style, int x, int y, int cx, int cy,
                   HWND parent = nullptr) {
        HWND hwnd = CreateWindowExW(0, u"Solid", u"", style, x, y, cx, cy, parent, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(color));
        device::spy::SetRole(hwnd, role);
        InvalidateRect(hwnd, nullptr, TRUE);
        return hwnd;
    }
    static uint32_t Pixel(int x, int y) { return device::diag::ScreenPixel(x, y); }
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr uint32_t kRedPixel = 0xFF0000;
constexpr uint32_t kBluePixel = 0x0000FF;
constexpr uint32_t kGreenPixel = 0x00FF00;

TEST_F(PaintTest, ParentsArePaintedBeforeChildrenAndNeverOverThem) {
    HWND parent = MakeSolid("parent", kRed, WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    HWND child = MakeSolid("child", kBlue, WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent);
    test::StartLog();
    Pump();
    test::Records paints;
    for (const auto& record : test::Only(test::Log(), {WM_PAINT})) {
        if (record.hwnd == parent || record.hwnd == child) {
            paints.push_back(record); // the navigation bar repaints too: it shows the new foreground
        }
    }
    ASSERT_EQ(paints.size(), 2u);
    EXPECT_EQ(paints[0].hwnd, parent);
    EXPECT_EQ(paints[1].hwnd, child);
    EXPECT_EQ(Pixel(5, 30), kRedPixel);
    EXPECT_EQ(Pixel(30, 50), kBluePixel);
    // Repainting the parent alone leaves the child untouched.
    test::StartLog();
    InvalidateRect(parent, nullptr, TRUE);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_PAINT}), {{"parent", WM_PAINT, Posted}},
                                      "invalidating the parent"));
    EXPECT_EQ(Pixel(30, 50), kBluePixel);
}

TEST_F(PaintTest, AWindowBelowNeverPaintsOverTheWindowAbove) {
    HWND below = MakeSolid("below", kRed, WS_POPUP | WS_VISIBLE, 0, 26, 240, 100);
    MakeSolid("above", kGreen, WS_POPUP | WS_VISIBLE, 100, 50, 100, 100);
    Pump();
    InvalidateRect(below, nullptr, TRUE);
    Pump();
    EXPECT_EQ(Pixel(150, 60), kGreenPixel);
    EXPECT_EQ(Pixel(50, 60), kRedPixel);
}

TEST_F(PaintTest, HidingAWindowRepaintsWhatItCovered) {
    MakeSolid("below", kRed, WS_POPUP | WS_VISIBLE, 0, 26, 240, 100);
    HWND above = MakeSolid("above", kGreen, WS_POPUP | WS_VISIBLE, 100, 50, 100, 100);
    Pump();
    ASSERT_EQ(Pixel(150, 60), kGreenPixel);
    ShowWindow(above, SW_HIDE);
    Pump();
    EXPECT_EQ(Pixel(150, 60), kRedPixel);
}

TEST_F(PaintTest, TheDefaultProcedureErasesWithTheClassBrush) {
    HWND window = MakeWindow("window", WS_POPUP | WS_VISIBLE, 0, 26, 100, 100);
    SetSysColors(1, std::array<INT, 1>{COLOR_WINDOW}.data(), std::array<COLORREF, 1>{kBlue}.data());
    InvalidateRect(window, nullptr, TRUE);
    Pump();
    EXPECT_EQ(Pixel(50, 60), kBluePixel);
}

TEST_F(PaintTest, BeginPaintValidatesSoThatPaintingStops) {
    HWND window = MakeSolid("window", kRed, WS_POPUP | WS_VISIBLE, 0, 26, 100, 100);
    Pump();
    RECT update;
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
    InvalidateRect(window, nullptr, FALSE);
    EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ(update.right, 100);
    EXPECT_EQ(Pump(), 1);
    EXPECT_EQ(Pump(), 0);
}

TEST_F(PaintTest, EraseHappensOnlyWhenAskedAndBeginPaintReportsAnEraseLeftUndone) {
    struct Case {
        const char* name;
        std::vector<BOOL> invalidations; // bErase of each InvalidateRect, in order
        LRESULT eraseAnswer;             // the window's answer to WM_ERASEBKGND
        bool erased;                     // WM_ERASEBKGND was sent
        BOOL fErase;                     // what BeginPaint reported
        bool markKept;                   // a pixel drawn before is still on the screen
    };
    const Case cases[] = {
        {"no erase asked", {FALSE}, -1, false, FALSE, true},
        {"erased by the default procedure", {TRUE}, -1, true, FALSE, false},
        {"erase left undone by the window", {TRUE}, 0, true, TRUE, true},
        {"erase asked, then a plain invalidation", {TRUE, FALSE}, -1, true, FALSE, false},
        {"a plain invalidation, then an erase", {FALSE, TRUE}, -1, true, FALSE, false},
    };
    HWND window = MakeProbe("window", WS_POPUP | WS_VISIBLE, 0, 26, 100, 100);
    for (const Case& c : cases) {
        Pump();
        Probe().eraseAnswer = c.eraseAnswer;
        HDC hdc = GetDC(window);
        SetPixel(hdc, 5, 5, kRed);
        ReleaseDC(window, hdc);
        test::StartLog();
        for (BOOL erase : c.invalidations) {
            InvalidateRect(window, nullptr, erase);
        }
        Pump();
        std::vector<ExpectedMsg> expected{{"window", WM_PAINT, Posted}};
        if (c.erased) {
            expected.push_back({"window", WM_ERASEBKGND, Sent});
        }
        EXPECT_TRUE(test::MatchesSequence(test::ForRole(test::Log(), "window"), expected, c.name));
        EXPECT_EQ(Probe().last.fErase, c.fErase) << c.name;
        EXPECT_EQ(Pixel(5, 26 + 5) == kRedPixel, c.markKept) << c.name;
    }
}

TEST_F(PaintTest, UpdateRectanglesAreInTheChildsClientCoordinatesAndClipItsPainting) {
    HWND parent = MakeSolid("parent", kRed, WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    // A border, so that window and client origins differ.
    HWND child = MakeProbe("child", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 30, 62, 42, parent);
    Probe().fill = kGreen;
    Pump();
    Probe().fill = kBlue;
    const RECT part{10, 5, 30, 15};
    InvalidateRect(child, &part, FALSE);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(child, &update, FALSE));
    EXPECT_EQ(Sides(update), Sides(part));
    const RECT left{0, 0, 20, 40};
    ValidateRect(child, &left);
    EXPECT_TRUE(GetUpdateRect(child, &update, FALSE));
    EXPECT_EQ(Sides(update), (std::array<LONG, 4>{20, 5, 30, 15}));
    EXPECT_FALSE(GetUpdateRect(parent, &update, FALSE));
    Pump();
    EXPECT_EQ(Sides(Probe().last.rcPaint), (std::array<LONG, 4>{20, 5, 30, 15}));
    // The child's client origin is at (21, 26 + 31) on the screen; only the part still
    // invalid took the new colour.
    EXPECT_EQ(Pixel(21 + 25, 57 + 10), kBluePixel);
    EXPECT_EQ(Pixel(21 + 15, 57 + 10), kGreenPixel);
    EXPECT_EQ(Pixel(21 + 25, 57 + 20), kGreenPixel);

    // Validating it all leaves an empty rectangle; asking with bErase erases at once.
    ValidateRect(child, nullptr);
    EXPECT_FALSE(GetUpdateRect(child, &update, FALSE));
    EXPECT_EQ(Sides(update), (std::array<LONG, 4>{0, 0, 0, 0}));
    InvalidateRect(child, nullptr, TRUE);
    test::StartLog();
    EXPECT_TRUE(GetUpdateRect(child, &update, TRUE));
    EXPECT_TRUE(GetUpdateRect(child, &update, TRUE));
    EXPECT_TRUE(test::MatchesSequence(test::Log(), {{"child", WM_ERASEBKGND, Sent}}, "GetUpdateRect(bErase)"));
}

TEST_F(PaintTest, UpdateWindowPaintsTheInvalidWindowsOfItsTreeAtOnce) {
    struct Case {
        const char* name;
        bool parentInvalid;
        bool childInvalid;
        std::vector<ExpectedMsg> sent;
    };
    const Case cases[] = {
        {"nothing invalid", false, false, {}},
        {"the window", true, false, {{"parent", WM_PAINT, Sent}}},
        {"a child", false, true, {{"child", WM_PAINT, Sent}}},
        {"both", true, true, {{"parent", WM_PAINT, Sent}, {"child", WM_PAINT, Sent}}},
    };
    HWND parent = MakeProbe("parent", WS_POPUP | WS_VISIBLE, 0, 26, 200, 200);
    HWND child = MakeProbe("child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent);
    for (const Case& c : cases) {
        Pump();
        if (c.parentInvalid) {
            InvalidateRect(parent, nullptr, FALSE);
        }
        if (c.childInvalid) {
            InvalidateRect(child, nullptr, FALSE);
        }
        test::StartLog();
        UpdateWindow(parent);
        EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_PAINT}), c.sent, c.name));
        test::StartLog();
        Pump();
        EXPECT_TRUE(test::ForRole(test::Only(test::Log(), {WM_PAINT}), "parent").empty()) << c.name;
        EXPECT_TRUE(test::ForRole(test::Only(test::Log(), {WM_PAINT}), "child").empty()) << c.name;
    }
}

TEST_F(PaintTest, AScreenshotHoldsWhatTheScreenShows) {
    MakeSolid("window", kRed, WS_POPUP | WS_VISIBLE, 0, 26, 240, 294);
    Pump();
    std::string path = std::string(ADRES_BINARY_DIR) + "/paint_test_screenshot.png";
    std::string error;
    ASSERT_TRUE(device::diag::WriteScreenshot(path, &error)) << error;
    device::gdi::Surface image;
    ASSERT_TRUE(device::ReadPng(path, &image, &error)) << error;
    EXPECT_EQ(image.width, 240);
    EXPECT_EQ(image.height, 320);
    int width = 0;
    int height = 0;
    EXPECT_EQ(image.pixels, device::diag::ScreenPixels(&width, &height));
    EXPECT_EQ(image.At(120, 200), kRedPixel);
    std::remove(path.c_str());
}

} // namespace
