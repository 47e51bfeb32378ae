// Device settings and their environment variables.
#include "runtime/settings.h"

#include <cstdlib>
#include <string>

namespace device {
namespace {

DeviceSettings g_settings;

bool ReadInt(const char* name, int low, int high, int* value, std::string* error) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == 0) {
        return true;
    }
    char* end = nullptr;
    long parsed = std::strtol(text, &end, 10);
    if (*end != 0 || parsed < low || parsed > high) {
        *error = std::string(name) + " must be a whole number from " + std::to_string(low) +
                 " to " + std::to_string(high) + ", not \"" + text + "\"";
        return false;
    }
    *value = static_cast<int>(parsed);
    return true;
}

} // namespace

const DeviceSettings& Settings() { return g_settings; }
void SetSettings(const DeviceSettings& settings) { g_settings = settings; }

bool ReadSettingsFromEnvironment(DeviceSettings* settings, std::string* error) {
    if (const char* script = std::getenv("DEVICE_SCRIPT")) {
        settings->scriptPath = script;
    }
    int timeoutSeconds = settings->scriptTimeoutMs / 1000;
    if (!ReadInt("DEVICE_SCRIPT_TIMEOUT", 1, 3600, &timeoutSeconds, error) ||
        !ReadInt("DEVICE_SCALE", 1, 4, &settings->scale, error)) {
        return false;
    }
    settings->scriptTimeoutMs = timeoutSeconds * 1000;
    if (const char* platform = std::getenv("DEVICE_PLATFORM")) {
        std::string name = platform;
        if (name == "PocketPC") {
            settings->platformType = u"PocketPC";
        } else if (name == "SmartPhone") {
            settings->platformType = u"SmartPhone";
        } else {
            *error = "DEVICE_PLATFORM must be PocketPC or SmartPhone, not \"" + name + "\"";
            return false;
        }
    }
    if (const char* trace = std::getenv("DEVICE_TRACE")) {
        settings->trace = *trace != 0 && std::string(trace) != "0";
    }
    return true;
}

} // namespace device
