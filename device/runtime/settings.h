// The device's settings, read from DEVICE_* environment variables at start-up (the
// program itself reads none).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace device {

// The platform that refuses the platform-type query (ERROR_ACCESS_DENIED) instead of
// naming itself.
inline constexpr std::u16string_view kSmartphone2002 = u"SmartPhone2002";

struct DeviceSettings {
    std::string scriptPath;        // DEVICE_SCRIPT: replay this script headless
    int scriptTimeoutMs = 10000;   // DEVICE_SCRIPT_TIMEOUT (seconds in the environment)
    int scale = 2;                 // DEVICE_SCALE: desktop window zoom, 1 to 4
    std::u16string platformType = u"PocketPC"; // DEVICE_PLATFORM
    bool trace = false;            // DEVICE_TRACE: print every delivered message to stderr
    int screenWidth = 240;         // DEVICE_SCREEN: the screen's size in pixels, WxH
    int screenHeight = 320;
    int monkeyEvents = 0;          // DEVICE_MONKEY: this many random steps instead of a script
    int monkeySeed = 1;            // DEVICE_MONKEY_SEED
    std::string monkeyScript = "monkey.txt"; // DEVICE_MONKEY_SCRIPT: where its steps are written
    std::vector<std::u16string> monkeySpared; // DEVICE_MONKEY_SPARE: texts of windows never tapped
};

const DeviceSettings& Settings();
void SetSettings(const DeviceSettings& settings);

// The smallest and largest side DEVICE_SCREEN accepts.
inline constexpr int kMinScreenSide = 160;
inline constexpr int kMaxScreenSide = 800;

// Reads the DEVICE_* variables; on a malformed value fills `error` and returns false.
bool ReadSettingsFromEnvironment(DeviceSettings* settings, std::string* error);

} // namespace device
