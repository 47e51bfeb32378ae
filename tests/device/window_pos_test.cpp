// SetWindowPos: what moving, sizing and frame changes send, and the rectangles that
// result, borders, caption and scroll bars included.
#include "support/device_fixture.h"
#include "support/message_log.h"

#include <string>
#include <vector>

namespace {

using test::LParam;
using test::Sent;
using test::WParam;

class WindowPosTest : public test::DeviceTest {
protected:
    HWND parent_ = nullptr;
    HWND child_ = nullptr;
    void SetUp() override {
        DeviceTest::SetUp();
        parent_ = MakeWindow("parent", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
        child_ = MakeWindow("child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, parent_, 1);
        Pump();
    }
};

TEST_F(WindowPosTest, MovingOnlySendsWmMove) {
    test::StartLog();
    SetWindowPos(child_, nullptr, 20, 30, 50, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(test::MatchesSequence(test::WithoutNoise(test::Log()),
                                      {
                                          {"child", WM_WINDOWPOSCHANGING},
                                          {"child", WM_WINDOWPOSCHANGED},
                                          {"child", WM_MOVE, Sent | LParam, 0, MAKELPARAM(20, 30)},
                                      },
                                      "move"));
    auto changed = test::Only(test::Log(), {WM_WINDOWPOSCHANGED});
    ASSERT_EQ(changed.size(), 1u);
}

TEST_F(WindowPosTest, MovingAlongOneAxisKeepsTheOtherAndReportsTheNewClientOrigin) {
    HWND top = MakeWindow("top", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 40, 100, 100);
    struct Case {
        const char* role;
        HWND hwnd;
        int x;
        int y;
        LPARAM clientOrigin; // WM_MOVE: in the parent's client area, or on the screen
        RECT onScreen;
    };
    const Case cases[] = {
        {"child", child_, 25, 10, MAKELPARAM(25, 10), {25, 36, 75, 56}},
        {"child", child_, 25, 15, MAKELPARAM(25, 15), {25, 41, 75, 61}},
        {"top", top, 5, 40, MAKELPARAM(6, 41), {5, 40, 105, 140}},
        {"top", top, 5, 50, MAKELPARAM(6, 51), {5, 50, 105, 150}},
    };
    for (const Case& c : cases) {
        test::StartLog();
        SetWindowPos(c.hwnd, nullptr, c.x, c.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(test::MatchesSequence(test::WithoutNoise(test::Log()),
                                          {
                                              {c.role, WM_WINDOWPOSCHANGING},
                                              {c.role, WM_WINDOWPOSCHANGED},
                                              {c.role, WM_MOVE, Sent | LParam, 0, c.clientOrigin},
                                          },
                                          c.role));
        RECT rect;
        GetWindowRect(c.hwnd, &rect);
        EXPECT_TRUE(EqualRect(&rect, &c.onScreen)) << c.role << " at " << c.x << "," << c.y;
    }
}

TEST_F(WindowPosTest, InsertAfterPutsTheWindowDirectlyBelowThatSibling) {
    HWND second = MakeWindow("second", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, parent_, 2);
    HWND third = MakeWindow("third", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, parent_, 3);
    const auto order = [&] {
        std::vector<HWND> children;
        for (HWND w = GetWindow(parent_, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
            children.push_back(w);
        }
        return children;
    };
    constexpr UINT kOnlyOrder = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    // From a known order, whatever creation gave: child_, second, third.
    for (HWND w : {child_, second, third}) {
        SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, kOnlyOrder);
    }
    ASSERT_EQ(order(), (std::vector<HWND>{child_, second, third}));
    struct Step {
        HWND window;
        HWND insertAfter;
        std::vector<HWND> order;
    };
    const Step steps[] = {
        {third, child_, {child_, third, second}},  // upwards
        {child_, second, {third, second, child_}}, // downwards, to the bottom
        {second, child_, {third, child_, second}}, // below the bottom one
        {second, HWND_TOP, {second, third, child_}},
        {third, third, {second, third, child_}}, // after itself: stays
    };
    for (const Step& step : steps) {
        EXPECT_TRUE(SetWindowPos(step.window, step.insertAfter, 0, 0, 0, 0, kOnlyOrder));
        EXPECT_EQ(order(), step.order);
    }
}

TEST_F(WindowPosTest, ResizingOnlyRecomputesTheClientAndSendsWmSize) {
    test::StartLog();
    SetWindowPos(child_, nullptr, 0, 0, 70, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(test::MatchesSequence(test::WithoutNoise(test::Log()),
                                      {
                                          {"child", WM_WINDOWPOSCHANGING},
                                          {"child", WM_NCCALCSIZE, Sent | WParam, TRUE},
                                          {"child", WM_WINDOWPOSCHANGED},
                                          {"child", WM_SIZE, Sent | WParam | LParam, SIZE_RESTORED,
                                           MAKELPARAM(70, 40)},
                                      },
                                      "resize"));
}

TEST_F(WindowPosTest, FrameChangeRedrawsTheFrameAtOnceAndReportsNoNewGeometry) {
    test::StartLog();
    SetWindowPos(child_, nullptr, 0, 0, 0, 0, 0x37);
    EXPECT_TRUE(test::MatchesSequence(test::Log(),
                                      {
                                          {"child", WM_WINDOWPOSCHANGING},
                                          {"child", WM_NCCALCSIZE, Sent | WParam, TRUE},
                                          {"child", WM_NCPAINT},
                                          {"child", WM_ERASEBKGND},
                                          {"child", WM_WINDOWPOSCHANGED},
                                      },
                                      "SWP_FRAMECHANGED with 0x37"));
}

TEST_F(WindowPosTest, TheSameRectangleAgainChangesNothing) {
    test::StartLog();
    SetWindowPos(child_, nullptr, 10, 10, 50, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(test::MatchesSequence(test::WithoutNoise(test::Log()), {{"child", WM_WINDOWPOSCHANGING}},
                                      "an unchanged rectangle"));
}

LRESULT CALLBACK KeepsPositionChanges(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGED) {
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(WindowPosTest, WmMoveAndWmSizeComeFromTheDefaultProcedure) {
    SetWindowLongPtrW(child_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeepsPositionChanges));
    test::StartLog();
    SetWindowPos(child_, nullptr, 5, 5, 80, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(test::Only(test::Log(), {WM_MOVE, WM_SIZE}).empty());
}

TEST_F(WindowPosTest, TheFrameTakesBorderCaptionAndScrollBarsFromTheClientArea) {
    HWND framed = MakeWindow("framed", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_VSCROLL | WS_HSCROLL, 5, 5, 100, 120,
                             parent_, 2);
    RECT window;
    RECT client;
    GetWindowRect(framed, &window);
    GetClientRect(framed, &client);
    EXPECT_EQ(window.left, 5);
    EXPECT_EQ(window.top, 26 + 5);
    int scroll = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(client.right, 100 - 2 - scroll);
    EXPECT_EQ(client.bottom, 120 - 2 - GetSystemMetrics(SM_CYCAPTION) - GetSystemMetrics(SM_CYHSCROLL));
    POINT origin{0, 0};
    ClientToScreen(framed, &origin);
    EXPECT_EQ(origin.x, 5 + 1);
    EXPECT_EQ(origin.y, 26 + 5 + 1 + GetSystemMetrics(SM_CYCAPTION));
    ScreenToClient(framed, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
}

TEST_F(WindowPosTest, ZOrderPutsTheRaisedSiblingFirstAndOwnedWindowsAboveTheirOwner) {
    HWND second = MakeWindow("second", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, parent_, 2);
    EXPECT_EQ(GetWindow(parent_, GW_CHILD), child_);
    SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(parent_, GW_CHILD), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), child_);

    HWND owned = MakeWindow("owned", WS_POPUP | WS_VISIBLE, 0, 26, 20, 20, parent_);
    HWND other = MakeWindow("other", WS_POPUP | WS_VISIBLE, 0, 26, 20, 20);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), parent_);
    SetForegroundWindow(parent_);
    // The owner came to the front, and its owned popup stays above it.
    HWND above = GetWindow(parent_, GW_HWNDPREV);
    EXPECT_EQ(above, owned);
    EXPECT_NE(GetWindow(owned, GW_HWNDNEXT), other);
}

TEST_F(WindowPosTest, NewChildrenGoBelowTheirSiblingsAndATapLandsOnTheFirstMade) {
    HWND first = MakeWindow("first", WS_CHILD | WS_VISIBLE, 100, 100, 60, 60, parent_, 11);
    HWND second = MakeWindow("second", WS_CHILD | WS_VISIBLE, 110, 110, 60, 60, parent_, 12);
    HWND third = MakeWindow("third", WS_CHILD | WS_VISIBLE, 120, 120, 60, 60, parent_, 13);
    EXPECT_EQ(GetWindow(parent_, GW_CHILD), child_);
    EXPECT_EQ(GetWindow(child_, GW_HWNDNEXT), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), third);
    HWND popup = MakeWindow("popup", WS_POPUP | WS_VISIBLE, 0, 26, 10, 10);
    EXPECT_EQ(GetWindow(parent_, GW_HWNDPREV), popup) << "a new top-level window still goes on top";
    Pump();
    test::StartLog();
    device::input::Tap(130, 26 + 130); // inside all three
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_LBUTTONDOWN, WM_LBUTTONUP}),
                                      {{"first", WM_LBUTTONDOWN, test::Posted}, {"first", WM_LBUTTONUP, test::Posted}},
                                      "a tap where three children overlap"));
}

// What WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED carried last, from a procedure that
// records them.
WINDOWPOS g_changing;
WINDOWPOS g_changed;
LRESULT CALLBACK RecordsPositionChanges(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) {
        g_changing = *reinterpret_cast<WINDOWPOS*>(lParam);
    }
    if (message == WM_WINDOWPOSCHANGED) {
        g_changed = *reinterpret_cast<WINDOWPOS*>(lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

RECT RectInParent(HWND hwnd) {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(WindowPosTest, WindowPosChangedCarriesTheResultingRectangleAndNoZOrderWhenNothingMoved) {
    SetWindowLongPtrW(child_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordsPositionChanges));
    // WM_WINDOWPOSCHANGING carries exactly the caller's flags: nothing is added before the
    // window has had its say.
    struct Case {
        const char* what;
        void (*act)(HWND);
        UINT changingFlags;
    };
    const Case cases[] = {
        {"move only", [](HWND w) { SetWindowPos(w, nullptr, 20, 30, 999, 999, SWP_NOSIZE | SWP_NOZORDER); },
         SWP_NOSIZE | SWP_NOZORDER},
        {"size only", [](HWND w) { SetWindowPos(w, nullptr, 99, 99, 70, 40, SWP_NOMOVE | SWP_NOZORDER); },
         SWP_NOMOVE | SWP_NOZORDER},
        {"moved and raised while on top", [](HWND w) { SetWindowPos(w, HWND_TOP, 5, 6, 0, 0, SWP_NOSIZE); },
         SWP_NOSIZE},
        {"hide", [](HWND w) { ShowWindow(w, SW_HIDE); },
         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE},
        {"shown while visible", [](HWND w) { SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE |
                                                                                   SWP_NOMOVE | SWP_NOZORDER); },
         SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER},
    };
    for (const Case& c : cases) {
        g_changing = g_changed = WINDOWPOS{};
        c.act(child_);
        EXPECT_EQ(g_changing.flags, c.changingFlags) << c.what;
        if (std::string(c.what) == "shown while visible") {
            continue; // nothing changed: no WM_WINDOWPOSCHANGED
        }
        RECT rect = RectInParent(child_);
        EXPECT_EQ(g_changed.hwnd, child_) << c.what;
        EXPECT_EQ(g_changed.x, rect.left) << c.what;
        EXPECT_EQ(g_changed.y, rect.top) << c.what;
        EXPECT_EQ(g_changed.cx, rect.right - rect.left) << c.what;
        EXPECT_EQ(g_changed.cy, rect.bottom - rect.top) << c.what;
        EXPECT_NE(g_changed.flags & SWP_NOZORDER, 0u) << c.what;
    }
    // The hide inside DestroyWindow reports the rectangle of a top-level window too.
    HWND popup = MakeWindow("popup", WS_POPUP | WS_VISIBLE, 30, 40, 50, 60);
    SetWindowLongPtrW(popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordsPositionChanges));
    g_changed = WINDOWPOS{};
    DestroyWindow(popup);
    EXPECT_EQ(g_changed.hwnd, popup);
    EXPECT_NE(g_changed.flags & SWP_HIDEWINDOW, 0u);
    EXPECT_EQ(g_changed.x, 30);
    EXPECT_EQ(g_changed.y, 40);
    EXPECT_EQ(g_changed.cx, 50);
    EXPECT_EQ(g_changed.cy, 60);
}

TEST_F(WindowPosTest, ResizingErasesWhatItUncoversBeforeReportingUnlessDeferred) {
    const std::initializer_list<UINT> erasing = {WM_WINDOWPOSCHANGING, WM_NCPAINT, WM_ERASEBKGND,
                                                 WM_WINDOWPOSCHANGED, WM_SIZE, WM_PAINT};
    test::StartLog();
    SetWindowPos(child_, nullptr, 0, 0, 30, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), erasing),
                                      {
                                          {"child", WM_WINDOWPOSCHANGING},
                                          {"parent", WM_NCPAINT},
                                          {"parent", WM_ERASEBKGND},
                                          {"child", WM_NCPAINT},
                                          {"child", WM_ERASEBKGND},
                                          {"child", WM_WINDOWPOSCHANGED},
                                          {"child", WM_SIZE},
                                      },
                                      "a resize that shrinks the width and grows the height"));
    test::StartLog();
    SetWindowPos(child_, nullptr, 0, 0, 50, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), erasing),
                                      {
                                          {"child", WM_WINDOWPOSCHANGING},
                                          {"child", WM_WINDOWPOSCHANGED},
                                          {"child", WM_SIZE},
                                          {"parent", WM_PAINT, test::Posted},
                                          {"parent", WM_NCPAINT},
                                          {"parent", WM_ERASEBKGND},
                                          {"child", WM_PAINT, test::Posted},
                                          {"child", WM_NCPAINT},
                                          {"child", WM_ERASEBKGND},
                                      },
                                      "the same with SWP_DEFERERASE"));
}

} // namespace
