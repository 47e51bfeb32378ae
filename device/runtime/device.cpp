// Start and stop of the device: every module's state is set up and torn down here, in
// one order.
#include "runtime/device.h"

#include "controls/control_classes.h"
#include "gdi/system_colors.h"
#include "input/caret.h"
#include "input/focus.h"
#include "input/input_queue.h"
#include "message/clock.h"
#include "message/queue.h"
#include "message/timers.h"
#include "device_spy.h"
#include "paint/screen.h"
#include "paint/update_region.h"
#include "runtime/idle.h"
#include "shell/shell_hooks.h"
#include "shell/system_info.h"
#include "window/lifecycle.h"
#include "window/window_class.h"
#include "window/window_registry.h"

namespace device {

void ResetClipboard();

namespace {

bool g_running = false;

void ResetState() {
    SetIdleDriver(nullptr);
    DiscardAllWindows();
    ResetShell();
    ResetWindowClasses();
    ResetMessageQueue();
    ResetTimers();
    ResetInput();
    ResetFocus();
    ResetCaret();
    ResetClipboard();
    ResetSystemInfo();
    ResetScreen();
    spy::Stop();
    spy::Clear();
    spy::ClearRoles();
}

} // namespace

void StartDevice(const DeviceSettings& settings) {
    // The settings come first: the screen and the work area are made to their size.
    SetSettings(settings);
    ResetState();
    gdi::ResetSystemColors();
    UseVirtualClock(true);
    for (const ClassDescriptor& descriptor : StandardControlClasses()) {
        RegisterSystemClass(descriptor);
    }
    RegisterShellClasses();
    CreateDesktopWindow();
    SetForegroundChangedHook(OnForegroundChanged);
    CreateShellWindows();
    InvalidateWindowTree(Desktop());
    g_running = true;
}

void StopDevice() {
    ResetState();
    SetForegroundChangedHook(nullptr);
    g_running = false;
}

bool IsDeviceRunning() { return g_running; }

} // namespace device
