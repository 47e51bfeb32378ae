// Stylus and keyboard input: hit testing, activation by a tap, disabled windows,
// capture, double clicks, typing, and where input stands in the retrieval order.
#include "support/device_fixture.h"
#include "support/message_log.h"

#include <functional>
#include <vector>

namespace {

using test::LParam;
using test::Posted;
using test::Sent;
using test::WParam;

class InputTest : public test::DeviceTest {
protected:
    HWND form_ = nullptr;
    HWND control_ = nullptr;
    void SetUp() override {
        DeviceTest::SetUp();
        form_ = MakeWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
        control_ = MakeWindow("control", WS_CHILD | WS_VISIBLE, 20, 40, 100, 30, form_, 5);
        Pump();
    }
};

TEST_F(InputTest, ATapOnAnInactiveWindowActivatesItAndArrivesInClientCoordinates) {
    HWND other = MakeWindow("other", WS_POPUP | WS_VISIBLE, 0, 200, 240, 50);
    Pump();
    ASSERT_EQ(GetForegroundWindow(), other);
    test::StartLog();
    device::input::Tap(30, 26 + 45);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(
        test::Without(test::Log(), {WM_NCHITTEST, WM_PAINT, WM_NCPAINT, WM_ERASEBKGND, WM_KILLFOCUS, WM_SETFOCUS,
                                    WM_ACTIVATE, WM_NCACTIVATE}),
        {
            {"form", WM_PARENTNOTIFY, Sent | WParam | LParam, MAKEWPARAM(WM_LBUTTONDOWN, 0), MAKELPARAM(30, 45)},
            {"control", WM_MOUSEACTIVATE, Sent | LParam, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
            {"form", WM_MOUSEACTIVATE, Sent | LParam, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
            {"form", WM_WINDOWPOSCHANGING}, // activation brings it to the top
            {"form", WM_WINDOWPOSCHANGED},
            {"control", WM_SETCURSOR, Sent | LParam, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
            {"form", WM_SETCURSOR, Sent | LParam, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
            {"control", WM_LBUTTONDOWN, Posted | WParam | LParam, MK_LBUTTON, MAKELPARAM(10, 5)},
            {"control", WM_SETCURSOR, Sent | LParam, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONUP)},
            {"form", WM_SETCURSOR, Sent | LParam, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONUP)},
            {"control", WM_LBUTTONUP, Posted | WParam | LParam, 0, MAKELPARAM(10, 5)},
        },
        "a tap on a control of an inactive form"));
    EXPECT_EQ(GetForegroundWindow(), form_);
    auto activate = test::Only(test::Log(), {WM_ACTIVATE});
    ASSERT_FALSE(activate.empty());
    EXPECT_EQ(LOWORD(activate.back().wParam), WA_CLICKACTIVE);
}

TEST_F(InputTest, ATapOnADisabledWindowOnlySetsTheCursorWithHterror) {
    EnableWindow(form_, FALSE);
    test::StartLog();
    device::input::Tap(30, 26 + 45); // over the control of the disabled form
    Pump();
    EXPECT_TRUE(test::MatchesSequence(
        test::Without(test::Log(), {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}),
        {
            {"form", WM_SETCURSOR, Sent | WParam | LParam, reinterpret_cast<WPARAM>(form_),
             MAKELPARAM(static_cast<WORD>(HTERROR), WM_LBUTTONDOWN)},
            {"form", WM_SETCURSOR, Sent | WParam | LParam, reinterpret_cast<WPARAM>(form_),
             MAKELPARAM(static_cast<WORD>(HTERROR), WM_LBUTTONUP)},
        },
        "a tap on a disabled form"));
}

TEST_F(InputTest, CaptureSendsTheStylusToTheCapturingWindowWherePointed) {
    device::input::PointerDown(30, 26 + 45);
    Pump();
    SetCapture(control_);
    test::StartLog();
    device::input::PointerMove(200, 26 + 200);
    device::input::PointerUp(200, 26 + 200);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(
        test::WithoutNoise(test::Log()),
        {
            {"control", WM_MOUSEMOVE, Posted | WParam | LParam, MK_LBUTTON, MAKELPARAM(180, 160)},
            {"control", WM_LBUTTONUP, Posted | WParam | LParam, 0, MAKELPARAM(180, 160)},
        },
        "captured stylus"));
    test::StartLog();
    ReleaseCapture();
    EXPECT_TRUE(test::MatchesSequence(test::Log(), {{"control", WM_CAPTURECHANGED, Sent | LParam, 0, 0}},
                                      "release"));
}

TEST_F(InputTest, CaptureHandedOnTellsTheLoserWhoTookIt) {
    struct Step {
        const char* name;
        std::function<HWND()> act; // returns what the call returned
        HWND returned;
        HWND holder; // GetCapture() afterwards
        std::vector<test::ExpectedMsg> sent;
    };
    const auto release = [] {
        ReleaseCapture();
        return HWND{};
    };
    const Step steps[] = {
        {"the control takes it", [&] { return SetCapture(control_); }, nullptr, control_, {}},
        {"the form takes it over",
         [&] { return SetCapture(form_); },
         control_,
         form_,
         {{"control", WM_CAPTURECHANGED, Sent | LParam, 0, reinterpret_cast<LPARAM>(form_)}}},
        {"released", release, nullptr, nullptr, {{"form", WM_CAPTURECHANGED, Sent | LParam, 0, 0}}},
        {"released again", release, nullptr, nullptr, {}},
    };
    for (const Step& step : steps) {
        test::StartLog();
        EXPECT_EQ(step.act(), step.returned) << step.name;
        EXPECT_EQ(GetCapture(), step.holder) << step.name;
        EXPECT_TRUE(test::MatchesSequence(test::Log(), step.sent, step.name));
    }
}

TEST_F(InputTest, TwoQuickTapsMakeADoubleClickForClassesThatAskForIt) {
    test::StartLog();
    device::input::Tap(30, 26 + 45);
    device::input::Tap(31, 26 + 46);
    Pump();
    auto presses = test::Only(test::Log(), {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK});
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(presses[1].message, WM_LBUTTONDBLCLK);
    test::StartLog();
    device::input::AdvanceClock(GetDoubleClickTime() + 1);
    device::input::Tap(30, 26 + 45);
    Pump();
    EXPECT_EQ(test::Only(test::Log(), {WM_LBUTTONDBLCLK}).size(), 0u);
}

TEST_F(InputTest, TypingReachesTheFocusWindowAsKeysAndCharacters) {
    SetFocus(control_);
    test::StartLog();
    device::input::TypeText(u"aş");
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_KEYDOWN, WM_KEYUP, WM_CHAR}),
                                      {
                                          {"control", WM_KEYDOWN, Posted | WParam, 'A'},
                                          {"control", WM_CHAR, Posted | WParam, u'a'},
                                          {"control", WM_KEYUP, Posted | WParam, 'A'},
                                          // No key of the keyboard gives ş: it comes as a bare character.
                                          {"control", WM_CHAR, Posted | WParam, u'ş'},
                                      },
                                      "typing"));
    test::StartLog();
    device::input::PressKey(VK_LEFT, true, false);
    Pump();
    EXPECT_TRUE(test::Only(test::Log(), {WM_CHAR}).empty()); // arrows make no character
}

TEST_F(InputTest, PostedMessagesComeBeforeQuitAndQuitBeforeInput) {
    SetFocus(control_);
    device::input::TypeText(u"x");
    PostQuitMessage(3);
    PostMessageW(control_, WM_USER, 1, 0);
    PostMessageW(nullptr, WM_USER + 1, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(DispatchMessageW(&msg), 0); // a thread message reaches no window
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN);
}

TEST_F(InputTest, GetMessageReturnsZeroForQuit) {
    PostQuitMessage(0);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, WM_QUIT);
}

} // namespace

namespace {

// Answers HTTRANSPARENT, as a label that does not notify does.
LRESULT CALLBACK SeeThroughProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) {
        return HTTRANSPARENT;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(InputTest, ATransparentWindowPassesTheTapToTheSiblingBeneath) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = SeeThroughProc;
    cls.lpszClassName = u"SeeThrough";
    RegisterClassW(&cls);
    HWND cover = CreateWindowExW(0, u"SeeThrough", u"", WS_CHILD | WS_VISIBLE, 0, 30, 200, 60, form_,
                                 reinterpret_cast<HMENU>(9), nullptr, nullptr);
    SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); // made last, so raised above the control
    ASSERT_EQ(GetWindow(form_, GW_CHILD), cover);
    test::StartLog();
    device::input::Tap(30, 26 + 45);
    Pump();
    auto presses = test::Only(test::Log(), {WM_LBUTTONDOWN});
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].hwnd, control_);
}

} // namespace
