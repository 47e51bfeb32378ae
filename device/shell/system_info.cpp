// GetSystemMetrics and SystemParametersInfoW: the metrics of a Pocket PC, its screen as
// large as the device's setting.
#include "shell/system_info.h"

#include "runtime/settings.h"
#include "windows.h"

#include <algorithm>

namespace device {
namespace {

RECT g_workArea{0, kNavigationBarHeight, 240, 320};

} // namespace

int ScreenWidth() { return Settings().screenWidth; }
int ScreenHeight() { return Settings().screenHeight; }
RECT WorkArea() { return g_workArea; }
void SetWorkArea(const RECT& area) { g_workArea = area; }
// The work area is the screen below the navigation bar; the menu bar's strip belongs to
// the window that owns the bar.
void ResetSystemInfo() { g_workArea = RECT{0, kNavigationBarHeight, ScreenWidth(), ScreenHeight()}; }

} // namespace device

int WINAPI GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXSCREEN: return device::ScreenWidth();
    case SM_CYSCREEN: return device::ScreenHeight();
    // Scroll bars of QVGA devices are 13 pixels thick.
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL:
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 13;
    case SM_CYCAPTION: return 20;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return device::kMenuBarHeight;
    case SM_CXFULLSCREEN: return device::ScreenWidth();
    case SM_CYFULLSCREEN: return device::ScreenHeight() - device::kNavigationBarHeight;
    // A stylus lands less precisely than a mouse.
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 8;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    default: return 0;
    }
}

BOOL WINAPI SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni) {
    (void)fWinIni;
    switch (uiAction) {
    case SPI_GETWORKAREA:
        if (pvParam == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        *static_cast<RECT*>(pvParam) = device::WorkArea();
        return TRUE;
    case SPI_SETWORKAREA:
        if (pvParam == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        device::SetWorkArea(*static_cast<RECT*>(pvParam));
        return TRUE;
    case SPI_GETPLATFORMTYPE:
    case SPI_GETOEMINFO: {
        // Smartphone 2002 answers the platform query with a refusal; programs take that
        // for a Smartphone.
        if (uiAction == SPI_GETPLATFORMTYPE && device::Settings().platformType == device::kSmartphone2002) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        // uiParam is the buffer size in bytes; the answer includes its terminator.
        std::u16string answer = uiAction == SPI_GETPLATFORMTYPE ? device::Settings().platformType
                                                                : std::u16string(u"Adres Defteri Device");
        size_t bytes = (answer.size() + 1) * sizeof(WCHAR);
        if (pvParam == nullptr || uiParam < bytes) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        auto* buffer = static_cast<WCHAR*>(pvParam);
        std::copy(answer.begin(), answer.end(), buffer);
        buffer[answer.size()] = 0;
        return TRUE;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}
