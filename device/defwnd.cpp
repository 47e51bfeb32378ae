// DefWindowProcW: the platform's default handling of every message a window procedure
// passes on.
#include "input/focus.h"
#include "message/dispatch.h"
#include "paint/nonclient.h"
#include "paint/scroll_bars.h"
#include "shell/shell_hooks.h"
#include "window/geometry.h"
#include "window/window_class.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <algorithm>

using device::Window;

namespace {

LRESULT OnNcCreate(Window* window, LPARAM lParam) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
        window->text = create->lpszName;
    }
    return TRUE;
}

LRESULT OnNcCalcSize(Window* window, WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) {
        return 0;
    }
    if (wParam != 0) {
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        params->rgrc[0] = device::ClientRectFor(window, params->rgrc[0]);
    } else {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        *rect = device::ClientRectFor(window, *rect);
    }
    return 0;
}

LRESULT OnSetText(Window* window, LPARAM lParam) {
    const auto* text = reinterpret_cast<LPCWSTR>(lParam);
    window->text = text != nullptr ? text : u"";
    if ((window->style & WS_CAPTION) == WS_CAPTION && device::IsEffectivelyVisible(window)) {
        device::PaintNonClient(window);
    }
    if (device::IsTopLevel(window)) {
        device::NotifyShellOfTitle(window);
    }
    return TRUE;
}

LRESULT OnGetText(Window* window, WPARAM wParam, LPARAM lParam) {
    auto* buffer = reinterpret_cast<WCHAR*>(lParam);
    if (wParam == 0 || buffer == nullptr) {
        return 0;
    }
    size_t count = std::min<size_t>(window->text.size(), static_cast<size_t>(wParam) - 1);
    std::copy_n(window->text.begin(), count, buffer);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT OnEraseBackground(Window* window, WPARAM wParam) {
    HBRUSH brush = window->windowClass->background;
    if (brush == nullptr || wParam == 0) {
        return 0;
    }
    RECT client{0, 0, device::Width(window->clientRect), device::Height(window->clientRect)};
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    return 1;
}

LRESULT OnControlColor(UINT message, WPARAM wParam) {
    HDC hdc = reinterpret_cast<HDC>(wParam);
    // Windows CE paints labels, dialogs and message boxes in its own static colours (white
    // on a Pocket PC) rather than in the desktop's button face.
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORDLG || message == WM_CTLCOLORMSGBOX) {
        SetTextColor(hdc, GetSysColor(COLOR_STATICTEXT));
        SetBkColor(hdc, GetSysColor(COLOR_STATIC));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_STATIC));
    }
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
        SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    if (message == WM_CTLCOLORSCROLLBAR) {
        SetBkColor(hdc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_SCROLLBAR));
    }
    SetBkColor(hdc, GetSysColor(COLOR_3DFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
}

LRESULT OnWindowPosChanging(Window* window, LPARAM lParam) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    bool resizable = (window->style & (WS_CHILD | WS_POPUP)) == 0 || (window->style & WS_THICKFRAME) != 0;
    if (pos == nullptr || !resizable || (pos->flags & SWP_NOSIZE) != 0) {
        return 0;
    }
    MINMAXINFO info{};
    info.ptMaxSize = POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    info.ptMaxTrackSize = info.ptMaxSize;
    device::Send(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    pos->cx = std::clamp<int>(pos->cx, info.ptMinTrackSize.x, std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
    pos->cy = std::clamp<int>(pos->cy, info.ptMinTrackSize.y, std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
    return 0;
}

// WM_MOVE and WM_SIZE come from here, so a procedure that keeps WM_WINDOWPOSCHANGED to
// itself gets neither.
LRESULT OnWindowPosChanged(Window* window, LPARAM lParam) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (pos == nullptr) {
        return 0;
    }
    HWND hwnd = window->handle;
    if ((pos->flags & SWP_NOCLIENTMOVE) == 0) {
        device::Send(window, WM_MOVE, 0, MAKELPARAM(window->clientRect.left, window->clientRect.top));
        window = device::LookUp(hwnd);
        if (window == nullptr) {
            return 0;
        }
    }
    if ((pos->flags & SWP_NOCLIENTSIZE) == 0 || (pos->flags & SWP_STATECHANGED) != 0) {
        WPARAM type = window->showState == device::ShowState::Maximized   ? SIZE_MAXIMIZED
                      : window->showState == device::ShowState::Minimized ? SIZE_MINIMIZED
                                                                          : SIZE_RESTORED;
        LPARAM size = type == SIZE_MINIMIZED ? 0
                                             : MAKELPARAM(device::Width(window->clientRect),
                                                          device::Height(window->clientRect));
        window->sizeMovePending = false;
        device::Send(window, WM_SIZE, type, size);
    }
    return 0;
}

LRESULT OnMouseActivate(Window* window, WPARAM wParam, LPARAM lParam) {
    if (window->IsChild() && window->parent != nullptr && window->parent != device::Desktop()) {
        LRESULT answer = device::Send(window->parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (answer != 0) {
            return answer;
        }
    }
    return MA_ACTIVATE;
}

LRESULT OnSetCursor(Window* window, WPARAM wParam, LPARAM lParam) {
    if (window->IsChild() && window->parent != nullptr && window->parent != device::Desktop()) {
        if (device::Send(window->parent, WM_SETCURSOR, wParam, lParam) != 0) {
            return TRUE;
        }
    }
    short hit = static_cast<short>(LOWORD(lParam));
    UINT mouse = HIWORD(lParam);
    if (hit == HTERROR) {
        if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN) {
            MessageBeep(0);
        }
        return FALSE;
    }
    // A stylus device shows no cursor; the client area "sets" the class cursor.
    return hit == HTCLIENT ? TRUE : FALSE;
}

LRESULT OnNcButtonDown(Window* window, WPARAM wParam, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (wParam == HTVSCROLL) {
        device::TrackScrollBar(window, SB_VERT, point);
    } else if (wParam == HTHSCROLL) {
        device::TrackScrollBar(window, SB_HORZ, point);
    }
    return 0;
}

} // namespace

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return 0;
    }
    device::DefWindowProcScope scope;
    switch (Msg) {
    case WM_NCCREATE: return OnNcCreate(window, lParam);
    case WM_NCCALCSIZE: return OnNcCalcSize(window, wParam, lParam);
    case WM_NCHITTEST:
        return device::NonClientHitTest(window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT: device::PaintNonClient(window); return 0;
    case WM_NCACTIVATE:
        if ((window->style & WS_CAPTION) == WS_CAPTION && device::IsEffectivelyVisible(window)) {
            device::PaintNonClient(window);
        }
        return TRUE;
    case WM_NCDESTROY:
        window->text.clear();
        window->horzScroll.reset();
        window->vertScroll.reset();
        return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: return OnNcButtonDown(window, wParam, lParam);
    case WM_CLOSE: DestroyWindow(hWnd); return 0;
    case WM_SETTEXT: return OnSetText(window, lParam);
    case WM_GETTEXT: return OnGetText(window, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->text.size());
    case WM_ERASEBKGND: return OnEraseBackground(window, wParam);
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hWnd, &paint);
        EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return OnControlColor(Msg, wParam);
    case WM_WINDOWPOSCHANGING: return OnWindowPosChanging(window, lParam);
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(window, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
            SetFocus(hWnd);
        }
        return 0;
    case WM_MOUSEACTIVATE: return OnMouseActivate(window, wParam, lParam);
    case WM_SETCURSOR: return OnSetCursor(window, wParam, lParam);
    case WM_CANCELMODE:
        if (GetCapture() == hWnd) {
            ReleaseCapture();
        }
        return 0;
    // lParam says what is asked (wParam is the window asking): every window here is Unicode.
    case WM_NOTIFYFORMAT:
        return static_cast<WPARAM>(lParam) == NF_QUERY || static_cast<WPARAM>(lParam) == NF_REQUERY ? NFR_UNICODE
                                                                                                       : 0;
    default: return 0;
    }
}
