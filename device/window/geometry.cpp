// Rectangle helpers of USER and the coordinate conversions of the window tree.
#include "window/geometry.h"

#include "window/window_registry.h"

#include <algorithm>

namespace device {

POINT ParentOriginOnScreen(const Window* window) {
    POINT origin{0, 0};
    const Window* parent = window->parent;
    while (parent != nullptr && parent != Desktop()) {
        origin.x += parent->clientRect.left;
        origin.y += parent->clientRect.top;
        parent = parent->parent;
    }
    return origin;
}

POINT ClientOriginOnScreen(const Window* window) {
    POINT origin = ParentOriginOnScreen(window);
    origin.x += window->clientRect.left;
    origin.y += window->clientRect.top;
    return origin;
}

RECT WindowRectOnScreen(const Window* window) {
    POINT origin = ParentOriginOnScreen(window);
    return Offset(window->windowRect, origin.x, origin.y);
}

RECT ClientRectOnScreen(const Window* window) {
    POINT origin = ParentOriginOnScreen(window);
    return Offset(window->clientRect, origin.x, origin.y);
}

} // namespace device

using device::Window;

BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
    if (lprc == nullptr) {
        return FALSE;
    }
    *lprc = RECT{xLeft, yTop, xRight, yBottom};
    return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

BOOL WINAPI CopyRect(LPRECT lprcDst, const RECT* lprcSrc) {
    if (lprcDst == nullptr || lprcSrc == nullptr) {
        return FALSE;
    }
    *lprcDst = *lprcSrc;
    return TRUE;
}

BOOL WINAPI OffsetRect(LPRECT lprc, int dx, int dy) {
    if (lprc == nullptr) {
        return FALSE;
    }
    *lprc = device::Offset(*lprc, dx, dy);
    return TRUE;
}

BOOL WINAPI InflateRect(LPRECT lprc, int dx, int dy) {
    if (lprc == nullptr) {
        return FALSE;
    }
    lprc->left -= dx;
    lprc->top -= dy;
    lprc->right += dx;
    lprc->bottom += dy;
    return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT* lprc) {
    return lprc == nullptr || lprc->left >= lprc->right || lprc->top >= lprc->bottom;
}

BOOL WINAPI IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) {
        return FALSE;
    }
    RECT result{std::max(lprcSrc1->left, lprcSrc2->left), std::max(lprcSrc1->top, lprcSrc2->top),
                std::min(lprcSrc1->right, lprcSrc2->right),
                std::min(lprcSrc1->bottom, lprcSrc2->bottom)};
    if (IsRectEmpty(&result)) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    *lprcDst = result;
    return TRUE;
}

BOOL WINAPI UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) {
        return FALSE;
    }
    bool empty1 = IsRectEmpty(lprcSrc1);
    bool empty2 = IsRectEmpty(lprcSrc2);
    if (empty1 && empty2) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    if (empty1) {
        *lprcDst = *lprcSrc2;
    } else if (empty2) {
        *lprcDst = *lprcSrc1;
    } else {
        *lprcDst = RECT{std::min(lprcSrc1->left, lprcSrc2->left),
                        std::min(lprcSrc1->top, lprcSrc2->top),
                        std::max(lprcSrc1->right, lprcSrc2->right),
                        std::max(lprcSrc1->bottom, lprcSrc2->bottom)};
    }
    return TRUE;
}

BOOL WINAPI SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) {
        return FALSE;
    }
    RECT result = *lprcSrc1;
    RECT overlap;
    if (IntersectRect(&overlap, lprcSrc1, lprcSrc2)) {
        // Only a cut that leaves a rectangle changes the result, as the platform does it.
        bool fullWidth = overlap.left == result.left && overlap.right == result.right;
        bool fullHeight = overlap.top == result.top && overlap.bottom == result.bottom;
        if (fullWidth && fullHeight) {
            SetRectEmpty(lprcDst);
            return FALSE;
        }
        if (fullWidth) {
            if (overlap.top == result.top) {
                result.top = overlap.bottom;
            } else if (overlap.bottom == result.bottom) {
                result.bottom = overlap.top;
            }
        } else if (fullHeight) {
            if (overlap.left == result.left) {
                result.left = overlap.right;
            } else if (overlap.right == result.right) {
                result.right = overlap.left;
            }
        }
    }
    *lprcDst = result;
    return !IsRectEmpty(lprcDst);
}

BOOL WINAPI EqualRect(const RECT* lprc1, const RECT* lprc2) {
    if (lprc1 == nullptr || lprc2 == nullptr) {
        return FALSE;
    }
    return device::SameRect(*lprc1, *lprc2);
}

BOOL WINAPI PtInRect(const RECT* lprc, POINT pt) {
    return lprc != nullptr && device::Contains(*lprc, pt);
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr || lpRect == nullptr) {
        return FALSE;
    }
    *lpRect = device::WindowRectOnScreen(window);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr || lpRect == nullptr) {
        return FALSE;
    }
    *lpRect = RECT{0, 0, device::Width(window->clientRect), device::Height(window->clientRect)};
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr || lpPoint == nullptr) {
        return FALSE;
    }
    POINT origin = device::ClientOriginOnScreen(window);
    lpPoint->x += origin.x;
    lpPoint->y += origin.y;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr || lpPoint == nullptr) {
        return FALSE;
    }
    POINT origin = device::ClientOriginOnScreen(window);
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
    POINT from{0, 0};
    POINT to{0, 0};
    if (hWndFrom != nullptr) {
        Window* window = device::FromHandle(hWndFrom);
        if (window == nullptr) {
            return 0;
        }
        from = device::ClientOriginOnScreen(window);
    }
    if (hWndTo != nullptr) {
        Window* window = device::FromHandle(hWndTo);
        if (window == nullptr) {
            return 0;
        }
        to = device::ClientOriginOnScreen(window);
    }
    int dx = from.x - to.x;
    int dy = from.y - to.y;
    for (UINT i = 0; lpPoints != nullptr && i < cPoints; ++i) {
        lpPoints[i].x += dx;
        lpPoints[i].y += dy;
    }
    SetLastError(ERROR_SUCCESS);
    return MAKELONG(static_cast<WORD>(static_cast<short>(dx)), static_cast<WORD>(static_cast<short>(dy)));
}
