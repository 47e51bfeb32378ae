// The window's own scroll bars: clamping, showing and hiding with the client area, and
// the scroll messages that taps and drags produce.
#include "support/device_fixture.h"
#include "support/message_log.h"

namespace {

using test::LParam;
using test::Sent;
using test::WParam;

class ScrollBarTest : public test::DeviceTest {
protected:
    HWND window_ = nullptr;
    void SetUp() override {
        DeviceTest::SetUp();
        window_ = MakeWindow("window", WS_POPUP | WS_VISIBLE, 0, 26, 200, 200);
        Pump();
    }
    SCROLLINFO Info(int bar) {
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(window_, bar, &info);
        return info;
    }
    int SetRange(int bar, int max, UINT page, int pos) {
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, max, page, pos, 0};
        return SetScrollInfo(window_, bar, &info, TRUE);
    }
};

TEST_F(ScrollBarTest, NoScrollInfoBeforeTheFirstSet) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    SetLastError(0);
    EXPECT_FALSE(GetScrollInfo(window_, SB_VERT, &info));
    EXPECT_EQ(GetLastError(), ERROR_NO_SCROLLBARS);
}

TEST_F(ScrollBarTest, ThePositionIsClampedToTheLastFullPage) {
    EXPECT_EQ(SetRange(SB_VERT, 99, 10, 500), 90); // nMax - max(nPage, 1) + 1
    EXPECT_EQ(Info(SB_VERT).nPos, 90);
    EXPECT_EQ(SetRange(SB_VERT, 99, 0, 500), 99); // a page of 0 counts as 1
    EXPECT_EQ(SetRange(SB_VERT, 99, 10, -5), 0);
    EXPECT_EQ(SetScrollPos(window_, SB_VERT, 95, TRUE), 0); // returns the previous position
    EXPECT_EQ(GetScrollPos(window_, SB_VERT), 90);
    SCROLLINFO bigPage{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 1000, 0, 0};
    SetScrollInfo(window_, SB_VERT, &bigPage, FALSE);
    EXPECT_EQ(Info(SB_VERT).nPage, 100u); // the page never exceeds the range
}

TEST_F(ScrollBarTest, ABarShowsOnlyWhileTheRangeExceedsThePageAndShrinksTheClientArea) {
    test::StartLog();
    SetRange(SB_VERT, 299, 200, 0);
    EXPECT_NE(GetWindowLongW(window_, GWL_STYLE) & WS_VSCROLL, 0);
    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_TRUE(test::MatchesSequence(
        test::Only(test::Log(), {WM_NCCALCSIZE, WM_SIZE}),
        {
            {"window", WM_NCCALCSIZE, Sent | WParam, TRUE},
            {"window", WM_SIZE, Sent | LParam, 0, MAKELPARAM(200 - GetSystemMetrics(SM_CXVSCROLL), 200)},
        },
        "a bar appearing"));
    SetRange(SB_VERT, 99, 200, 0);
    EXPECT_EQ(GetWindowLongW(window_, GWL_STYLE) & WS_VSCROLL, 0);
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 200);
    // Hidden, the bar still answers with its values.
    EXPECT_EQ(Info(SB_VERT).nMax, 99);
}

TEST_F(ScrollBarTest, TapsOnTheArrowsAndTheTrackSendLineAndPageCodes) {
    SetRange(SB_VERT, 999, 100, 0);
    RECT bar;
    GetWindowRect(window_, &bar);
    int x = bar.right - 5;
    test::StartLog();
    device::input::Tap(x, bar.bottom - 5); // the down arrow
    device::input::Tap(x, bar.bottom - 40); // the track below the thumb
    device::input::Tap(x, bar.top + 3);     // the up arrow
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_VSCROLL}),
                                      {
                                          {"window", WM_VSCROLL, Sent | WParam, SB_LINEDOWN},
                                          {"window", WM_VSCROLL, Sent | WParam, SB_ENDSCROLL},
                                          {"window", WM_VSCROLL, Sent | WParam, SB_PAGEDOWN},
                                          {"window", WM_VSCROLL, Sent | WParam, SB_ENDSCROLL},
                                          {"window", WM_VSCROLL, Sent | WParam, SB_LINEUP},
                                          {"window", WM_VSCROLL, Sent | WParam, SB_ENDSCROLL},
                                      },
                                      "taps on a scroll bar"));
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenSetsThePosition) {
    SetRange(SB_VERT, 999, 100, 0);
    RECT bar;
    GetWindowRect(window_, &bar);
    int x = bar.right - 5;
    int thumbY = bar.top + GetSystemMetrics(SM_CYVSCROLL) + 3;
    test::StartLog();
    device::input::PointerDown(x, thumbY);
    device::input::PointerMove(x, thumbY + 40);
    device::input::PointerUp(x, thumbY + 40);
    Pump();
    auto scrolls = test::Only(test::Log(), {WM_VSCROLL});
    ASSERT_EQ(scrolls.size(), 3u);
    EXPECT_EQ(LOWORD(scrolls[0].wParam), SB_THUMBTRACK);
    EXPECT_EQ(LOWORD(scrolls[1].wParam), SB_THUMBPOSITION);
    EXPECT_EQ(LOWORD(scrolls[2].wParam), SB_ENDSCROLL);
    int tracked = HIWORD(scrolls[0].wParam);
    EXPECT_GT(tracked, 0);
    EXPECT_EQ(HIWORD(scrolls[1].wParam), tracked);
    // The program moves the thumb itself; the platform only reported where it was dragged.
    EXPECT_EQ(Info(SB_VERT).nPos, 0);
}

} // namespace
