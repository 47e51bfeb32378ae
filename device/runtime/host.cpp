// The host services for tests: a headless device, message pumping and idle steps.
#include "device_host.h"

#include "message/clock.h"
#include "message/queue.h"
#include "message/timers.h"
#include "runtime/device.h"
#include "runtime/idle.h"

#include <deque>

namespace device::host {
namespace {

class StepDriver final : public IdleDriver {
public:
    IdleResult OnIdle() override {
        if (m_steps.empty()) {
            return IdleResult::Exhausted;
        }
        auto step = std::move(m_steps.front());
        m_steps.pop_front();
        step();
        return IdleResult::Produced;
    }
    void Add(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    void Clear() { m_steps.clear(); }

private:
    std::deque<std::function<void()>> m_steps;
};

StepDriver g_driver;

} // namespace

void StartHeadless(const Options& options) {
    DeviceSettings settings;
    settings.platformType = options.platform;
    settings.screenWidth = options.screenWidth;
    settings.screenHeight = options.screenHeight;
    StartDevice(settings);
    g_driver.Clear();
    SetIdleDriver(&g_driver);
}

void Stop() {
    g_driver.Clear();
    StopDevice();
}

int PumpMessages() {
    int count = 0;
    MSG msg;
    MessageFilter all;
    while (!(IsQuitPending() && !HasPostedMessages()) && RetrieveMessage(&msg, all, true)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++count;
    }
    return count;
}

void RunFor(DWORD milliseconds) {
    const DWORD end = Now() + milliseconds;
    for (;;) {
        PumpMessages();
        DWORD wait = TimeUntilNextTimer();
        // 0 after a pump: a WM_QUIT holds the queue, nothing more comes due by waiting.
        if (wait == 0 || wait == INFINITE || static_cast<LONG>(end - Now()) < static_cast<LONG>(wait)) {
            break;
        }
        AdvanceClock(wait);
    }
    if (static_cast<LONG>(end - Now()) > 0) {
        AdvanceClock(end - Now());
    }
    PumpMessages();
}

void WhenIdle(std::function<void()> step) { g_driver.Add(std::move(step)); }
void ClearIdleSteps() { g_driver.Clear(); }
bool IsQuitPending() { return device::IsQuitPending(); }

} // namespace device::host
