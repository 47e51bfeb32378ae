// The device's settings as the environment gives them: the screen's size.
#include "runtime/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(DeviceSettings, TheScreenSizeIsWidthByHeightWithinItsLimits) {
    const struct {
        const char* value;
        bool accepted;
        int width, height;
    } cases[] = {
        {"320x240", true, 320, 240}, {"240x240", true, 240, 240},   {"160x800", true, 160, 800},
        {"", true, 240, 320},        {"159x240", false, 0, 0},      {"240x801", false, 0, 0},
        {"240", false, 0, 0},        {"240x", false, 0, 0},         {"x320", false, 0, 0},
        {"240X320", false, 0, 0},    {"-240x320", false, 0, 0},     {"240x320x1", false, 0, 0},
        {" 240x320", false, 0, 0},   {"0240x0320", true, 240, 320},
    };
    for (const auto& test : cases) {
        setenv("DEVICE_SCREEN", test.value, 1);
        device::DeviceSettings settings;
        std::string error;
        EXPECT_EQ(device::ReadSettingsFromEnvironment(&settings, &error), test.accepted)
            << test.value;
        if (test.accepted) {
            EXPECT_EQ(settings.screenWidth, test.width) << test.value;
            EXPECT_EQ(settings.screenHeight, test.height) << test.value;
        } else {
            EXPECT_NE(error.find("DEVICE_SCREEN"), std::string::npos) << error;
            EXPECT_NE(error.find(test.value), std::string::npos) << error;
        }
    }
    unsetenv("DEVICE_SCREEN");
}

} // namespace
