// InitCommonControlsEx and InitCommonControls. The device registers every common control
// class when it starts, so these only check what the program passes, as the platform does.
#include "commctrl.h"
#include "winbase.h"

static_assert(sizeof(INITCOMMONCONTROLSEX) == 8, "the platform checks dwSize against 8");

// Only a structure of the right size is accepted; the classes dwICC names are there
// already, whatever it holds.
BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
    if (picce == nullptr || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

void WINAPI InitCommonControls() {}
