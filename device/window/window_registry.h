// The handle table: HWND values with generation counters, so that a stale handle fails
// IsWindow instead of reaching a freed record, plus the desktop window at the root.
#pragma once

#include "window/window.h"

namespace device {

// The live window of a handle, or nullptr for 0, stale and unknown handles (setting
// ERROR_INVALID_WINDOW_HANDLE).
Window* FromHandle(HWND hwnd);
// The same without touching the last error.
Window* LookUp(HWND hwnd);

Window* Desktop();

// A fresh record with a handle of its own.
Window* AllocateWindow();
// Ends a record's handle at once; its memory is released once no message is being
// delivered anywhere, so that device code unwinding from a window procedure never
// touches freed memory.
void ReleaseWindow(Window* window);
void CollectReleasedWindows();

// Creates the desktop window; called when the device starts.
void CreateDesktop(WNDPROC desktopProc, WindowClass* desktopClass);
// Frees every window without sending a message (the device is switched off).
void ResetWindowRegistry();

// Calls `visit` for every live window, parents before children, top-level windows in
// z-order from the top.
template <typename Visit>
void ForEachWindow(Window* root, Visit&& visit) {
    visit(root);
    for (size_t i = 0; i < root->children.size(); ++i) {
        ForEachWindow(root->children[i], visit);
    }
}

} // namespace device
