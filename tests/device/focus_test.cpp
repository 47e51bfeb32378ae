// Focus, activation and enabling: the message order the platform uses and the refusals.
#include "support/device_fixture.h"
#include "support/message_log.h"

namespace {

using test::LParam;
using test::Sent;
using test::WParam;

class FocusTest : public test::DeviceTest {
protected:
    HWND form_ = nullptr;
    HWND first_ = nullptr;
    HWND second_ = nullptr;
    void SetUp() override {
        DeviceTest::SetUp();
        form_ = MakeWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
        first_ = MakeWindow("first", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, form_, 1);
        second_ = MakeWindow("second", WS_CHILD | WS_VISIBLE, 0, 30, 50, 20, form_, 2);
        Pump();
    }
};

TEST_F(FocusTest, SetFocusKillsTheOldFocusFirstAndReturnsIt) {
    SetFocus(first_);
    test::StartLog();
    EXPECT_EQ(SetFocus(second_), first_);
    EXPECT_TRUE(test::MatchesSequence(test::Log(),
                                      {
                                          {"first", WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(second_)},
                                          {"second", WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(first_)},
                                      },
                                      "SetFocus"));
    test::StartLog();
    EXPECT_EQ(SetFocus(second_), second_);
    EXPECT_TRUE(test::Log().empty());
}

TEST_F(FocusTest, DisabledWindowsAndTheirChildrenRefuseTheFocus) {
    SetFocus(first_);
    EnableWindow(second_, FALSE);
    EXPECT_EQ(SetFocus(second_), nullptr);
    EXPECT_EQ(GetFocus(), first_);
    HWND inner = MakeWindow("inner", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, second_, 3);
    EXPECT_EQ(SetFocus(inner), nullptr);
    EXPECT_EQ(GetFocus(), first_);
}

TEST_F(FocusTest, DisablingTheFocusWindowCancelsModeTakesTheFocusAndSaysSo) {
    SetFocus(first_);
    test::StartLog();
    EXPECT_FALSE(EnableWindow(first_, FALSE)); // it was enabled
    EXPECT_TRUE(test::MatchesSequence(test::Log(),
                                      {
                                          {"first", WM_CANCELMODE},
                                          {"first", WM_KILLFOCUS, Sent | WParam, 0},
                                          {"first", WM_ENABLE, Sent | WParam, FALSE},
                                      },
                                      "disabling the focus window"));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(first_));
    test::StartLog();
    EXPECT_TRUE(EnableWindow(first_, TRUE)); // it was disabled
    EXPECT_TRUE(test::MatchesSequence(test::Log(), {{"first", WM_ENABLE, Sent | WParam, TRUE}}, "enabling"));
    EXPECT_FALSE(EnableWindow(first_, TRUE));
}

TEST_F(FocusTest, ActivationDeactivatesTheOldWindowBeforeTheNewOneAndMovesTheFocus) {
    SetFocus(first_);
    HWND other = MakeWindow("other", WS_POPUP, 0, 26, 100, 100);
    test::StartLog();
    EXPECT_TRUE(SetForegroundWindow(other));
    EXPECT_TRUE(test::MatchesSequence(
        test::WithoutNoise(test::Log()),
        {
            {"other", WM_WINDOWPOSCHANGING}, // brought to the top first; it already is
            {"form", WM_NCACTIVATE, Sent | WParam | LParam, FALSE, reinterpret_cast<LPARAM>(other)},
            {"form", WM_ACTIVATE, Sent | WParam | LParam, WA_INACTIVE, reinterpret_cast<LPARAM>(other)},
            {"other", WM_NCACTIVATE, Sent | WParam, TRUE},
            {"other", WM_ACTIVATE, Sent | WParam | LParam, WA_ACTIVE, reinterpret_cast<LPARAM>(form_)},
            {"first", WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(other)},
            {"other", WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(first_)},
        },
        "switching the foreground window"));
    EXPECT_EQ(GetForegroundWindow(), other);
    EXPECT_EQ(GetFocus(), other);
}

TEST_F(FocusTest, FocusingAChildOfAnInactiveWindowActivatesItFirst) {
    HWND other = MakeWindow("other", WS_POPUP | WS_VISIBLE, 0, 26, 100, 100);
    Pump();
    ASSERT_EQ(GetForegroundWindow(), other);
    // Activating the form gives it the focus first (its default WM_ACTIVATE handling), so
    // that is what SetFocus reports as the previous focus.
    EXPECT_EQ(SetFocus(second_), form_);
    EXPECT_EQ(GetForegroundWindow(), form_);
    EXPECT_EQ(GetFocus(), second_);
}

TEST_F(FocusTest, DestroyingTheActiveWindowActivatesItsVisibleEnabledOwner) {
    HWND dialog = MakeWindow("dialog", WS_POPUP | WS_VISIBLE, 10, 40, 100, 100, form_);
    Pump();
    ASSERT_EQ(GetForegroundWindow(), dialog);
    DestroyWindow(dialog);
    EXPECT_EQ(GetForegroundWindow(), form_);
    EXPECT_EQ(GetFocus(), form_);
}

TEST_F(FocusTest, KeyStateFollowsTheKeyboardMessagesTakenFromTheQueue) {
    SetFocus(first_);
    device::input::KeyDown(VK_SHIFT);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0); // not taken from the queue yet
    Pump();
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    device::input::KeyUp(VK_SHIFT);
    Pump();
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

} // namespace
