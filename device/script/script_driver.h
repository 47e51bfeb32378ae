// Replays a script while the program waits for input, and stops a run that fails or
// never becomes idle again.
#pragma once

#include "runtime/idle.h"
#include "script/script.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace device::script {

class ScriptDriver final : public IdleDriver {
public:
    // Starts the watchdog, which from now on stops a run that hangs, loading included.
    ScriptDriver(std::string path, int timeoutMs);
    ~ScriptDriver() override;
    ScriptDriver(const ScriptDriver&) = delete;
    ScriptDriver& operator=(const ScriptDriver&) = delete;

    IdleResult OnIdle() override;

    // Reads and parses a script file for a screen of the given size; prints "file: what"
    // or "file:line: what" and returns nullptr on error. A script is a regular file of at
    // most 16 MiB.
    static std::unique_ptr<ScriptDriver> Load(const std::string& path, SIZE screen, int timeoutMs);

private:
    // Runs one step; true when it queued input for the program.
    bool Run(const Step& step);
    // Moves the clock to the next timer due before `until`; false when none is.
    static bool LetNextTimerComeDue(DWORD until);
    [[noreturn]] void Fail(int line, const std::string& what) const;
    void Watch();

    std::string m_path;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    bool m_scheduled = false; // m_nextAt holds the time of what comes next
    DWORD m_nextAt = 0;
    bool m_holding = false; // a hold step's stylus is down until m_nextAt
    POINT m_holdAt{};
    int m_timeoutMs;
    std::atomic<bool> m_loading{true};
    std::atomic<long long> m_lastIdleMs{0};
    std::atomic<int> m_currentLine{0};
    std::atomic<bool> m_stop{false};
    std::thread m_watchdog;
};

} // namespace device::script
