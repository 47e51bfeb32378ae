// The window tree: parents, owners and z-order.
#pragma once

#include "window/window.h"

namespace device {

// Links `child` into `parent`'s children: HWND_TOP at the top of its group (top-level
// windows marked WS_EX_TOPMOST stay above the others), HWND_BOTTOM at the end, or right
// below a sibling.
void LinkWindow(Window* parent, Window* child, HWND insertAfter);
void UnlinkWindow(Window* child);

// Moves a window to the top of its siblings; a top-level window takes the windows it owns
// along, so they stay above it. Returns whether the order changed.
bool BringToTop(Window* window);

bool IsTopLevel(const Window* window);
// The top-level window a window belongs to (itself when it is top-level).
Window* TopLevelOf(Window* window);
// True when `window` is `ancestor` or lies inside it.
bool IsSelfOrDescendant(const Window* window, const Window* ancestor);
// True when the window and all its ancestors have WS_VISIBLE.
bool IsEffectivelyVisible(const Window* window);

} // namespace device
