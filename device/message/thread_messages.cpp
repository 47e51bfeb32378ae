// The calls about the thread's queue as a whole: thread messages, the send variants that
// on one thread are plain sends, the queue status, and waiting for input with a timeout.
// The program has one thread; its identifier is fixed.
#include "input/input_queue.h"
#include "message/clock.h"
#include "message/queue.h"
#include "message/timers.h"
#include "paint/update_region.h"
#include "runtime/idle.h"
#include "window/window_registry.h"

namespace {

constexpr DWORD kThreadId = 1;
constexpr DWORD kProcessId = 1;

// The kinds of message waiting now (the QS_* bits).
UINT WaitingKinds() {
    UINT kinds = device::PendingInputStatus();
    if (device::HasPostedMessages() || device::IsQuitPending()) {
        kinds |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    }
    MSG paint;
    if (device::FindPaintMessage(&paint, device::MessageFilter{})) {
        kinds |= QS_PAINT;
    }
    if (device::TimeUntilNextTimer() == 0) {
        kinds |= QS_TIMER;
    }
    return kinds;
}

// The kinds GetQueueStatus reported last, so that its low word names what is new.
UINT g_reported = 0;

} // namespace

DWORD WINAPI GetCurrentThreadId() { return kThreadId; }
DWORD WINAPI GetCurrentProcessId() { return kProcessId; }

BOOL WINAPI PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (idThread != kThreadId) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return PostMessageW(nullptr, Msg, wParam, lParam);
}

// The window belongs to the calling thread, so the message is sent and its answer dropped.
BOOL WINAPI SendNotifyMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (device::FromHandle(hWnd) == nullptr) {
        return FALSE;
    }
    SendMessageW(hWnd, Msg, wParam, lParam);
    return TRUE;
}

// On the window's own thread the timeout never applies.
LRESULT WINAPI SendMessageTimeoutW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout,
                                   PDWORD_PTR lpdwResult) {
    (void)fuFlags;
    (void)uTimeout;
    if (device::FromHandle(hWnd) == nullptr) {
        return 0;
    }
    LRESULT result = SendMessageW(hWnd, Msg, wParam, lParam);
    if (lpdwResult != nullptr) {
        *lpdwResult = static_cast<DWORD_PTR>(result);
    }
    return 1;
}

// High word: what is waiting; low word: what of it arrived since the last call.
DWORD WINAPI GetQueueStatus(UINT flags) {
    UINT waiting = WaitingKinds() & flags;
    UINT fresh = waiting & ~g_reported;
    g_reported = waiting;
    return MAKELONG(fresh, waiting);
}

// There are no kernel objects to wait for on the device: only the queue, which answers
// WAIT_OBJECT_0 + nCount when a message of the wake mask is there. Meanwhile the device does
// what waiting means to it (the next script step, the desktop window's input, a timer).
// When nothing more can come the device posts WM_QUIT; a wait that does not look for posted
// messages then ends as timed out rather than forever.
DWORD WINAPI MsgWaitForMultipleObjectsEx(DWORD nCount, const HANDLE* pHandles, DWORD dwMilliseconds,
                                         DWORD dwWakeMask, DWORD dwFlags) {
    (void)dwFlags;
    if (nCount != 0 || pHandles != nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    DWORD start = device::Now();
    for (;;) {
        if ((WaitingKinds() & dwWakeMask) != 0) {
            return WAIT_OBJECT_0 + nCount;
        }
        if (dwMilliseconds != INFINITE && device::Now() - start >= dwMilliseconds) {
            return WAIT_TIMEOUT;
        }
        if (device::IsQuitPending() && (dwWakeMask & QS_POSTMESSAGE) == 0) {
            return WAIT_TIMEOUT;
        }
        device::RunIdle();
    }
}
