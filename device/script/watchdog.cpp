// The watchdog thread of a headless run.
#include "script/watchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace device::script {
namespace {

long long MonotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

Watchdog::Watchdog(std::string file, int timeoutMs)
    : m_file(std::move(file)), m_timeoutMs(timeoutMs), m_lastIdleMs(MonotonicMs()),
      m_thread([this] { Watch(); }) {}

Watchdog::~Watchdog() {
    m_stop = true;
    m_thread.join();
}

void Watchdog::Loaded() {
    m_lastIdleMs = MonotonicMs();
    m_loading = false;
}

void Watchdog::Idle() {
    m_lastIdleMs = MonotonicMs();
}

void Watchdog::Running(int line) {
    m_line = line;
}

void Watchdog::Watch() {
    while (!m_stop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (MonotonicMs() - m_lastIdleMs <= m_timeoutMs) {
            continue;
        }
        const int seconds = m_timeoutMs / 1000;
        const int line = m_line;
        if (m_loading) {
            std::fprintf(stderr, "%s: the script could not be read within %d s\n", m_file.c_str(),
                         seconds);
        } else if (line == 0) {
            std::fprintf(stderr, "%s: the program did not become idle within %d s of starting\n",
                         m_file.c_str(), seconds);
        } else {
            std::fprintf(stderr,
                         "%s:%d: the program did not become idle within %d s after this step\n",
                         m_file.c_str(), line, seconds);
        }
        std::fflush(stderr);
        std::_Exit(3);
    }
}

} // namespace device::script
