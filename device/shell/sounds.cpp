// MessageBeep: the device has no speaker; it counts the beeps so that tests can see them.
#include "windows.h"

namespace device {

int g_beepCount = 0;

int BeepCount() { return g_beepCount; }

} // namespace device

BOOL WINAPI MessageBeep(UINT uType) {
    (void)uType;
    ++device::g_beepCount;
    return TRUE;
}
