// SetScrollInfo, GetScrollInfo, SetScrollPos, GetScrollPos, SetScrollRange,
// GetScrollRange, ShowScrollBar, and scroll bar tracking with its auto-repeat.
#include "paint/scroll_bars.h"

#include "message/dispatch.h"
#include "paint/nonclient.h"
#include "window/geometry.h"
#include "window/window_pos.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <algorithm>

namespace device {
namespace {

std::optional<ScrollBarState>* StateSlot(Window* window, int bar) {
    if (bar == SB_HORZ) {
        return &window->horzScroll;
    }
    if (bar == SB_VERT) {
        return &window->vertScroll;
    }
    return nullptr;
}

DWORD StyleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

void ClampPosition(ScrollBarState* state) {
    int highest = state->max - std::max<int>(static_cast<int>(state->page), 1) + 1;
    state->pos = std::max(std::min(state->pos, highest), state->min);
}

void RedrawBars(Window* window) {
    if (IsEffectivelyVisible(window)) {
        PaintNonClient(window);
    }
}

// Shows or hides bars by their style bits; the frame change recomputes the client area,
// so the window hears WM_NCCALCSIZE and WM_SIZE.
void SetBarsShown(Window* window, DWORD bits, bool show) {
    DWORD style = show ? (window->style | bits) : (window->style & ~bits);
    if (style == window->style) {
        return;
    }
    window->style = style;
    SetWindowPosition(window, nullptr, 0, 0, 0, 0,
                      SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

int AlongBar(int bar, POINT point) { return bar == SB_VERT ? point.y : point.x; }

// How long an arrow or the track must be held before it repeats, and how often it then
// does, in milliseconds.
constexpr UINT kFirstRepeatDelay = 200;
constexpr UINT kRepeatDelay = 50;

WPARAM RepeatCode(ScrollPart part) {
    switch (part) {
    case ScrollPart::LineUp: return SB_LINEUP;
    case ScrollPart::LineDown: return SB_LINEDOWN;
    case ScrollPart::PageUp: return SB_PAGEUP;
    default: return SB_PAGEDOWN;
    }
}

} // namespace

void TrackScrollBar(Window* window, int bar, POINT screenPoint) {
    HWND hwnd = window->handle;
    UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    ScrollPart part = ScrollBarPartAt(window, bar, screenPoint);
    if (part == ScrollPart::None) {
        return;
    }
    RECT barRect{};
    ScrollBarRect(window, bar, &barRect);
    int barStart = bar == SB_VERT ? barRect.top : barRect.left;
    int grabOffset = 0;
    switch (part) {
    case ScrollPart::LineUp:
    case ScrollPart::LineDown:
    case ScrollPart::PageUp:
    case ScrollPart::PageDown: Send(window, message, RepeatCode(part), 0); break;
    case ScrollPart::Thumb: {
        int start = 0;
        int length = 0;
        int trackStart = 0;
        int trackLength = 0;
        ScrollThumbSpan(window, bar, &start, &length, &trackStart, &trackLength);
        grabOffset = AlongBar(bar, screenPoint) - barStart - start;
        ScrollBarState& state = **StateSlot(window, bar);
        state.tracking = true;
        state.trackPos = state.pos;
        break;
    }
    case ScrollPart::None: break;
    }
    // Follow the stylus until it is lifted, dispatching everything else meanwhile. An arrow
    // or the track beside the thumb repeats while the stylus stays on it, after a delay;
    // the timer is the loop's own (a thread timer), so the window's timers are untouched.
    UINT_PTR repeat = part != ScrollPart::Thumb ? SetTimer(nullptr, 0, kFirstRepeatDelay, nullptr) : 0;
    POINT stylus = screenPoint;
    SetCapture(hwnd);
    MSG msg;
    bool quit = false;
    while (LookUp(hwnd) != nullptr && GetCapture() == hwnd) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            quit = true;
            break;
        }
        if (repeat != 0 && msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == repeat) {
            window = LookUp(hwnd);
            // Over the same part still: the track stops repeating once the thumb reaches
            // the stylus.
            if (window != nullptr && ScrollBarPartAt(window, bar, stylus) == part) {
                Send(window, message, RepeatCode(part), 0);
            }
            SetTimer(nullptr, repeat, kRepeatDelay, nullptr);
            continue;
        }
        if (msg.hwnd == hwnd && msg.message == WM_MOUSEMOVE) {
            stylus = msg.pt;
        }
        bool mine = msg.hwnd == hwnd && (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP);
        if (!mine) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        window = LookUp(hwnd);
        if (window == nullptr) {
            break;
        }
        if (part == ScrollPart::Thumb) {
            POINT screen = msg.pt;
            int pos = ScrollPositionForThumb(window, bar, AlongBar(bar, screen) - barStart - grabOffset);
            ScrollBarState& state = **StateSlot(window, bar);
            if (pos != state.trackPos || msg.message == WM_LBUTTONUP) {
                state.trackPos = pos;
                RedrawBars(window);
                if (msg.message == WM_MOUSEMOVE) {
                    Send(window, message, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
                }
            }
        }
        if (msg.message == WM_LBUTTONUP) {
            break;
        }
    }
    if (repeat != 0) {
        KillTimer(nullptr, repeat);
    }
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    window = LookUp(hwnd);
    if (window != nullptr && part == ScrollPart::Thumb) {
        ScrollBarState& state = **StateSlot(window, bar);
        int pos = state.trackPos;
        Send(window, message, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
        if ((window = LookUp(hwnd)) != nullptr) {
            (*StateSlot(window, bar))->tracking = false;
            RedrawBars(window);
        }
    }
    if ((window = LookUp(hwnd)) != nullptr) {
        Send(window, message, SB_ENDSCROLL, 0);
    }
    if (quit) {
        PostQuitMessage(static_cast<int>(msg.wParam));
    }
}

} // namespace device

using device::ScrollBarState;
using device::Window;

int WINAPI SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw) {
    Window* window = device::FromHandle(hwnd);
    if (window == nullptr) {
        return 0;
    }
    auto* slot = device::StateSlot(window, nBar);
    if (slot == nullptr || lpsi == nullptr || lpsi->cbSize != sizeof(SCROLLINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!slot->has_value()) {
        slot->emplace();
    }
    ScrollBarState& state = **slot;
    if ((lpsi->fMask & SIF_RANGE) != 0) {
        if (lpsi->nMin > lpsi->nMax) {
            state.min = 0;
            state.max = 0;
        } else {
            state.min = lpsi->nMin;
            state.max = lpsi->nMax;
        }
    }
    if ((lpsi->fMask & SIF_PAGE) != 0) {
        long long span = static_cast<long long>(state.max) - state.min + 1;
        state.page = static_cast<UINT>(std::clamp<long long>(lpsi->nPage, 0, span));
    }
    if ((lpsi->fMask & SIF_POS) != 0) {
        state.pos = lpsi->nPos;
    }
    device::ClampPosition(&state);
    int position = state.pos;
    if ((lpsi->fMask & (SIF_RANGE | SIF_PAGE)) != 0) {
        bool nothingToScroll = state.min >= state.max - std::max<int>(static_cast<int>(state.page) - 1, 0);
        bool show = !nothingToScroll || (lpsi->fMask & SIF_DISABLENOSCROLL) != 0;
        device::SetBarsShown(window, device::StyleBit(nBar), show);
        window = device::LookUp(hwnd);
    }
    if (window != nullptr && redraw) {
        device::RedrawBars(window);
    }
    return position;
}

BOOL WINAPI GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) {
    Window* window = device::FromHandle(hwnd);
    if (window == nullptr) {
        return FALSE;
    }
    auto* slot = device::StateSlot(window, nBar);
    if (slot == nullptr || lpsi == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!slot->has_value()) {
        SetLastError(ERROR_NO_SCROLLBARS);
        return FALSE;
    }
    const ScrollBarState& state = **slot;
    if ((lpsi->fMask & SIF_RANGE) != 0) {
        lpsi->nMin = state.min;
        lpsi->nMax = state.max;
    }
    if ((lpsi->fMask & SIF_PAGE) != 0) {
        lpsi->nPage = state.page;
    }
    if ((lpsi->fMask & SIF_POS) != 0) {
        lpsi->nPos = state.pos;
    }
    if ((lpsi->fMask & SIF_TRACKPOS) != 0) {
        lpsi->nTrackPos = state.tracking ? state.trackPos : state.pos;
    }
    return (lpsi->fMask & SIF_ALL) != 0 ? TRUE : FALSE;
}

int WINAPI SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return 0;
    }
    auto* slot = device::StateSlot(window, nBar);
    if (slot == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!slot->has_value()) {
        slot->emplace();
    }
    ScrollBarState& state = **slot;
    int previous = state.pos;
    state.pos = nPos;
    device::ClampPosition(&state);
    if (bRedraw) {
        device::RedrawBars(window);
    }
    return previous;
}

int WINAPI GetScrollPos(HWND hWnd, int nBar) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return 0;
    }
    auto* slot = device::StateSlot(window, nBar);
    if (slot == nullptr || !slot->has_value()) {
        SetLastError(ERROR_NO_SCROLLBARS);
        return 0;
    }
    return (*slot)->pos;
}

BOOL WINAPI SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    if (device::FromHandle(hWnd) == nullptr) {
        return FALSE;
    }
    SetScrollInfo(hWnd, nBar, &info, bRedraw);
    return TRUE;
}

BOOL WINAPI GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hWnd, nBar, &info)) {
        return FALSE;
    }
    if (lpMinPos != nullptr) {
        *lpMinPos = info.nMin;
    }
    if (lpMaxPos != nullptr) {
        *lpMaxPos = info.nMax;
    }
    return TRUE;
}

BOOL WINAPI ShowScrollBar(HWND hWnd, int wBar, BOOL bShow) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    DWORD bits = wBar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : wBar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    if (wBar == SB_CTL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((bits & WS_HSCROLL) != 0 && !window->horzScroll.has_value()) {
        window->horzScroll.emplace();
    }
    if ((bits & WS_VSCROLL) != 0 && !window->vertScroll.has_value()) {
        window->vertScroll.emplace();
    }
    device::SetBarsShown(window, bits, bShow != FALSE);
    return TRUE;
}
