// Headless runs: the scheduling of steps on the device's clock, and the script replay,
// whose file is read and parsed under the watchdog.
#include "script/script_driver.h"

#include "device_input.h"
#include "message/clock.h"
#include "message/timers.h"
#include "script/step_runner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace device::script {
namespace {

// Each step happens a second after the one before, so that two taps are never a double
// click and message times stay the same from run to run.
constexpr DWORD kStepInterval = 1000;

// Far more than any script needs; what is larger is not a script.
constexpr size_t kMaxScriptBytes = 16u << 20;

// A script must be a regular file: a directory holds no steps, a FIFO would wait for a
// writer and a device like /dev/zero never ends. Opening without blocking lets a FIFO be
// recognised and refused instead of waited on.
bool ReadScriptFile(const std::string& path, std::string* text, std::string* error) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        *error = std::string("cannot read the script: ") + std::strerror(errno);
        return false;
    }
    struct stat info {};
    bool ok = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
    if (!ok) {
        *error = "the script is not a regular file";
    }
    while (ok && text->size() <= kMaxScriptBytes) {
        char buffer[65536];
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            *error = std::string("cannot read the script: ") + std::strerror(errno);
            ok = false;
        } else if (count == 0) {
            break;
        } else {
            text->append(buffer, static_cast<size_t>(count));
        }
    }
    close(descriptor);
    if (ok && text->size() > kMaxScriptBytes) {
        *error = "the script is larger than 16 MiB";
        ok = false;
    }
    return ok;
}

} // namespace

StepDriver::StepDriver(std::string file, int timeoutMs)
    : m_file(std::move(file)), m_watchdog(m_file, timeoutMs) {}

// The device's clock moves from event to event: a timer that comes due before the next
// step fires at its own time, the step comes when its time is reached.
IdleResult StepDriver::OnIdle() {
    m_watchdog.Idle();
    for (;;) {
        if (!m_scheduled) {
            const Step* upcoming = m_holding ? nullptr : Upcoming();
            if (!m_holding && upcoming == nullptr) {
                return IdleResult::Exhausted;
            }
            if (!m_holding) {
                m_nextAt = Now() + (upcoming->kind == StepKind::Wait
                                        ? static_cast<DWORD>(upcoming->milliseconds)
                                        : kStepInterval);
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
        const Step step = *Upcoming();
        Taken();
        m_watchdog.Running(step.line);
        const bool queued = Run(step);
        m_watchdog.Idle();
        if (queued) {
            return IdleResult::Produced;
        }
    }
}

bool StepDriver::LetNextTimerComeDue(DWORD until) {
    DWORD wait = TimeUntilNextTimer();
    // 0: a timer is due that the program's filter keeps out; waiting would change nothing.
    if (wait == 0 || wait == INFINITE ||
        static_cast<LONG>(until - Now()) < static_cast<LONG>(wait)) {
        return false;
    }
    AdvanceClock(wait);
    return true;
}

bool StepDriver::Run(const Step& step) {
    std::string failure;
    const StepOutcome outcome = RunStep(step, &failure);
    if (outcome == StepOutcome::Failed) {
        std::fprintf(stderr, "%s:%d: %s\n", m_file.c_str(), step.line, failure.c_str());
        std::fflush(stderr);
        std::_Exit(2);
    }
    if (step.kind == StepKind::Hold) {
        // The stylus stays down until the hold's time has passed.
        m_holding = true;
        m_holdAt = step.from;
        m_nextAt = Now() + static_cast<DWORD>(step.milliseconds);
        m_scheduled = true;
    }
    return outcome == StepOutcome::Queued;
}

ScriptDriver::ScriptDriver(std::string path, int timeoutMs)
    : StepDriver(std::move(path), timeoutMs) {}

std::unique_ptr<ScriptDriver> ScriptDriver::Load(const std::string& path, SIZE screen,
                                                 int timeoutMs) {
    auto driver = std::make_unique<ScriptDriver>(path, timeoutMs);
    std::string text;
    std::string error;
    if (!ReadScriptFile(path, &text, &error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return nullptr;
    }
    int line = 0;
    if (!ParseScript(text, screen, &driver->m_steps, &error, &line)) {
        std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), line, error.c_str());
        return nullptr;
    }
    driver->GetWatchdog().Loaded();
    return driver;
}

} // namespace device::script
