// SetSysColors: a new colour scheme is announced to every top-level window and the whole
// screen is redrawn with it.
#include "gdi/system_colors.h"
#include "message/dispatch.h"
#include "paint/update_region.h"
#include "window/window_registry.h"

#include <vector>

BOOL WINAPI SetSysColors(int cElements, const INT* lpaElements, const COLORREF* lpaRgbValues) {
    if (cElements < 0 || (cElements > 0 && (lpaElements == nullptr || lpaRgbValues == nullptr))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int i = 0; i < cElements; ++i) {
        device::gdi::SetSystemColor(lpaElements[i], lpaRgbValues[i]);
    }
    std::vector<HWND> tops;
    for (device::Window* top : device::Desktop()->children) {
        tops.push_back(top->handle);
    }
    for (HWND hwnd : tops) {
        if (device::Window* top = device::LookUp(hwnd)) {
            device::Send(top, WM_SYSCOLORCHANGE, 0, 0);
        }
    }
    device::InvalidateWindowTree(device::Desktop());
    return TRUE;
}
