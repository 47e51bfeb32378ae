// RunProgram: what happens between the process's main() and the program's WinMain.
#include "device_runtime.h"

#include "message/clock.h"
#include "runtime/device.h"
#include "runtime/idle.h"
#include "runtime/settings.h"
#include "runtime/uncaught_exception.h"
#include "script/monkey_driver.h"
#include "script/script_driver.h"
#include "shell/system_info.h"
#include "windows.h"

#include <cstdio>
#include <cstdlib>

namespace device {

int RunProgram(int argc, char** argv, DisplayFactory display) {
    (void)argc;
    (void)argv;
    DeviceSettings settings;
    std::string error;
    if (!ReadSettingsFromEnvironment(&settings, &error)) {
        std::fprintf(stderr, "device: %s\n", error.c_str());
        return 2;
    }
    std::unique_ptr<IdleDriver> driver;
    const bool headless = !settings.scriptPath.empty() || settings.monkeyEvents > 0;
    if (settings.monkeyEvents > 0) {
        driver = script::MonkeyDriver::Start(settings.monkeyScript,
                                             static_cast<unsigned>(settings.monkeySeed),
                                             settings.monkeyEvents, settings.scriptTimeoutMs,
                                             settings.monkeySpared);
        if (driver == nullptr) {
            return 2;
        }
    } else if (!settings.scriptPath.empty()) {
        driver = script::ScriptDriver::Load(settings.scriptPath, SIZE{settings.screenWidth, settings.screenHeight},
                                            settings.scriptTimeoutMs);
        if (driver == nullptr) {
            return 2;
        }
    } else {
        const char* x11 = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        bool haveDisplay = (x11 != nullptr && *x11 != 0) || (wayland != nullptr && *wayland != 0);
        if (display == nullptr || !haveDisplay) {
            std::fprintf(stderr, "device: no display is available; run a script headless instead: "
                                 "DEVICE_SCRIPT=steps.txt %s\n",
                         argc > 0 ? argv[0] : "program");
            return 1;
        }
        driver = display(settings, &error);
        if (driver == nullptr) {
            std::fprintf(stderr, "device: cannot open the desktop window: %s; run a script headless instead: "
                                 "DEVICE_SCRIPT=steps.txt %s\n",
                         error.c_str(), argc > 0 ? argv[0] : "program");
            return 1;
        }
    }
    StartDevice(settings);
    UseVirtualClock(headless);
    SetIdleDriver(driver.get());
    static WCHAR commandLine[] = u"";
    ReportUncaughtExceptionsOnTerminate();
    int status = 0;
    try {
        status = WinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOW);
    } catch (...) {
        EndByUncaughtException();
    }
    StopDevice();
    driver.reset();
    return status;
}

} // namespace device
