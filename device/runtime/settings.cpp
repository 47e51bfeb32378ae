// Device settings and their environment variables.
#include "runtime/settings.h"

#include "kernel/utf8.h"

#include <cstdlib>
#include <string>
#include <string_view>

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

// "WxH" with both sides within the accepted range.
bool ReadScreenSize(DeviceSettings* settings, std::string* error) {
    const char* text = std::getenv("DEVICE_SCREEN");
    if (text == nullptr || *text == 0) {
        return true;
    }
    const std::string value = text;
    const size_t x = value.find('x');
    auto side = [&](const std::string& part, int* out) {
        if (part.empty() || part.size() > 4 || part.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        *out = std::stoi(part);
        return *out >= kMinScreenSide && *out <= kMaxScreenSide;
    };
    int width = 0;
    int height = 0;
    if (x == std::string::npos || !side(value.substr(0, x), &width) || !side(value.substr(x + 1), &height)) {
        *error = "DEVICE_SCREEN must be WIDTHxHEIGHT with each side from " + std::to_string(kMinScreenSide) +
                 " to " + std::to_string(kMaxScreenSide) + ", such as 320x240, not \"" + value + "\"";
        return false;
    }
    settings->screenWidth = width;
    settings->screenHeight = height;
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
        } else if (name == "SmartPhone2002") {
            settings->platformType = kSmartphone2002;
        } else {
            *error = "DEVICE_PLATFORM must be PocketPC, SmartPhone or SmartPhone2002, not \"" + name + "\"";
            return false;
        }
    }
    if (!ReadScreenSize(settings, error)) {
        return false;
    }
    if (!ReadInt("DEVICE_MONKEY", 1, 100000000, &settings->monkeyEvents, error) ||
        !ReadInt("DEVICE_MONKEY_SEED", 0, 2147483647, &settings->monkeySeed, error)) {
        return false;
    }
    if (const char* script = std::getenv("DEVICE_MONKEY_SCRIPT");
        script != nullptr && *script != 0) {
        settings->monkeyScript = script;
    }
    if (const char* spare = std::getenv("DEVICE_MONKEY_SPARE"); spare != nullptr && *spare != 0) {
        // Texts separated by '|'.
        std::string_view rest = spare;
        while (!rest.empty()) {
            const size_t bar = rest.find('|');
            settings->monkeySpared.push_back(device_kernel::Utf8ToUtf16(rest.substr(0, bar)));
            rest.remove_prefix(bar == std::string_view::npos ? rest.size() : bar + 1);
        }
    }
    if (settings->monkeyEvents > 0 && !settings->scriptPath.empty()) {
        *error = "DEVICE_SCRIPT and DEVICE_MONKEY cannot both be set";
        return false;
    }
    if (const char* trace = std::getenv("DEVICE_TRACE")) {
        settings->trace = *trace != 0 && std::string(trace) != "0";
    }
    return true;
}

} // namespace device
