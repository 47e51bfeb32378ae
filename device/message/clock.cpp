// GetTickCount, Sleep and the virtual clock of headless runs.
#include "message/clock.h"

#include "windows.h"

#include <chrono>
#include <thread>

namespace device {
namespace {

bool g_virtual = true;
DWORD g_virtualNow = 1000;
const auto g_start = std::chrono::steady_clock::now();

} // namespace

DWORD Now() {
    if (g_virtual) {
        return g_virtualNow;
    }
    auto elapsed = std::chrono::steady_clock::now() - g_start;
    return static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() + 1000);
}

void UseVirtualClock(bool useVirtual) { g_virtual = useVirtual; }

void AdvanceClock(DWORD milliseconds) { g_virtualNow += milliseconds; }

} // namespace device

DWORD WINAPI GetTickCount() { return device::Now(); }

void WINAPI Sleep(DWORD dwMilliseconds) {
    if (!device::g_virtual) {
        std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
    } else {
        device::AdvanceClock(dwMilliseconds);
    }
}
