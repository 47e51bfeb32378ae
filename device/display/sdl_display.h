// The desktop window: the device's screen in an SDL window on the Linux desktop, and the
// desktop's mouse, keys and typed text as the device's input.
#pragma once

#include "runtime/idle.h"
#include "runtime/settings.h"

#include <memory>
#include <string>

namespace device {

// Opens the desktop window (hidden until the first frame is ready) at settings.scale.
// Returns nullptr and fills `error` when SDL cannot reach a display.
std::unique_ptr<IdleDriver> CreateSdlDisplay(const DeviceSettings& settings, std::string* error);

} // namespace device
