// What the rest of the device tells the Pocket PC shell, and what it asks of it.
#pragma once

#include "window/window.h"

namespace device {

// Creates the navigation bar and registers the shell's window classes.
void RegisterShellClasses();
void CreateShellWindows();
void ResetShell();

// A top-level window's text changed: the navigation bar shows the foreground's title.
void NotifyShellOfTitle(Window* window);
// The foreground window changed: the bars follow it.
void OnForegroundChanged();

// The device's navigation bar window.
Window* NavigationBar();
// The menu bar made for a window by SHCreateMenuBar, or nullptr.
Window* MenuBarOf(const Window* owner);

} // namespace device
