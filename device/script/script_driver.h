// Headless runs: steps carried out while the program waits for input, on the device's
// clock, under a watchdog; and the driver that replays a script file.
#pragma once

#include "runtime/idle.h"
#include "script/script.h"
#include "script/watchdog.h"

#include <memory>
#include <string>
#include <vector>

namespace device::script {

// Runs the steps a derived driver supplies: each one a step interval after the one before
// (a wait step's own time instead), timers that come due in between at their own time, a
// hold's release when its time is reached. A step that cannot run ends the process with
// status 2 and "file:line: what" on stderr.
class StepDriver : public IdleDriver {
public:
    IdleResult OnIdle() final;

protected:
    // The watchdog watches from here on, loading included.
    StepDriver(std::string file, int timeoutMs);

    // The step that comes next, or nullptr when there is none; asked again until Taken.
    virtual const Step* Upcoming() = 0;
    // The upcoming step is about to run.
    virtual void Taken() = 0;

    const std::string& File() const { return m_file; }
    Watchdog& GetWatchdog() { return m_watchdog; }

private:
    // Moves the clock to the next timer due before `until`; false when none is.
    static bool LetNextTimerComeDue(DWORD until);
    // True when the step queued input for the program.
    bool Run(const Step& step);

    std::string m_file;
    Watchdog m_watchdog;
    bool m_scheduled = false; // m_nextAt holds the time of what comes next
    DWORD m_nextAt = 0;
    bool m_holding = false; // a hold step's stylus is down until m_nextAt
    POINT m_holdAt{};
};

class ScriptDriver final : public StepDriver {
public:
    ScriptDriver(std::string path, int timeoutMs);

    // Reads and parses a script file for a screen of the given size, under the watchdog;
    // prints "file: what" or "file:line: what" and returns nullptr on error. A script is a
    // regular file of at most 16 MiB.
    static std::unique_ptr<ScriptDriver> Load(const std::string& path, SIZE screen, int timeoutMs);

private:
    const Step* Upcoming() override { return m_next < m_steps.size() ? &m_steps[m_next] : nullptr; }
    void Taken() override { ++m_next; }

    std::vector<Step> m_steps;
    size_t m_next = 0;
};

} // namespace device::script
