// The handle table: HWND values with generation counters, so that a stale handle fails
// IsWindow instead of reaching a freed record, plus the desktop window at the root.
#pragma once

#include "window/window.h"

#include <memory>
#include <vector>

namespace device {

namespace registry_detail {

struct Slot {
    std::unique_ptr<Window> window;
    WORD generation = 1;
};

// Slot 0 is never used, so no handle is 0.
extern std::vector<Slot> g_slots;

} // namespace registry_detail

// The same as FromHandle without touching the last error. Inline: every API call and every
// message asks it, often several times.
inline Window* LookUp(HWND hwnd) {
    const auto value = reinterpret_cast<ULONG_PTR>(hwnd);
    const size_t index = value & 0xFFFF;
    const auto& slots = registry_detail::g_slots;
    if (index == 0 || index >= slots.size() || (value >> 32) != 0) {
        return nullptr;
    }
    const registry_detail::Slot& slot = slots[index];
    if (slot.generation != static_cast<WORD>((value >> 16) & 0xFFFF)) {
        return nullptr;
    }
    return slot.window.get();
}

// The live window of a handle, or nullptr for 0, stale and unknown handles (setting
// ERROR_INVALID_WINDOW_HANDLE).
inline Window* FromHandle(HWND hwnd) {
    Window* window = LookUp(hwnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return window;
}

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
