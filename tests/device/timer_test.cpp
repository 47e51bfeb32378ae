// Timers: where WM_TIMER stands in the queue's order, one pending message per timer,
// KillTimer, timer procedures, and the caret's blink on the virtual clock.
#include "support/device_fixture.h"
#include "support/message_log.h"

#include <vector>

namespace {

using test::Posted;
using test::Sent;
using test::WParam;

struct ProcCall {
    HWND hwnd;
    UINT message;
    UINT_PTR id;
};
std::vector<ProcCall> g_procCalls;

void CALLBACK RecordingTimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD) {
    g_procCalls.push_back(ProcCall{hwnd, message, id});
}

class TimerTest : public test::DeviceTest {
protected:
    HWND window_ = nullptr;
    void SetUp() override {
        DeviceTest::SetUp();
        g_procCalls.clear();
        window_ = MakeWindow("window", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
        Pump();
    }
    size_t TimerMessages() { return test::Only(test::Log(), {WM_TIMER}).size(); }
};

TEST_F(TimerTest, WmTimerComesAfterPostedMessagesInputAndPainting) {
    SetTimer(window_, 1, 100, nullptr);
    device::input::AdvanceClock(150);
    InvalidateRect(window_, nullptr, FALSE);
    device::input::KeyDown('A');
    PostMessageW(window_, WM_USER, 0, 0);
    test::StartLog();
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_USER, WM_KEYDOWN, WM_PAINT, WM_TIMER}),
                                      {
                                          {"window", WM_USER, Posted},
                                          {"window", WM_KEYDOWN, Posted},
                                          {"window", WM_PAINT, Posted},
                                          {"window", WM_TIMER, Posted | WParam, 1},
                                      },
                                      "a due timer with posted, input and paint waiting"));
}

TEST_F(TimerTest, ALateProgramGetsOneMessagePerTimerAndTheNextPeriodStartsWhenItIsTaken) {
    SetTimer(window_, 1, 100, nullptr);
    SetTimer(window_, 2, 300, nullptr);
    device::input::AdvanceClock(1000);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 1u) << "the timer that came due first comes first";
    test::StartLog();
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::Log(),
                                      {{"window", WM_TIMER, Posted | WParam, 1}, {"window", WM_TIMER, Posted | WParam, 2}},
                                      "ten periods late"));
    device::input::AdvanceClock(99);
    Pump();
    EXPECT_EQ(TimerMessages(), 2u) << "the period restarted when the message was taken";
    device::input::AdvanceClock(1);
    Pump();
    EXPECT_EQ(TimerMessages(), 3u);
}

TEST_F(TimerTest, KillTimerTakesAwayTheMessageItHadDue) {
    SetTimer(window_, 5, 50, nullptr);
    device::input::AdvanceClock(60);
    EXPECT_TRUE(KillTimer(window_, 5));
    EXPECT_FALSE(KillTimer(window_, 5));
    test::StartLog();
    Pump();
    EXPECT_EQ(TimerMessages(), 0u);
}

TEST_F(TimerTest, SettingARunningTimerAgainRestartsItsPeriod) {
    SetTimer(window_, 5, 100, nullptr);
    device::input::AdvanceClock(80);
    EXPECT_EQ(SetTimer(window_, 5, 100, nullptr), 5u);
    device::input::AdvanceClock(80);
    test::StartLog();
    Pump();
    EXPECT_EQ(TimerMessages(), 0u);
}

TEST_F(TimerTest, ATimerProcedureIsCalledInsteadOfTheWindowProcedure) {
    SetTimer(window_, 7, 50, RecordingTimerProc);
    UINT_PTR threadTimer = SetTimer(nullptr, 0, 50, RecordingTimerProc);
    EXPECT_NE(threadTimer, 0u);
    device::input::AdvanceClock(50);
    test::StartLog();
    Pump();
    EXPECT_EQ(TimerMessages(), 0u) << "the window procedure heard WM_TIMER";
    ASSERT_EQ(g_procCalls.size(), 2u);
    EXPECT_EQ(g_procCalls[0].hwnd, window_);
    EXPECT_EQ(g_procCalls[0].message, WM_TIMER);
    EXPECT_EQ(g_procCalls[0].id, 7u);
    EXPECT_EQ(g_procCalls[1].hwnd, nullptr);
    EXPECT_EQ(g_procCalls[1].id, threadTimer);
}

TEST_F(TimerTest, APostedWmTimerNamingNoLiveTimerCallsNothing) {
    PostMessageW(window_, WM_TIMER, 9, reinterpret_cast<LPARAM>(RecordingTimerProc));
    Pump();
    EXPECT_TRUE(g_procCalls.empty());
}

TEST_F(TimerTest, ADestroyedWindowsTimersAreGoneAndABadWindowGetsNone) {
    HWND child = MakeWindow("child", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window_, 1);
    SetTimer(child, 1, 10, nullptr);
    DestroyWindow(child);
    EXPECT_FALSE(KillTimer(child, 1));
    EXPECT_EQ(SetTimer(child, 1, 10, nullptr), 0u);
    device::input::AdvanceClock(100);
    test::StartLog();
    Pump();
    EXPECT_EQ(TimerMessages(), 0u);
}

TEST_F(TimerTest, RunningTheClockDeliversEveryPeriodThatComesDue) {
    SetTimer(window_, 1, 100, nullptr);
    test::StartLog();
    device::host::RunFor(350);
    EXPECT_EQ(TimerMessages(), 3u);
}

// The caret's pixel column inside an edit box, as the screen shows it.
class CaretBlinkTest : public TimerTest {
protected:
    bool CaretDrawn(HWND edit) {
        POINT caret{};
        GetCaretPos(&caret);
        ClientToScreen(edit, &caret);
        // The caret inverts the edit's white background.
        return device::diag::ScreenPixel(caret.x, caret.y + 2) != 0xFFFFFF;
    }
};

TEST_F(CaretBlinkTest, TheCaretBlinksOnTheClockAndTypingShowsItAtOnce) {
    HWND edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 22, window_,
                                reinterpret_cast<HMENU>(2), nullptr, nullptr);
    SetFocus(edit);
    Pump();
    const UINT blink = GetCaretBlinkTime();
    ASSERT_EQ(blink, 500u);
    struct Phase {
        DWORD after;
        bool drawn;
    };
    const Phase phases[] = {{0, true}, {blink - 1, true}, {1, false}, {blink, true}, {blink, false}};
    for (const Phase& phase : phases) {
        device::host::RunFor(phase.after);
        EXPECT_EQ(CaretDrawn(edit), phase.drawn) << "after " << phase.after << " more ms";
    }
    device::input::TypeText(u"a");
    Pump();
    EXPECT_TRUE(CaretDrawn(edit)) << "a moved caret shows at once";
    SetCaretBlinkTime(INFINITE);
    device::host::RunFor(5 * blink);
    EXPECT_TRUE(CaretDrawn(edit));
}

} // namespace
