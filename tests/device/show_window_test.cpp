// ShowWindow: the messages of each command, visibility through ancestors, and what
// happens to activation and focus.
#include "support/device_fixture.h"
#include "support/message_log.h"

namespace {

using test::LParam;
using test::Sent;
using test::WParam;

class ShowWindowTest : public test::DeviceTest {};

TEST_F(ShowWindowTest, HidingTheActiveWindowDeactivatesTheProgram) {
    HWND popup = MakeWindow("popup", WS_POPUP | WS_VISIBLE, 0, 26, 100, 100);
    Pump();
    ASSERT_EQ(GetFocus(), popup);
    test::StartLog();
    EXPECT_TRUE(ShowWindow(popup, SW_HIDE));
    EXPECT_TRUE(test::MatchesSequence(test::WithoutNoise(test::Log()),
                                      {
                                          {"popup", WM_SHOWWINDOW, Sent | WParam | LParam, FALSE, 0},
                                          {"popup", WM_WINDOWPOSCHANGING},
                                          {"popup", WM_WINDOWPOSCHANGED},
                                          {"popup", WM_NCACTIVATE, Sent | WParam, FALSE},
                                          {"popup", WM_ACTIVATE, Sent | WParam, WA_INACTIVE},
                                          {"popup", WM_ACTIVATEAPP, Sent | WParam, FALSE},
                                          {"popup", WM_KILLFOCUS},
                                      },
                                      "SW_HIDE of the active window"));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(ShowWindowTest, ShowWindowSendsWmShowWindowOnlyWhenVisibilityChanges) {
    HWND popup = MakeWindow("popup", WS_POPUP, 0, 26, 100, 100);
    EXPECT_FALSE(ShowWindow(popup, SW_SHOW)); // it was hidden
    test::StartLog();
    EXPECT_TRUE(ShowWindow(popup, SW_SHOW)); // it was visible
    EXPECT_TRUE(ShowWindow(popup, SW_SHOWNOACTIVATE));
    EXPECT_TRUE(test::Only(test::Log(), {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING}).empty());
    EXPECT_FALSE(ShowWindow(MakeWindow("hidden", WS_POPUP, 0, 0, 1, 1), SW_HIDE));
    EXPECT_TRUE(test::Only(test::Log(), {WM_SHOWWINDOW}).empty());
}

TEST_F(ShowWindowTest, MaximizingAHiddenWindowFillsTheWorkAreaWithoutWmShowWindow) {
    HWND window = MakeWindow("main", 0, 10, 40, 100, 100);
    test::StartLog();
    ShowWindow(window, SW_SHOWMAXIMIZED);
    auto log = test::WithoutNoise(test::Log());
    EXPECT_TRUE(test::Only(log, {WM_SHOWWINDOW}).empty());
    EXPECT_TRUE(test::MatchesSequence(test::Only(log, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED,
                                                       WM_MOVE, WM_SIZE, WM_ACTIVATE}),
                                      {
                                          {"main", WM_WINDOWPOSCHANGING},
                                          {"main", WM_NCCALCSIZE, Sent | WParam, TRUE},
                                          {"main", WM_ACTIVATE, Sent | WParam, WA_ACTIVE},
                                          {"main", WM_WINDOWPOSCHANGED},
                                          {"main", WM_MOVE, Sent | LParam, 0, MAKELPARAM(0, 26)},
                                          {"main", WM_SIZE, Sent | WParam | LParam, SIZE_MAXIMIZED,
                                           MAKELPARAM(240, 294)},
                                      },
                                      "SW_SHOWMAXIMIZED"));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.top, 26);
    EXPECT_EQ(rect.bottom, 320);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_MAXIMIZE, 0);
}

TEST_F(ShowWindowTest, MinimizingWithoutActivationReportsAnEmptyClientArea) {
    HWND other = MakeWindow("other", WS_POPUP | WS_VISIBLE, 0, 26, 50, 50);
    HWND window = MakeWindow("window", WS_POPUP | WS_VISIBLE, 0, 26, 100, 100);
    Pump();
    SetForegroundWindow(other);
    test::StartLog();
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(test::MatchesSequence(test::ForRole(test::WithoutNoise(test::Log()), "window"),
                                      {
                                          {"window", WM_WINDOWPOSCHANGING},
                                          {"window", WM_NCCALCSIZE, Sent | WParam, TRUE},
                                          {"window", WM_WINDOWPOSCHANGED},
                                          {"window", WM_MOVE},
                                          {"window", WM_SIZE, Sent | WParam | LParam, SIZE_MINIMIZED, 0},
                                      },
                                      "SW_SHOWMINNOACTIVE"));
    EXPECT_EQ(GetActiveWindow(), other);
}

TEST_F(ShowWindowTest, VisibilityCountsAncestorsAndAHiddenParentOnlyFlipsTheBit) {
    HWND parent = MakeWindow("parent", WS_POPUP, 0, 26, 100, 100);
    HWND child = MakeWindow("child", WS_CHILD, 0, 0, 10, 10, parent);
    test::StartLog();
    ShowWindow(child, SW_SHOW);
    EXPECT_TRUE(test::MatchesSequence(test::WithoutNoise(test::Log()),
                                      {{"child", WM_SHOWWINDOW, Sent | WParam, TRUE}},
                                      "showing a child of a hidden parent"));
    EXPECT_NE(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_FALSE(IsWindowVisible(child));
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(child));
}

TEST_F(ShowWindowTest, HidingAChildHandsItsFocusToTheParent) {
    HWND parent = MakeWindow("parent", WS_POPUP | WS_VISIBLE, 0, 26, 100, 100);
    HWND child = MakeWindow("child", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent);
    SetFocus(child);
    ASSERT_EQ(GetFocus(), child);
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(GetFocus(), parent);
}

} // namespace
