// The desktop window: the root of the window tree, painted where no window is.
#include "runtime/device.h"

#include "window/window_class.h"
#include "window/window_registry.h"

namespace device {
namespace {

constexpr const char16_t* kDesktopClass = u"DesktopExplorerWindow";

LRESULT CALLBACK DesktopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        FillRect(reinterpret_cast<HDC>(wParam), &screen, GetSysColorBrush(COLOR_WINDOW));
        return 1;
    }
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void CreateDesktopWindow() {
    RegisterSystemClass(ClassDescriptor{kDesktopClass, 0, DesktopProc, 0, nullptr, nullptr});
    CreateDesktop(DesktopProc, FindWindowClass(nullptr, kDesktopClass));
}

} // namespace device
