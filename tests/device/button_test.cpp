// The "BUTTON" control: what its parent hears for taps, keys and focus changes, and how it
// looks pressed, raised, as the default button and disabled.
#include "button_fixture.h"

namespace {

using test::ExpectedMsg;
using test::LParam;
using test::Posted;
using test::Sent;
using test::WParam;

using test::Button;
using test::kButtonId;
using test::kToolkitButtonStyle;

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

TEST_F(Button, PressThatLeavesBeforeReleaseOnlyReleasesTheCapture) {
    HWND button = MakeButton("button", kToolkitButtonStyle);
    POINT centre = Centre(button);
    device::input::PointerDown(centre.x, centre.y);
    device::input::PointerMove(centre.x, centre.y + 40);
    Pump();
    EXPECT_EQ(GetCapture(), button);
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    // Coming back over the button pushes it again; leaving once more and letting go there
    // must not click.
    device::input::PointerMove(centre.x, centre.y);
    Pump();
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    test::StartLog();
    device::input::PointerMove(centre.x + 100, centre.y);
    device::input::PointerUp(centre.x + 100, centre.y);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::WithoutNoise(test::Log()),
                                      {
                                          {"button", WM_MOUSEMOVE, Posted},
                                          {"button", BM_SETSTATE, Sent | WParam, FALSE},
                                          {"button", WM_LBUTTONUP, Posted},
                                          {"button", BM_SETSTATE, Sent | WParam, FALSE},
                                          {"button", WM_CAPTURECHANGED, Sent | LParam, 0, 0},
                                      },
                                      "release outside the button"));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Button, LosingTheFocusDuringAPressEndsItWithoutAClick) {
    HWND button = MakeButton("button", kToolkitButtonStyle);
    HWND other = MakeButton("other", WS_CHILD | WS_VISIBLE, 10, 40, 2);
    POINT centre = Centre(button);
    device::input::PointerDown(centre.x, centre.y);
    Pump();
    ASSERT_EQ(GetCapture(), button);
    test::StartLog();
    SetFocus(other); // a program moving the focus while the stylus is down
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), 0);
    device::input::PointerUp(centre.x, centre.y);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_COMMAND}),
                                      {{"form", WM_COMMAND, Sent | WParam | LParam,
                                        MAKEWPARAM(kButtonId, BN_KILLFOCUS), Self(button)}},
                                      "focus taken away during a press"));
}

TEST_F(Button, FocusNotificationsComeOnlyWithBsNotify) {
    HWND notifying = MakeButton("notifying", kToolkitButtonStyle, 10, 10, 1);
    HWND plain = MakeButton("plain", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 40, 2);
    test::StartLog();
    SetFocus(notifying);
    SetFocus(plain);
    SetFocus(notifying);
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_COMMAND}),
                                      {
                                          {"form", WM_COMMAND, Sent | WParam | LParam,
                                           MAKEWPARAM(1, BN_SETFOCUS), Self(notifying)},
                                          {"form", WM_COMMAND, Sent | WParam | LParam,
                                           MAKEWPARAM(1, BN_KILLFOCUS), Self(notifying)},
                                          {"form", WM_COMMAND, Sent | WParam | LParam,
                                           MAKEWPARAM(1, BN_SETFOCUS), Self(notifying)},
                                      },
                                      "focus moving between a BS_NOTIFY button and a plain one"));
}

TEST_F(Button, SpaceDownPressesAndSpaceUpClicks) {
    HWND button = MakeButton("button", kToolkitButtonStyle);
    SetFocus(button);
    Pump();
    test::StartLog();
    device::input::PressKey(VK_SPACE);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::Without(test::WithoutNoise(test::Log()), {WM_CHAR}),
                                      {
                                          {"button", WM_KEYDOWN, Posted | WParam, VK_SPACE},
                                          {"button", BM_SETSTATE, Sent | WParam, TRUE},
                                          {"button", WM_KEYUP, Posted | WParam, VK_SPACE},
                                          {"button", BM_SETSTATE, Sent | WParam, FALSE},
                                          {"button", WM_CAPTURECHANGED, Sent},
                                          {"form", WM_COMMAND, Sent | WParam | LParam,
                                           MAKEWPARAM(kButtonId, BN_CLICKED), Self(button)},
                                      },
                                      "space bar on a focused button"));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Button, OtherKeysAndReturnDoNotClick) {
    HWND button = MakeButton("button", kToolkitButtonStyle);
    SetFocus(button);
    Pump();
    test::StartLog();
    device::input::PressKey(VK_RETURN);
    device::input::PressKey('A');
    Pump();
    EXPECT_TRUE(test::Only(test::Log(), {WM_COMMAND, BM_SETSTATE}).empty());
}

TEST_F(Button, BmClickPressesAndReleasesThroughTheProcedure) {
    HWND button = MakeButton("button", WS_CHILD | WS_VISIBLE);
    test::StartLog();
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(test::MatchesSequence(test::WithoutNoise(test::Log()),
                                      {
                                          {"button", BM_CLICK, Sent},
                                          {"button", WM_LBUTTONDOWN, Sent | WParam, 0},
                                          {"form", WM_KILLFOCUS, Sent},
                                          {"button", WM_SETFOCUS, Sent},
                                          {"button", BM_SETSTATE, Sent | WParam, TRUE},
                                          {"button", WM_LBUTTONUP, Sent},
                                          {"button", BM_SETSTATE, Sent | WParam, FALSE},
                                          {"button", WM_CAPTURECHANGED, Sent},
                                          {"form", WM_COMMAND, Sent | WParam | LParam,
                                           MAKEWPARAM(kButtonId, BN_CLICKED), Self(button)},
                                      },
                                      "BM_CLICK"));

    // A disabled button cannot be pressed, so BM_CLICK does nothing either.
    EnableWindow(button, FALSE);
    test::StartLog();
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(test::Only(test::Log(), {WM_COMMAND, WM_LBUTTONDOWN}).empty());
}

TEST_F(Button, FocusAndStateChangesDrawAtOnceEvenWithNothingShowing) {
    HWND button = MakeButton("button", WS_CHILD | WS_VISIBLE);
    SetWindowPos(button, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    struct Case {
        const char* what;
        void (*act)(HWND);
    };
    const Case cases[] = {
        {"taking the focus", [](HWND b) { SetFocus(b); }},
        {"BM_SETSTATE TRUE", [](HWND b) { SendMessageW(b, BM_SETSTATE, TRUE, 0); }},
        {"BM_SETSTATE FALSE", [](HWND b) { SendMessageW(b, BM_SETSTATE, FALSE, 0); }},
        {"losing the focus", [](HWND) { SetFocus(nullptr); }},
    };
    for (const Case& c : cases) {
        test::StartLog();
        c.act(button);
        auto colours = test::Only(test::Log(), {WM_CTLCOLORBTN});
        ASSERT_EQ(colours.size(), 1u) << c.what;
        EXPECT_FALSE(colours[0].posted) << c.what;
        EXPECT_EQ(device::spy::RoleOf(colours[0].hwnd), "form") << c.what;
        EXPECT_EQ(Pump(), 0) << c.what << ": nothing left for the queue";
    }
}

// Two taps closer than the double-click time: the second press arrives as WM_LBUTTONDBLCLK.
struct DoubleTapCase {
    const char* name;
    DWORD style;
    std::vector<WORD> codes; // the notifications the parent hears, in order
    bool secondPress;        // whether the second tap pushes the button again
};

class ButtonDoubleTap : public Button, public ::testing::WithParamInterface<DoubleTapCase> {};

TEST_P(ButtonDoubleTap, NotifiesAsThePlatformDoes) {
    const DoubleTapCase& c = GetParam();
    HWND button = MakeButton("button", c.style);
    SetFocus(button);
    Pump();
    test::StartLog();
    TapOn(button);
    TapOn(button);
    Pump();
    test::Records log = test::Log();
    std::vector<WORD> codes;
    for (const auto& record : test::Only(log, {WM_COMMAND})) {
        codes.push_back(HIWORD(record.wParam));
    }
    EXPECT_EQ(codes, c.codes);
    EXPECT_EQ(test::Only(log, {WM_LBUTTONDBLCLK}).size(), 1u);
    size_t presses = 0;
    for (const auto& record : test::Only(log, {BM_SETSTATE})) {
        presses += record.wParam == TRUE ? 1 : 0;
    }
    EXPECT_EQ(presses, c.secondPress ? 2u : 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ButtonDoubleTap,
    ::testing::Values(
        DoubleTapCase{
            "Notify", WS_CHILD | WS_VISIBLE | BS_NOTIFY, {BN_CLICKED, BN_DOUBLECLICKED}, false},
        DoubleTapCase{"Plain", WS_CHILD | WS_VISIBLE, {BN_CLICKED, BN_CLICKED}, true},
        DoubleTapCase{"Radio", WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON,
                      {BN_CLICKED, BN_DOUBLECLICKED}, false},
        DoubleTapCase{"AutoRadio", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON,
                      {BN_CLICKED, BN_CLICKED}, true}),
    [](const ::testing::TestParamInfo<DoubleTapCase>& caseInfo) {
        return std::string(caseInfo.param.name);
    });

TEST_F(Button, TapOnADisabledButtonOnlySetsTheCursorWithHtError) {
    HWND button = MakeButton("button", kToolkitButtonStyle);
    EnableWindow(button, FALSE);
    Pump();
    test::StartLog();
    TapOn(button);
    Pump();
    LPARAM downError = MAKELPARAM(static_cast<WORD>(HTERROR), WM_LBUTTONDOWN);
    LPARAM upError = MAKELPARAM(static_cast<WORD>(HTERROR), WM_LBUTTONUP);
    EXPECT_TRUE(test::MatchesSequence(
        test::Only(test::Log(),
                   {WM_SETCURSOR, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_COMMAND, WM_SETFOCUS}),
        {
            {"button", WM_SETCURSOR, Sent | WParam | LParam, reinterpret_cast<WPARAM>(button),
             downError},
            {"form", WM_SETCURSOR, Sent | WParam | LParam, reinterpret_cast<WPARAM>(button),
             downError},
            {"button", WM_SETCURSOR, Sent | WParam | LParam, reinterpret_cast<WPARAM>(button),
             upError},
            {"form", WM_SETCURSOR, Sent | WParam | LParam, reinterpret_cast<WPARAM>(button),
             upError},
        },
        "tap on a disabled button"));
    EXPECT_NE(GetFocus(), button);
}

TEST_F(Button, StyleDecidesDialogCodeAndBmSetStyleChangesOnlyTheType) {
    HWND button = MakeButton("button", kToolkitButtonStyle);
    EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE)),
              kToolkitButtonStyle | BS_DEFPUSHBUTTON);
    SendMessageW(button, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE)), kToolkitButtonStyle);
}

TEST_F(Button, NotifiesTheParentItWasMadeWith) {
    HWND button = MakeButton("button", kToolkitButtonStyle);
    HWND other = MakeWindow("other form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    SetParent(button, other);
    test::StartLog();
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_COMMAND}),
                                      {
                                          {"form", WM_COMMAND, Sent | WParam | LParam,
                                           MAKEWPARAM(kButtonId, BN_SETFOCUS), Self(button)},
                                          {"form", WM_COMMAND, Sent | WParam | LParam,
                                           MAKEWPARAM(kButtonId, BN_CLICKED), Self(button)},
                                      },
                                      "click after SetParent"));
}

// --- Looks ---------------------------------------------------------------------------

COLORREF Sys(int index) {
    return GetSysColor(index);
}

TEST_F(Button, RaisedPushedAndDefaultFramesDiffer) {
    HWND button = MakeButton("button", kToolkitButtonStyle);
    // Raised: white top-left, black bottom-right, the face in between.
    EXPECT_EQ(PixelOf(button, 0, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelOf(button, 63, 21), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(PixelOf(button, 3, 3), Sys(COLOR_BTNFACE));

    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(PixelOf(button, 0, 0), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(PixelOf(button, 63, 21), Sys(COLOR_BTNHIGHLIGHT));
    SendMessageW(button, BM_SETSTATE, FALSE, 0);

    // The toolkit makes a button the default one by its style alone; the look follows at
    // the repaint that SWP_FRAMECHANGED brings.
    SetWindowLongW(button, GWL_STYLE, static_cast<LONG>(kToolkitButtonStyle | BS_DEFPUSHBUTTON));
    SetWindowPos(button, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    Pump();
    EXPECT_EQ(PixelOf(button, 0, 0), Sys(COLOR_WINDOWFRAME));
    EXPECT_EQ(PixelOf(button, 63, 21), Sys(COLOR_WINDOWFRAME));
    EXPECT_EQ(PixelOf(button, 1, 1), Sys(COLOR_BTNHIGHLIGHT));

    // A pushed default button is flat: a shadow line inside the black frame.
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(PixelOf(button, 0, 0), Sys(COLOR_WINDOWFRAME));
    EXPECT_EQ(PixelOf(button, 1, 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(PixelOf(button, 62, 20), Sys(COLOR_BTNSHADOW));
}

// Counts the label's pixels, away from the 3-D frame, that pass a test. Text is drawn
// anti-aliased, so the tests look at how dark a pixel is rather than at one exact colour.
template <typename Test>
int CountInLabel(HWND hwnd, Test test) {
    int count = 0;
    HDC hdc = GetDC(hwnd);
    for (int y = 4; y < 18; ++y) {
        for (int x = 4; x < 60; ++x) {
            count += test(GetPixel(hdc, x, y)) ? 1 : 0;
        }
    }
    ReleaseDC(hwnd, hdc);
    return count;
}

bool Dark(COLORREF color) {
    return GetRValue(color) < 100 && GetGValue(color) < 100 && GetBValue(color) < 100;
}

TEST_F(Button, DisabledTextIsGrayAndComesBackBlackWhenEnabled) {
    HWND button = MakeButton("button", WS_CHILD | WS_VISIBLE, 10, 10, kButtonId, u"Kapat");
    COLORREF face = Sys(COLOR_BTNFACE);
    auto text = [&](COLORREF color) { return color != face; };
    int textPixels = CountInLabel(button, text);
    EXPECT_GT(textPixels, 30);
    EXPECT_GT(CountInLabel(button, Dark), 20);

    EnableWindow(button, FALSE); // repaints at once
    EXPECT_EQ(CountInLabel(button, Dark), 0);
    auto grayish = [](COLORREF c) { return GetRValue(c) >= 120 && GetRValue(c) < 180; };
    EXPECT_GT(CountInLabel(button, grayish), 10);
    EXPECT_GT(CountInLabel(button, text), textPixels / 2);

    EnableWindow(button, TRUE);
    EXPECT_GT(CountInLabel(button, Dark), 20);
}

TEST_F(Button, FocusRectangleIsDrawnOnlyWhileFocused) {
    HWND button = MakeButton("button", WS_CHILD | WS_VISIBLE, 10, 10, kButtonId, u"");
    // The dotted rectangle runs 3 pixels in from the edge; without focus it is plain face.
    auto dotsOnTopEdge = [&] {
        int dots = 0;
        for (int x = 3; x < 61; ++x) {
            dots += PixelOf(button, x, 3) != Sys(COLOR_BTNFACE) ? 1 : 0;
        }
        return dots;
    };
    EXPECT_EQ(dotsOnTopEdge(), 0);
    SetFocus(button);
    EXPECT_GT(dotsOnTopEdge(), 20);
    SetFocus(form);
    EXPECT_EQ(dotsOnTopEdge(), 0);
}

} // namespace
