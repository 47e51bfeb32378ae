// Window-manager behaviours Win32 programs rely on: activation through SetFocus and
// SetWindowPos, hiding without handing activation on, the capture of an owned popup on
// destruction, SW_SHOWNA, WM_CANCELMODE on disabling, and a WM_QUIT that outlives its window.
#include "support/device_fixture.h"
#include "support/message_log.h"

namespace {

using test::LParam;
using test::Posted;
using test::Sent;
using test::WParam;

class WindowManager : public test::DeviceTest {
protected:
    HWND first_ = nullptr;
    HWND firstChild_ = nullptr;
    HWND second_ = nullptr;
    HWND secondChild_ = nullptr;
    void SetUp() override {
        DeviceTest::SetUp();
        first_ = MakeWindow("first", WS_POPUP | WS_VISIBLE, 0, 26, 240, 150);
        firstChild_ = MakeWindow("first child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, first_, 1);
        second_ = MakeWindow("second", WS_POPUP | WS_VISIBLE, 0, 100, 240, 150);
        secondChild_ = MakeWindow("second child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, second_, 1);
        SetFocus(secondChild_);
        Pump();
    }

    static test::Records Activation() {
        return test::Only(test::Log(), {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE,
                                        WM_KILLFOCUS, WM_SETFOCUS});
    }
};

TEST_F(WindowManager, SetFocusInAnInactiveWindowBringsItUpThenActivatesIt) {
    ASSERT_EQ(GetActiveWindow(), second_);
    test::StartLog();
    SetFocus(firstChild_);
    EXPECT_EQ(GetFocus(), firstChild_);
    EXPECT_TRUE(test::MatchesSequence(
        Activation(),
        {
            {"first", WM_WINDOWPOSCHANGING},
            {"first", WM_WINDOWPOSCHANGED},
            {"second", WM_NCACTIVATE, Sent | WParam, FALSE},
            {"second", WM_ACTIVATE, Sent | WParam | LParam, WA_INACTIVE, reinterpret_cast<LPARAM>(first_)},
            {"first", WM_NCACTIVATE, Sent | WParam, TRUE},
            {"first", WM_ACTIVATE, Sent | WParam | LParam, WA_ACTIVE, reinterpret_cast<LPARAM>(second_)},
            {"second child", WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(first_)},
            {"first", WM_SETFOCUS},
            {"first", WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(firstChild_)},
            {"first child", WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(first_)},
        },
        "SetFocus on a child of the window below"));
    EXPECT_EQ(GetWindow(second_, GW_HWNDPREV), first_);
}

TEST_F(WindowManager, SetWindowPosActivatesATopLevelWindowUnlessToldNot) {
    struct Case {
        const char* name;
        UINT flags;
        bool activates;
    };
    const Case cases[] = {
        {"raised", SWP_NOMOVE | SWP_NOSIZE, true},
        {"moved, z-order kept", SWP_NOSIZE | SWP_NOZORDER, true},
        {"raised without activation", SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE, false},
    };
    for (const Case& c : cases) {
        SetForegroundWindow(second_);
        SetWindowPos(first_, HWND_TOP, 0, 20, 0, 0, c.flags);
        EXPECT_EQ(GetActiveWindow() == first_, c.activates) << c.name;
        // An activated window always comes to the top.
        EXPECT_EQ(GetWindow(second_, GW_HWNDPREV) == first_, (c.flags & SWP_NOZORDER) == 0 || c.activates)
            << c.name;
    }
}

TEST_F(WindowManager, OnlyShowWindowHandsActivationOnWhenTheActiveWindowIsHidden) {
    struct Case {
        const char* name;
        void (*hide)(HWND);
        bool staysActive;
    };
    const Case cases[] = {
        {"SetWindowPos(SWP_HIDEWINDOW)",
         [](HWND w) { SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER); },
         true},
        {"ShowWindow(SW_HIDE)", [](HWND w) { ShowWindow(w, SW_HIDE); }, false},
    };
    for (const Case& c : cases) {
        ShowWindow(second_, SW_SHOW);
        SetForegroundWindow(second_);
        c.hide(second_);
        EXPECT_FALSE(IsWindowVisible(second_)) << c.name;
        EXPECT_EQ(GetActiveWindow() == second_, c.staysActive) << c.name;
        EXPECT_EQ(GetActiveWindow() == first_, !c.staysActive) << c.name;
    }
}

TEST_F(WindowManager, AnOwnedPopupHoldingTheCaptureHearsWmDestroyBeforeLosingIt) {
    HWND popup = CreateWindowExW(0, kPlainClass, u"", WS_POPUP | WS_VISIBLE, 10, 60, 100, 80, first_, nullptr,
                                 nullptr, nullptr);
    device::spy::SetRole(popup, "popup");
    SetCapture(popup);
    test::StartLog();
    DestroyWindow(first_);
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_DESTROY, WM_CAPTURECHANGED, WM_NCDESTROY}),
                                      {
                                          {"popup", WM_DESTROY},
                                          {"popup", WM_CAPTURECHANGED, Sent | LParam, 0},
                                          {"popup", WM_NCDESTROY},
                                          {"first", WM_DESTROY},
                                          {"first child", WM_DESTROY},
                                          {"first child", WM_NCDESTROY},
                                          {"first", WM_NCDESTROY},
                                      },
                                      "destroying the owner of a popup with the capture"));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowManager, ShowNaAnnouncesItselfAndDisablingCancelsModesEvenTwice) {
    test::StartLog();
    ShowWindow(first_, SW_SHOWNA); // already visible
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_SHOWWINDOW}),
                                      {{"first", WM_SHOWWINDOW, Sent | WParam, TRUE}}, "SW_SHOWNA while visible"));
    EXPECT_EQ(GetActiveWindow(), second_);

    EnableWindow(firstChild_, FALSE);
    test::StartLog();
    EXPECT_TRUE(EnableWindow(firstChild_, FALSE));
    EXPECT_TRUE(test::MatchesSequence(test::Log(), {{"first child", WM_CANCELMODE}}, "disabling a disabled window"));
}

TEST_F(WindowManager, AQuitPostedToAWindowDestroyedBeforeItIsReadStillEndsTheLoop) {
    PostMessageW(firstChild_, WM_USER, 0, 0);
    PostMessageW(firstChild_, WM_QUIT, 7, 0);
    DestroyWindow(firstChild_);
    MSG msg{};
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

} // namespace
