// Creating and destroying windows: the messages and their order, failures, stale handles.
#include "support/device_fixture.h"
#include "support/message_log.h"

namespace {

using test::ExpectedMsg;
using test::LParam;
using test::Sent;
using test::WParam;

class WindowLifecycle : public test::DeviceTest {};

TEST_F(WindowLifecycle, VisibleChildIsCreatedSizedNotifiedAndShown) {
    HWND parent = MakeWindow("parent", WS_POPUP | WS_VISIBLE, 0, 30, 200, 200);
    Pump();
    test::StartLog();
    HWND child = MakeWindow("child", WS_CHILD | WS_VISIBLE, 10, 20, 50, 30, parent, 7);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(test::MatchesSequence(
        test::WithoutNoise(test::Log()),
        {
            {"child", WM_NCCREATE},
            {"child", WM_NCCALCSIZE, Sent | WParam, FALSE},
            {"child", WM_CREATE},
            {"child", WM_SIZE, Sent | WParam | LParam, SIZE_RESTORED, MAKELPARAM(50, 30)},
            {"child", WM_MOVE, Sent | LParam, 0, MAKELPARAM(10, 20)},
            {"parent", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_CREATE, 7)},
            {"child", WM_SHOWWINDOW, Sent | WParam, TRUE},
            {"child", WM_WINDOWPOSCHANGING},
            {"child", WM_WINDOWPOSCHANGED},
        },
        "visible child"));
    EXPECT_EQ(GetWindowLongW(child, GWL_ID), 7);
    EXPECT_EQ(GetParent(child), parent);
}

TEST_F(WindowLifecycle, VisiblePopupIsActivatedBetweenTheTwoPositionMessages) {
    test::StartLog();
    HWND popup = MakeWindow("popup", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(test::MatchesSequence(
        test::WithoutNoise(test::Log()),
        {
            {"popup", WM_NCCREATE},
            {"popup", WM_NCCALCSIZE},
            {"popup", WM_CREATE},
            {"popup", WM_SIZE, Sent | LParam, 0, MAKELPARAM(240, 268)},
            {"popup", WM_MOVE, Sent | LParam, 0, MAKELPARAM(0, 26)},
            {"popup", WM_SHOWWINDOW, Sent | WParam, TRUE},
            {"popup", WM_WINDOWPOSCHANGING},
            {"popup", WM_ACTIVATEAPP, Sent | WParam, TRUE},
            {"popup", WM_NCACTIVATE, Sent | WParam, TRUE},
            {"popup", WM_ACTIVATE, Sent | WParam, WA_ACTIVE},
            {"popup", WM_SETFOCUS},
            {"popup", WM_WINDOWPOSCHANGED},
        },
        "visible popup"));
    EXPECT_EQ(GetForegroundWindow(), popup);
    EXPECT_EQ(GetFocus(), popup);
}

TEST_F(WindowLifecycle, OverlappedWindowGetsItsFirstSizeAndMoveWhenShown) {
    test::StartLog();
    HWND window = MakeWindow("main", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(test::MatchesSequence(
        test::WithoutNoise(test::Log()),
        {
            {"main", WM_GETMINMAXINFO},
            {"main", WM_NCCREATE},
            {"main", WM_NCCALCSIZE},
            {"main", WM_CREATE},
            {"main", WM_SHOWWINDOW, Sent | WParam, TRUE},
            {"main", WM_WINDOWPOSCHANGING},
            {"main", WM_ACTIVATEAPP, Sent | WParam, TRUE},
            {"main", WM_NCACTIVATE, Sent | WParam, TRUE},
            {"main", WM_ACTIVATE, Sent | WParam, WA_ACTIVE},
            {"main", WM_SETFOCUS},
            {"main", WM_WINDOWPOSCHANGED},
            {"main", WM_SIZE, Sent | WParam | LParam, SIZE_RESTORED, MAKELPARAM(240, 294)},
            {"main", WM_MOVE, Sent | LParam, 0, MAKELPARAM(0, 26)},
        },
        "overlapped window"));
    RECT rect;
    GetWindowRect(window, &rect);
    // CW_USEDEFAULT fills the area below the navigation bar down to the screen's bottom.
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 26);
    EXPECT_EQ(rect.right, 240);
    EXPECT_EQ(rect.bottom, 320);
}

// A procedure whose answers to WM_NCCREATE and WM_CREATE the test chooses.
LRESULT g_ncCreateAnswer = TRUE;
LRESULT g_createAnswer = 0;

LRESULT CALLBACK ChoosyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE && g_ncCreateAnswer != TRUE) {
        return g_ncCreateAnswer;
    }
    if (message == WM_CREATE) {
        return g_createAnswer;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND MakeChoosy() {
    WNDCLASSW choosy{};
    choosy.lpfnWndProc = ChoosyProc;
    choosy.lpszClassName = u"Choosy";
    RegisterClassW(&choosy);
    return CreateWindowExW(0, u"Choosy", u"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
}

TEST_F(WindowLifecycle, RefusedCreationFailsAndTearsDownWhatWasBuilt) {
    test::StartLog();
    g_ncCreateAnswer = FALSE;
    EXPECT_EQ(MakeChoosy(), nullptr);
    g_ncCreateAnswer = TRUE;
    auto records = test::Only(test::Log(), {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY});
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].message, WM_NCCREATE);
    EXPECT_EQ(records[1].message, WM_NCDESTROY);
    EXPECT_FALSE(IsWindow(records[0].hwnd));

    test::StartLog();
    g_createAnswer = -1;
    EXPECT_EQ(MakeChoosy(), nullptr);
    g_createAnswer = 0;
    records = test::Only(test::Log(), {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY});
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1].message, WM_CREATE);
    EXPECT_EQ(records[2].message, WM_DESTROY);
    EXPECT_EQ(records[3].message, WM_NCDESTROY);
    EXPECT_FALSE(IsWindow(records[0].hwnd));
}

TEST_F(WindowLifecycle, DestroyRunsDownThenBackUpTheTreeAfterTheOwnedWindows) {
    HWND top = MakeWindow("top", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    HWND first = MakeWindow("first", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, 1);
    HWND inner = MakeWindow("inner", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, first, 2);
    HWND second = MakeWindow("second", WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, top, 3);
    HWND owned = MakeWindow("owned", WS_POPUP, 0, 0, 10, 10, top);
    Pump();
    test::StartLog();
    ASSERT_TRUE(DestroyWindow(top));
    // Children are made at the bottom of the z-order, and the platform walks them from the
    // top: creation order.
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_DESTROY, WM_NCDESTROY}),
                                      {
                                          {"owned", WM_DESTROY},
                                          {"owned", WM_NCDESTROY},
                                          {"top", WM_DESTROY},
                                          {"first", WM_DESTROY},
                                          {"inner", WM_DESTROY},
                                          {"second", WM_DESTROY},
                                          {"inner", WM_NCDESTROY},
                                          {"first", WM_NCDESTROY},
                                          {"second", WM_NCDESTROY},
                                          {"top", WM_NCDESTROY},
                                      },
                                      "destroying a tree"));
    for (HWND hwnd : {top, first, inner, second, owned}) {
        EXPECT_FALSE(IsWindow(hwnd));
    }
}

TEST_F(WindowLifecycle, StaleHandlesFailSafely) {
    HWND window = MakeWindow("window", WS_POPUP, 0, 0, 10, 10);
    ASSERT_TRUE(DestroyWindow(window));
    SetLastError(0);
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_FALSE(PostMessageW(window, WM_USER, 0, 0));
    RECT rect;
    EXPECT_FALSE(GetWindowRect(window, &rect));
    // A new window may reuse the slot, but never the handle.
    HWND next = MakeWindow("next", WS_POPUP, 0, 0, 10, 10);
    EXPECT_NE(next, window);
    EXPECT_FALSE(IsWindow(window));
}

} // namespace
