// Window classes: the registry behind RegisterClassW/GetClassInfoW, which holds the
// device's standard classes from the start.
#pragma once

#include "windows.h"

#include <string>

namespace device {

namespace diag {
class JsonWriter;
}

struct Window;

// Adds a control's own state to the window-tree dump (an edit box's selection, a list
// view's items). Called without sending any message.
using DumpExtraProc = void (*)(HWND hwnd, diag::JsonWriter& out);
// The text a control shows, for a control that keeps its text itself (an edit box); read
// by the dump and by the script's `tap "Caption"` without sending a message.
using CurrentTextProc = std::u16string (*)(HWND hwnd);

struct WindowClass {
    std::u16string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC wndProc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::u16string menuName;
    bool system = false; // a standard class of the device, found from every instance
    int windowCount = 0;
    DumpExtraProc dumpExtra = nullptr;
    CurrentTextProc currentText = nullptr;
};

// What a standard control of the device exports so that the registry can hold its class
// from the start.
struct ClassDescriptor {
    const char16_t* name;
    UINT style;
    WNDPROC wndProc;
    int wndExtra;
    HBRUSH background;
    DumpExtraProc dumpExtra;
    CurrentTextProc currentText = nullptr;
};

// The text a window shows: its window text, or what its control keeps itself.
std::u16string CurrentText(const Window* window);

// Finds the class a window of `name` would be created with: a class the instance
// registered, else a standard class. `name` may be an atom (MAKEINTATOM).
WindowClass* FindWindowClass(HINSTANCE instance, LPCWSTR name);

// Registers one of the device's standard classes ("BUTTON", "STATIC", ...) or one of its
// own internal ones; called when the device starts.
void RegisterSystemClass(const ClassDescriptor& descriptor);

// Drops every class; used when the device is switched off.
void ResetWindowClasses();

// Case-insensitive comparison of class names, as the platform does it.
bool SameClassName(const std::u16string& a, LPCWSTR b);

} // namespace device
