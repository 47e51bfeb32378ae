// Switching the device on and off.
#pragma once

#include "runtime/settings.h"

namespace device {

// Starts a fresh device: the screen, the standard classes, the desktop and the shell's
// bars. Any earlier state is gone.
void StartDevice(const DeviceSettings& settings);
// Switches the device off: every window record is released without a message.
void StopDevice();
bool IsDeviceRunning();

void CreateDesktopWindow();

} // namespace device
