// SetWindowPos and ShowWindow as the rest of the device calls them.
#pragma once

#include "window/window.h"

namespace device {

// SetWindowPos on a window record. Accepts the window manager's own SWP_STATECHANGED
// flag, which reports a maximize, minimize or restore in WM_WINDOWPOSCHANGED.
bool SetWindowPosition(Window* window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

} // namespace device
