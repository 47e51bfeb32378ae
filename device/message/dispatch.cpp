// Message delivery: SendMessageW, DispatchMessageW, CallWindowProcW and the nesting
// bookkeeping behind them.
#include "message/dispatch.h"

#include "device_spy.h"
#include "message/timers.h"
#include "paint/update_region.h"
#include "runtime/settings.h"
#include "window/window_registry.h"

#include <cstdio>
#include <vector>

namespace device {
namespace {

int g_depth = 0;
// Innermost first: true for a DefWindowProcW frame, false for a window procedure frame.
std::vector<char> g_frames; // a byte each: pushed and popped on every delivery

class DeliveryScope {
public:
    DeliveryScope() {
        ++g_depth;
        g_frames.push_back(0);
    }
    ~DeliveryScope() {
        g_frames.pop_back();
        // Released windows can go only once no delivery is running anywhere.
        if (--g_depth == 0) {
            CollectReleasedWindows();
        }
    }
    DeliveryScope(const DeliveryScope&) = delete;
    DeliveryScope& operator=(const DeliveryScope&) = delete;
};

} // namespace

int DeliveryDepth() { return g_depth; }

DefWindowProcScope::DefWindowProcScope() { g_frames.push_back(1); }
DefWindowProcScope::~DefWindowProcScope() { g_frames.pop_back(); }

LRESULT Deliver(Window* window, UINT message, WPARAM wParam, LPARAM lParam, DeliveryKind kind) {
    HWND hwnd = window->handle;
    WNDPROC proc = window->wndProc;
    if (spy::IsRecording() || Settings().trace) {
        spy::Record record{hwnd, message, wParam, lParam, kind == DeliveryKind::Posted, g_depth,
                           !g_frames.empty() && g_frames.back() != 0};
        spy::Append(record);
        if (Settings().trace) {
            std::fprintf(stderr, "device: %s\n", spy::Describe(record).c_str());
        }
    }
    if (proc == nullptr) {
        return 0;
    }
    DeliveryScope scope;
    return proc(hwnd, message, wParam, lParam);
}

} // namespace device

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    device::Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return 0;
    }
    return device::Deliver(window, Msg, wParam, lParam, device::DeliveryKind::Sent);
}

LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) {
    if (lpMsg == nullptr) {
        return 0;
    }
    if (lpMsg->message == WM_TIMER && lpMsg->lParam != 0) {
        // A timer with a procedure calls it instead of the window procedure; only the
        // procedure of a live timer, so that a posted lParam is never taken for code.
        if (TIMERPROC proc = device::TimerProcOf(*lpMsg)) {
            proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
        }
        return 0;
    }
    if (lpMsg->hwnd == nullptr) {
        return 0; // a thread message: there is no window procedure to call
    }
    device::Window* window = device::FromHandle(lpMsg->hwnd);
    if (window == nullptr) {
        return 0;
    }
    LRESULT result = device::Deliver(window, lpMsg->message, lpMsg->wParam, lpMsg->lParam,
                                     device::DeliveryKind::Posted);
    if (lpMsg->message == WM_PAINT) {
        // A procedure that answers WM_PAINT without BeginPaint would otherwise be asked
        // again forever; the window is validated here instead (as Wine does).
        if (device::Window* painted = device::LookUp(lpMsg->hwnd)) {
            device::ValidateAfterUnhandledPaint(painted);
        }
    }
    return result;
}

LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                               LPARAM lParam) {
    if (lpPrevWndFunc == nullptr) {
        return 0;
    }
    return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

BOOL WINAPI InSendMessage() {
    // Every message of this single-threaded device is sent from its own thread.
    return FALSE;
}
