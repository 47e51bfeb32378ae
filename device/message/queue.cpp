// PostMessageW, PostQuitMessage, GetMessageW, PeekMessageW, WaitMessage.
#include "message/queue.h"

#include "input/caret.h"
#include "input/input_queue.h"
#include "message/clock.h"
#include "message/timers.h"
#include "paint/update_region.h"
#include "runtime/idle.h"
#include "window/window_registry.h"

#include <algorithm>
#include <deque>

namespace device {
namespace {

std::deque<MSG> g_posted;
// Messages posted to the shell's windows and not yet delivered, so that a retrieval only
// looks for them when there are some.
size_t g_postedToShell = 0;
bool g_quitPending = false;
int g_quitCode = 0;
POINT g_cursor{0, 0};
MSG g_lastRetrieved{};

} // namespace

bool MessageFilter::MatchesWindow(HWND target) const {
    if (hwnd == nullptr) {
        return true;
    }
    if (hwnd == reinterpret_cast<HWND>(-1)) {
        return target == nullptr;
    }
    return target == hwnd || IsChild(hwnd, target);
}

bool MessageFilter::MatchesNumber(UINT message) const {
    if (first == 0 && last == 0) {
        return true;
    }
    return message >= first && message <= last;
}

bool IsShellMessage(const MSG& msg) {
    const Window* window = msg.hwnd != nullptr ? LookUp(msg.hwnd) : nullptr;
    return window != nullptr && window->deviceOwned;
}

bool HasPostedMessages() { return !g_posted.empty(); }
bool IsQuitPending() { return g_quitPending; }

POINT CursorPosition() { return g_cursor; }
void SetCursorPosition(POINT point) { g_cursor = point; }

void ResetMessageQueue() {
    g_posted.clear();
    g_postedToShell = 0;
    g_quitPending = false;
    g_quitCode = 0;
    g_lastRetrieved = MSG{};
}

namespace {

// Delivers what is queued for the shell's windows: posted messages and painting. On the
// handheld those windows belong to the shell's own process, so the program's message
// loop never sees their traffic; here it is delivered on the way, whatever the filter.
void ServiceShellWindows() {
    while (g_postedToShell > 0) {
        auto it = std::find_if(g_posted.begin(), g_posted.end(),
                               [](const MSG& posted) { return IsShellMessage(posted); });
        if (it == g_posted.end()) {
            g_postedToShell = 0; // their windows went away
            break;
        }
        MSG shellMsg = *it;
        g_posted.erase(it);
        --g_postedToShell;
        DispatchMessageW(&shellMsg);
    }
    MSG paint;
    while (FindShellPaintMessage(&paint)) {
        DispatchMessageW(&paint);
    }
}

bool RetrieveMessageOnce(MSG* msg, const MessageFilter& filter, bool remove, bool* servedShell);

} // namespace

bool RetrieveMessage(MSG* msg, const MessageFilter& filter, bool remove) {
    // Again from the top when the shell's handlers ran for input: they may have posted.
    for (;;) {
        bool servedShell = false;
        if (RetrieveMessageOnce(msg, filter, remove, &servedShell)) {
            return true;
        }
        if (!servedShell) {
            return false;
        }
    }
}

namespace {

bool RetrieveMessageOnce(MSG* msg, const MessageFilter& filter, bool remove, bool* servedShell) {
    ServiceCaretBlink();
    ServiceShellWindows();
    // Messages posted to a window that is gone are dropped: their handle names nothing. A
    // WM_QUIT still ends the loop.
    for (auto it = g_posted.begin(); it != g_posted.end();) {
        if (it->hwnd != nullptr && it->message != WM_QUIT && LookUp(it->hwnd) == nullptr) {
            it = g_posted.erase(it);
            continue;
        }
        if (filter.Matches(*it)) {
            *msg = *it;
            if (remove) {
                g_posted.erase(it);
            }
            g_lastRetrieved = *msg;
            return true;
        }
        ++it;
    }
    // WM_QUIT comes once every posted message is gone, whatever the filter.
    if (g_quitPending && g_posted.empty()) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(g_quitCode), 0, Now(), g_cursor};
        if (remove) {
            g_quitPending = false;
        }
        g_lastRetrieved = *msg;
        return true;
    }
    if (TakeInputMessage(msg, filter, remove, servedShell)) {
        g_lastRetrieved = *msg;
        return true;
    }
    if (FindPaintMessage(msg, filter)) {
        g_lastRetrieved = *msg;
        return true;
    }
    // Timers last: WM_TIMER is made only when nothing else is waiting.
    while (TakeTimerMessage(msg, filter, remove)) {
        if (!IsShellMessage(*msg)) {
            g_lastRetrieved = *msg;
            return true;
        }
        MSG shellTimer = *msg;
        if (!remove) {
            TakeTimerMessage(&shellTimer, MessageFilter{msg->hwnd, WM_TIMER, WM_TIMER}, true);
        }
        DispatchMessageW(&shellTimer);
    }
    return false;
}

} // namespace

} // namespace device

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    const device::Window* target = hWnd != nullptr ? device::FromHandle(hWnd) : nullptr;
    if (hWnd != nullptr && target == nullptr) {
        return FALSE;
    }
    device::g_posted.push_back(MSG{hWnd, Msg, wParam, lParam, device::Now(), device::g_cursor});
    if (target != nullptr && target->deviceOwned) {
        ++device::g_postedToShell;
    }
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
    device::g_quitPending = true;
    device::g_quitCode = nExitCode;
}

BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg) {
    if (lpMsg == nullptr) {
        return FALSE;
    }
    device::MessageFilter filter{hWnd, wMsgFilterMin, wMsgFilterMax};
    return device::RetrieveMessage(lpMsg, filter, (wRemoveMsg & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (lpMsg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hWnd != nullptr && hWnd != reinterpret_cast<HWND>(-1) && device::FromHandle(hWnd) == nullptr) {
        return -1;
    }
    device::MessageFilter filter{hWnd, wMsgFilterMin, wMsgFilterMax};
    while (!device::RetrieveMessage(lpMsg, filter, true)) {
        device::RunIdle();
    }
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI WaitMessage() {
    MSG msg;
    device::MessageFilter all;
    while (!device::RetrieveMessage(&msg, all, false)) {
        device::RunIdle();
    }
    return TRUE;
}

DWORD WINAPI GetMessagePos() {
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(device::g_lastRetrieved.pt.x),
                                       static_cast<WORD>(device::g_lastRetrieved.pt.y)));
}

LONG WINAPI GetMessageTime() { return static_cast<LONG>(device::g_lastRetrieved.time); }
