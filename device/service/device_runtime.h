// The process entry of a program on the device: settings, the input source (a script or
// the desktop window), then the program's WinMain. Not part of the Win32 API.
#pragma once

#include <memory>
#include <string>

namespace device {

class IdleDriver;
struct DeviceSettings;

// Makes the desktop window's input source; fills `error` and returns nullptr when no
// display can be opened.
using DisplayFactory = std::unique_ptr<IdleDriver> (*)(const DeviceSettings& settings, std::string* error);

// Reads the DEVICE_* settings, starts the device with a script or a desktop window (when
// `display` is given and a display is there), runs WinMain and returns its exit status.
int RunProgram(int argc, char** argv, DisplayFactory display);

} // namespace device
