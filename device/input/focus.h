// Keyboard focus and window activation.
#pragma once

#include "window/window.h"

namespace device {

Window* ActiveWindow();
Window* FocusWindow();

// Makes a top-level window the active (foreground) one, with the platform's messages:
// WM_NCACTIVATE and WM_ACTIVATE to the window losing activation, WM_ACTIVATEAPP when the
// program as a whole gains or loses activation, then WM_NCACTIVATE and WM_ACTIVATE to the
// new window, whose default procedure takes the focus. `how` is WA_ACTIVE or
// WA_CLICKACTIVE. A null window deactivates everything. The window is first brought to the
// top through SetWindowPos (WM_WINDOWPOSCHANGING), unless the caller is SetWindowPos itself.
bool ActivateWindow(Window* window, WORD how, bool bringToTop = true);

// A window that is going away or being hidden was active: activate its owner, or the next
// visible enabled top-level window, or nothing.
void ActivateOtherWindow(Window* leaving);

// Moves the focus out of a window that is being hidden or destroyed.
void MoveFocusOutOf(Window* window);
// Forgets a window that is gone (no messages).
void ForgetFocusOf(Window* window);

void ResetFocus();

// Called after the foreground window changes: the shell redraws its bars.
using ForegroundChangedHook = void (*)();
void SetForegroundChangedHook(ForegroundChangedHook hook);

} // namespace device
