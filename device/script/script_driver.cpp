// The script replay: one step each time the program is idle, a watchdog for runs that
// never become idle again, and a clear message for a step that cannot run.
#include "script/script_driver.h"

#include "device_diag.h"
#include "device_input.h"
#include "diag/json_writer.h"
#include "message/clock.h"
#include "message/timers.h"
#include "window/geometry.h"
#include "window/window_registry.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace device::script {
namespace {

long long MonotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Each step happens a second after the one before, so that two taps are never a double
// click and message times stay the same from run to run.
constexpr DWORD kStepInterval = 1000;

} // namespace

ScriptDriver::ScriptDriver(std::string path, std::vector<Step> steps, int timeoutMs)
    : m_path(std::move(path)), m_steps(std::move(steps)), m_timeoutMs(timeoutMs) {
    m_lastIdleMs = MonotonicMs();
    m_watchdog = std::thread([this] { Watch(); });
}

ScriptDriver::~ScriptDriver() {
    m_stop = true;
    if (m_watchdog.joinable()) {
        m_watchdog.join();
    }
}

std::unique_ptr<ScriptDriver> ScriptDriver::Load(const std::string& path, int timeoutMs) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "%s: cannot read the script\n", path.c_str());
        return nullptr;
    }
    std::stringstream text;
    text << file.rdbuf();
    std::vector<Step> steps;
    std::string error;
    int line = 0;
    if (!ParseScript(text.str(), &steps, &error, &line)) {
        std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), line, error.c_str());
        return nullptr;
    }
    return std::make_unique<ScriptDriver>(path, std::move(steps), timeoutMs);
}

void ScriptDriver::Fail(int line, const std::string& what) const {
    std::fprintf(stderr, "%s:%d: %s\n", m_path.c_str(), line, what.c_str());
    std::fflush(stderr);
    std::_Exit(2);
}

void ScriptDriver::Watch() {
    while (!m_stop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (MonotonicMs() - m_lastIdleMs > m_timeoutMs) {
            int line = m_currentLine;
            if (line == 0) {
                std::fprintf(stderr, "%s: the program did not become idle within %d s of starting\n",
                             m_path.c_str(), m_timeoutMs / 1000);
            } else {
                std::fprintf(stderr, "%s:%d: the program did not become idle within %d s after this step\n",
                             m_path.c_str(), line, m_timeoutMs / 1000);
            }
            std::fflush(stderr);
            std::_Exit(3);
        }
    }
}

// The device's clock moves from event to event: a timer that comes due before the next
// step fires at its own time, the step comes when its time is reached.
IdleResult ScriptDriver::OnIdle() {
    m_lastIdleMs = MonotonicMs();
    for (;;) {
        if (!m_scheduled) {
            if (!m_holding && m_next >= m_steps.size()) {
                return IdleResult::Exhausted;
            }
            if (!m_holding) {
                const Step& step = m_steps[m_next];
                m_nextAt = Now() + (step.kind == StepKind::Wait ? static_cast<DWORD>(step.milliseconds) : kStepInterval);
            }
            m_scheduled = true;
        }
        if (LetNextTimerComeDue(m_nextAt)) {
            return IdleResult::Produced;
        }
        m_scheduled = false;
        if (static_cast<LONG>(m_nextAt - Now()) > 0) {
            AdvanceClock(m_nextAt - Now());
        }
        if (m_holding) {
            m_holding = false;
            input::PointerUp(m_holdAt.x, m_holdAt.y);
            return IdleResult::Produced;
        }
        const Step& step = m_steps[m_next++];
        m_currentLine = step.line;
        bool queued = Run(step);
        m_lastIdleMs = MonotonicMs();
        if (queued) {
            return IdleResult::Produced;
        }
    }
}

bool ScriptDriver::LetNextTimerComeDue(DWORD until) {
    DWORD wait = TimeUntilNextTimer();
    // 0: a timer is due that the program's filter keeps out; waiting would change nothing.
    if (wait == 0 || wait == INFINITE || static_cast<LONG>(until - Now()) < static_cast<LONG>(wait)) {
        return false;
    }
    AdvanceClock(wait);
    return true;
}

bool ScriptDriver::Run(const Step& step) {
    switch (step.kind) {
    case StepKind::TapAt: input::Tap(step.from.x, step.from.y); return true;
    case StepKind::TapCaption: {
        HWND hwnd = diag::FindWindowByText(step.text);
        Window* window = LookUp(hwnd);
        if (window == nullptr) {
            Fail(step.line, "no visible window has the text \"" + diag::ToUtf8(step.text) + "\"");
        }
        RECT rect = WindowRectOnScreen(window);
        input::Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        return true;
    }
    case StepKind::Drag: {
        input::PointerDown(step.from.x, step.from.y);
        const int moves = 4;
        for (int i = 1; i <= moves; ++i) {
            input::PointerMove(step.from.x + (step.to.x - step.from.x) * i / moves,
                               step.from.y + (step.to.y - step.from.y) * i / moves);
        }
        input::PointerUp(step.to.x, step.to.y);
        return true;
    }
    case StepKind::Hold:
        input::PointerDown(step.from.x, step.from.y);
        m_holding = true;
        m_holdAt = step.from;
        m_nextAt = Now() + static_cast<DWORD>(step.milliseconds);
        m_scheduled = true;
        return true;
    case StepKind::Wait: return false;
    case StepKind::Type:
        input::TypeText(step.text);
        return !step.text.empty();
    case StepKind::Key: input::PressKey(step.virtualKey, step.shift, step.control); return true;
    case StepKind::Screenshot: {
        std::string error;
        if (!diag::WriteScreenshot(step.path, &error)) {
            Fail(step.line, "cannot write the screenshot: " + error);
        }
        return false;
    }
    case StepKind::Dump: {
        std::ofstream file(step.path, std::ios::binary);
        file << diag::DumpWindowTree();
        if (!file) {
            Fail(step.line, "cannot write the dump \"" + step.path + "\"");
        }
        return false;
    }
    }
    return false;
}

} // namespace device::script
