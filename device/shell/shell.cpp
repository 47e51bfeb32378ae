// The shell as a whole: its classes, its windows and how it follows the foreground.
#include "shell/shell_hooks.h"

namespace device {

void RegisterNavigationBarClass();
void CreateNavigationBar();
void RefreshNavigationBar();
void ForgetNavigationBar();
void RegisterMenuBarClass();
void UpdateMenuBars();
void ForgetMenuBars();

void RegisterShellClasses() {
    RegisterNavigationBarClass();
    RegisterMenuBarClass();
}

void CreateShellWindows() { CreateNavigationBar(); }

void ResetShell() {
    ForgetNavigationBar();
    ForgetMenuBars();
}

void OnForegroundChanged() {
    RefreshNavigationBar();
    UpdateMenuBars();
}

} // namespace device
