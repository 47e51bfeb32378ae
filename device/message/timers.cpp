// SetTimer, KillTimer and the making of WM_TIMER.
#include "message/timers.h"

#include "input/caret.h"
#include "message/clock.h"
#include "window/window_registry.h"

#include <algorithm>
#include <vector>

namespace device {
namespace {

struct Timer {
    HWND hwnd = nullptr; // nullptr: a thread timer, whose WM_TIMER only a procedure hears
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    DWORD due = 0;
};

// In order of setting, so that timers coming due together fire in that order.
std::vector<Timer> g_timers;
UINT_PTR g_nextThreadTimerId = 1;

// Signed, so that the comparison survives the tick count wrapping.
LONG Remaining(DWORD due, DWORD now) { return static_cast<LONG>(due - now); }

std::vector<Timer>::iterator Find(HWND hwnd, UINT_PTR id) {
    return std::find_if(g_timers.begin(), g_timers.end(),
                        [&](const Timer& timer) { return timer.hwnd == hwnd && timer.id == id; });
}

UINT_PTR NewThreadTimerId() {
    while (g_nextThreadTimerId == 0 || Find(nullptr, g_nextThreadTimerId) != g_timers.end()) {
        ++g_nextThreadTimerId;
    }
    return g_nextThreadTimerId++;
}

} // namespace

bool TakeTimerMessage(MSG* msg, const MessageFilter& filter, bool remove) {
    if (!filter.MatchesNumber(WM_TIMER)) {
        return false;
    }
    const DWORD now = Now();
    Timer* first = nullptr;
    for (Timer& timer : g_timers) {
        if (Remaining(timer.due, now) > 0 || !filter.MatchesWindow(timer.hwnd)) {
            continue;
        }
        if (timer.hwnd != nullptr && LookUp(timer.hwnd) == nullptr) {
            continue;
        }
        if (first == nullptr || Remaining(timer.due, first->due) < 0) {
            first = &timer;
        }
    }
    if (first == nullptr) {
        return false;
    }
    *msg = MSG{first->hwnd, WM_TIMER, first->id, reinterpret_cast<LPARAM>(first->proc), now, CursorPosition()};
    if (remove) {
        first->due = now + first->elapse;
    }
    return true;
}

TIMERPROC TimerProcOf(const MSG& msg) {
    if (msg.message != WM_TIMER || msg.lParam == 0) {
        return nullptr;
    }
    auto it = Find(msg.hwnd, msg.wParam);
    if (it == g_timers.end() || reinterpret_cast<LPARAM>(it->proc) != msg.lParam) {
        return nullptr;
    }
    return it->proc;
}

DWORD TimeUntilNextTimer() {
    const DWORD now = Now();
    DWORD next = TimeUntilCaretBlink();
    for (const Timer& timer : g_timers) {
        LONG remaining = Remaining(timer.due, now);
        next = std::min(next, remaining <= 0 ? 0 : static_cast<DWORD>(remaining));
    }
    return next;
}

void ForgetTimersOf(const Window* window) {
    HWND hwnd = window->handle;
    std::erase_if(g_timers, [hwnd](const Timer& timer) { return timer.hwnd == hwnd; });
}

void ResetTimers() {
    g_timers.clear();
    g_nextThreadTimerId = 1;
}

} // namespace device

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    if (hWnd != nullptr && device::FromHandle(hWnd) == nullptr) {
        return 0;
    }
    UINT elapse = std::clamp<UINT>(uElapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    DWORD due = device::Now() + elapse;
    auto it = device::Find(hWnd, nIDEvent);
    if (hWnd == nullptr && it == device::g_timers.end()) {
        // A thread timer gets an identifier of its own unless it names one that runs.
        nIDEvent = device::NewThreadTimerId();
    }
    if (it != device::g_timers.end()) {
        // Setting a running timer again replaces it; a WM_TIMER it had due is gone.
        *it = device::Timer{hWnd, nIDEvent, elapse, lpTimerFunc, due};
    } else {
        device::g_timers.push_back(device::Timer{hWnd, nIDEvent, elapse, lpTimerFunc, due});
    }
    return nIDEvent != 0 ? nIDEvent : 1;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    auto it = device::Find(hWnd, uIDEvent);
    if (it == device::g_timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    device::g_timers.erase(it);
    return TRUE;
}
