// Stops a headless run that hangs: loading its steps, starting the program, or after a
// step the program never becomes idle again. Runs on a thread of its own and ends the
// process with status 3 and a line naming the file (and the step's line) on stderr.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace device::script {

class Watchdog {
public:
    // Watching starts at once, in the loading state.
    Watchdog(std::string file, int timeoutMs);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void Loaded();
    // The program waits for input again; the clock starts afresh.
    void Idle();
    // The step on this line of the file is running.
    void Running(int line);

private:
    void Watch();

    const std::string m_file;
    const int m_timeoutMs;
    std::atomic<bool> m_loading{true};
    std::atomic<long long> m_lastIdleMs{0};
    std::atomic<int> m_line{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace device::script
