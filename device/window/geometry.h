// Coordinates of the window tree: where a window and its client area lie on the screen.
#pragma once

#include "window/window.h"

namespace device {

// Screen position of the window's client-area origin.
POINT ClientOriginOnScreen(const Window* window);
// Screen position of the origin of the coordinates the window's own rectangles use
// (its parent's client area; the screen for top-level windows).
POINT ParentOriginOnScreen(const Window* window);
RECT WindowRectOnScreen(const Window* window);
RECT ClientRectOnScreen(const Window* window);

inline int Width(const RECT& rect) { return rect.right - rect.left; }
inline int Height(const RECT& rect) { return rect.bottom - rect.top; }
inline RECT Offset(RECT rect, int dx, int dy) {
    return RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}
inline bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}
inline bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace device
