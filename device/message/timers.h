// Timers: SetTimer and KillTimer, and the WM_TIMER that the queue makes for a timer that
// has come due when nothing else is waiting.
#pragma once

#include "message/queue.h"
#include "window/window.h"

namespace device {

// Takes the WM_TIMER of the timer that came due first, if any passes the filter. Taking
// it with `remove` starts the timer's next period, so a timer never has more than one
// WM_TIMER waiting, however late the program is.
bool TakeTimerMessage(MSG* msg, const MessageFilter& filter, bool remove);

// The timer procedure a WM_TIMER names, if it is the procedure of a live timer; nullptr
// otherwise, so that a posted lParam is never called as code.
TIMERPROC TimerProcOf(const MSG& msg);

// Milliseconds until the next timer, the caret's blink included, comes due: 0 when one
// is due now, INFINITE when none runs.
DWORD TimeUntilNextTimer();

void ForgetTimersOf(const Window* window);
void ResetTimers();

} // namespace device
