// Idle handling of GetMessageW.
#include "runtime/idle.h"

#include "windows.h"

#include <cstdio>
#include <cstdlib>

namespace device {
namespace {

IdleDriver* g_driver = nullptr;
bool g_screenChanged = true;
int g_exhaustedWaits = 0;

// After this many waits without anything left to deliver, the program is taken to be
// stuck: it ignores WM_QUIT or waits for input that cannot come.
constexpr int kMaxExhaustedWaits = 64;

} // namespace

void SetIdleDriver(IdleDriver* driver) {
    g_driver = driver;
    g_exhaustedWaits = 0;
    g_screenChanged = true;
}

IdleDriver* CurrentIdleDriver() { return g_driver; }

void ScreenChanged() { g_screenChanged = true; }

void RunIdle() {
    if (g_driver != nullptr && g_screenChanged) {
        g_screenChanged = false;
        g_driver->Present();
    }
    if (g_driver != nullptr && g_driver->OnIdle() == IdleResult::Produced) {
        g_exhaustedWaits = 0;
        return;
    }
    if (++g_exhaustedWaits > kMaxExhaustedWaits) {
        std::fprintf(stderr, "device: the program keeps waiting for messages, but no input "
                             "source is left and it does not end on WM_QUIT\n");
        std::fflush(stderr);
        std::_Exit(3);
    }
    PostQuitMessage(0);
}

} // namespace device
