// The script replay: one step each time the program is idle, a watchdog for runs that
// never become idle again, and a clear message for a step that cannot run.
#include "script/script_driver.h"

#include "device_diag.h"
#include "device_input.h"
#include "diag/json_writer.h"
#include "diag/replace_file.h"
#include "message/clock.h"
#include "message/timers.h"
#include "window/geometry.h"
#include "window/window_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

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

// The part of a window that is on the screen; a tap lands in its centre.
bool CentreOnScreen(const RECT& window, POINT* centre) {
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT shown{};
    if (!IntersectRect(&shown, &window, &screen)) {
        return false;
    }
    *centre = POINT{(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2};
    return true;
}

} // namespace

ScriptDriver::ScriptDriver(std::string path, int timeoutMs)
    : m_path(std::move(path)), m_timeoutMs(timeoutMs) {
    m_lastIdleMs = MonotonicMs();
    m_watchdog = std::thread([this] { Watch(); });
}

ScriptDriver::~ScriptDriver() {
    m_stop = true;
    if (m_watchdog.joinable()) {
        m_watchdog.join();
    }
}

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
    driver->m_lastIdleMs = MonotonicMs();
    driver->m_loading = false;
    return driver;
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
            if (m_loading) {
                std::fprintf(stderr, "%s: the script could not be read within %d s\n",
                             m_path.c_str(), m_timeoutMs / 1000);
            } else if (line == 0) {
                std::fprintf(stderr,
                             "%s: the program did not become idle within %d s of starting\n",
                             m_path.c_str(), m_timeoutMs / 1000);
            } else {
                std::fprintf(stderr,
                             "%s:%d: the program did not become idle within %d s after this step\n",
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
    case StepKind::TapAt:
        input::Tap(step.from.x, step.from.y);
        return true;
    case StepKind::TapCaption: {
        HWND hwnd = diag::FindWindowByText(step.text);
        Window* window = LookUp(hwnd);
        if (window == nullptr) {
            Fail(step.line,
                 "no visible window has the text " + QuoteForError(diag::ToUtf8(step.text)));
        }
        POINT centre{};
        if (!CentreOnScreen(WindowRectOnScreen(window), &centre)) {
            Fail(step.line, "the window with the text " + QuoteForError(diag::ToUtf8(step.text)) +
                                " is not on the screen");
        }
        input::Tap(centre.x, centre.y);
        return true;
    }
    case StepKind::Drag: {
        input::PointerDown(step.from.x, step.from.y);
        // In a wider type: the difference of two coordinates times the step may not fit.
        constexpr long long kMoves = 4;
        for (long long i = 1; i <= kMoves; ++i) {
            input::PointerMove(
                static_cast<int>(step.from.x +
                                 (step.to.x - static_cast<long long>(step.from.x)) * i / kMoves),
                static_cast<int>(step.from.y +
                                 (step.to.y - static_cast<long long>(step.from.y)) * i / kMoves));
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
    case StepKind::Key:
        input::PressKey(step.virtualKey, step.shift, step.control);
        return true;
    case StepKind::Screenshot: {
        std::string error;
        if (!diag::WriteScreenshot(step.path, &error)) {
            Fail(step.line, "cannot write the screenshot: " + error);
        }
        return false;
    }
    case StepKind::Dump: {
        const std::string dump = diag::DumpWindowTree();
        std::string error;
        auto write = [&dump](const std::string& temporary, std::string* failure) {
            std::ofstream file(temporary, std::ios::binary);
            file << dump;
            file.close();
            if (!file) {
                *failure = temporary + ": " + std::strerror(errno);
            }
            return static_cast<bool>(file);
        };
        if (!diag::ReplaceFile(step.path, write, &error)) {
            Fail(step.line, "cannot write the dump: " + error);
        }
        return false;
    }
    }
    return false;
}

} // namespace device::script
