// The device's clock. Headless runs use a virtual clock that moves only when the device
// moves it, so that double clicks and message times are the same on every run.
#pragma once

#include "windef.h"

namespace device {

DWORD Now();
void UseVirtualClock(bool useVirtual);
void AdvanceClock(DWORD milliseconds);

} // namespace device
