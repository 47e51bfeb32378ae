// The monkey's choice of steps, and the script it keeps of them.
#include "script/monkey_driver.h"

#include "script/script_driver.h"
#include "window/geometry.h"
#include "window/window_registry.h"
#include "winuser.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace device::script {
namespace {

constexpr UINT kKeys[] = {VK_RETURN, VK_TAB,  VK_BACK, VK_DELETE, VK_ESCAPE, VK_LEFT, VK_RIGHT,
                          VK_UP,     VK_DOWN, VK_HOME, VK_END,    VK_SPACE,  'A',     'Z',
                          'C',       'V',     'X',     '0',       '9'};

constexpr std::u16string_view kTurkish = u"çğıöşüÇĞİÖŞÜâîû";
// Outside Windows-1254: Greek, Cyrillic, Chinese, symbols, a ligature, a combining accent
// and a zero-width space; the emoji below adds a surrogate pair.
constexpr std::u16string_view kForeign = u"ΩЖж中文☃∑ﬁ\u0301\u200B";

RECT ScreenRect() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The on-screen part of every visible window, the device's own bars included.
void CollectVisible(Window* window, std::vector<RECT>* rects) {
    for (Window* child : window->children) {
        if (!child->IsVisibleFlag() || child->destroyed) {
            continue;
        }
        RECT screen = ScreenRect();
        RECT rect = WindowRectOnScreen(child);
        RECT shown{};
        if (IntersectRect(&shown, &rect, &screen)) {
            rects->push_back(shown);
        }
        CollectVisible(child, rects);
    }
}

// The deepest visible window under a screen point, found from the tree alone: choosing a
// step sends no message, so a replay of the script meets the same program.
Window* WindowAt(Window* parent, POINT point) {
    for (Window* child : parent->children) {
        if (child->IsVisibleFlag() && !child->destroyed &&
            Contains(WindowRectOnScreen(child), point)) {
            return WindowAt(child, point);
        }
    }
    return parent;
}

} // namespace

MonkeyDriver::MonkeyDriver(std::string scriptPath, std::FILE* script, unsigned seed, int events,
                           int timeoutMs, std::vector<std::u16string> spared)
    : StepDriver(std::move(scriptPath), timeoutMs), m_script(script), m_random(seed),
      m_left(events), m_spared(std::move(spared)) {
    std::fprintf(m_script, "# monkey, seed %u, %d events: replay with DEVICE_SCRIPT=%s\n", seed,
                 events, File().c_str());
    std::fflush(m_script);
    m_line = 1;
    GetWatchdog().Loaded();
}

MonkeyDriver::~MonkeyDriver() {
    std::fclose(m_script);
}

std::unique_ptr<MonkeyDriver> MonkeyDriver::Start(const std::string& scriptPath, unsigned seed,
                                                  int events, int timeoutMs,
                                                  std::vector<std::u16string> spared) {
    std::FILE* script = std::fopen(scriptPath.c_str(), "w");
    if (script == nullptr) {
        std::fprintf(stderr, "%s: cannot write the monkey's script: %s\n", scriptPath.c_str(),
                     std::strerror(errno));
        return nullptr;
    }
    return std::make_unique<MonkeyDriver>(scriptPath, script, seed, events, timeoutMs,
                                          std::move(spared));
}

// Chosen from the windows on the screen when the step driver first asks for it, and kept
// until it runs.
const Step* MonkeyDriver::Upcoming() {
    if (!m_upcoming && m_left > 0) {
        m_upcoming = Next();
        m_upcoming->line = m_line + 1;
    }
    return m_upcoming ? &*m_upcoming : nullptr;
}

void MonkeyDriver::Taken() {
    --m_left;
    ++m_line;
    // Written before it runs: a step that brings the program down is in the script.
    std::fprintf(m_script, "%s\n", FormatStep(*m_upcoming).c_str());
    std::fflush(m_script);
    m_upcoming.reset();
}

POINT MonkeyDriver::PointIn(const RECT& rect) {
    return POINT{rect.left + Below(rect.right - rect.left),
                 rect.top + Below(rect.bottom - rect.top)};
}

bool MonkeyDriver::Spared(POINT point) const {
    Window* desktop = Desktop();
    if (m_spared.empty() || desktop == nullptr) {
        return false;
    }
    const Window* window = WindowAt(desktop, point);
    return std::find(m_spared.begin(), m_spared.end(), window->text) != m_spared.end();
}

std::u16string MonkeyDriver::Text() {
    const int kind = Below(100);
    const int length = kind < 70 ? 1 + Below(8) : kind < 95 ? 9 + Below(52) : 200 + Below(2801);
    std::u16string text;
    while (static_cast<int>(text.size()) < length) {
        const int pick = Below(100);
        if (pick < 55) {
            text += static_cast<char16_t>(0x20 + Below(0x5F)); // printable ASCII, '"' and '\' too
        } else if (pick < 75) {
            text += kTurkish[static_cast<size_t>(Below(static_cast<int>(kTurkish.size())))];
        } else if (pick < 88) {
            text += kForeign[static_cast<size_t>(Below(static_cast<int>(kForeign.size())))];
        } else if (pick < 90) {
            text += u"\U0001F600";
        } else {
            text += Below(4) == 0 ? u'\t' : u' ';
        }
    }
    return text;
}

Step MonkeyDriver::Next() {
    std::vector<RECT> windows;
    if (Window* desktop = Desktop()) {
        CollectVisible(desktop, &windows);
    }
    const RECT screen = ScreenRect();
    auto anywhere = [&] {
        return windows.empty() || Below(4) == 0
                   ? PointIn(screen)
                   : PointIn(windows[static_cast<size_t>(Below(static_cast<int>(windows.size())))]);
    };
    // Where the stylus goes down: never on a spared window, whose button would take the
    // focus there and a later space would press it.
    auto somewhere = [&] {
        POINT point = anywhere();
        for (int tries = 0; tries < 20 && Spared(point); ++tries) {
            point = anywhere();
        }
        return point;
    };
    Step step;
    const int roll = Below(100);
    if (roll < 58) {
        step.kind = roll < 50 ? StepKind::TapAt : roll < 56 ? StepKind::Drag : StepKind::Hold;
        step.from = somewhere();
        if (step.kind == StepKind::Drag) {
            step.to = PointIn(screen);
        } else if (step.kind == StepKind::Hold) {
            step.milliseconds = Below(2000); // long enough for held arrows to repeat
        }
        if (Spared(step.from)) {
            step = Step{}; // nowhere else to put the stylus down: a key instead
            step.kind = StepKind::Key;
            step.virtualKey = VK_LEFT;
        }
    } else if (roll < 76) {
        step.kind = StepKind::Type;
        step.text = Text();
    } else if (roll < 95) {
        step.kind = StepKind::Key;
        step.virtualKey = kKeys[Below(static_cast<int>(std::size(kKeys)))];
        step.shift = Below(4) == 0;
        step.control = Below(6) == 0;
    } else if (roll < 97) {
        step.kind = StepKind::Wait; // the program's timers run meanwhile
        step.milliseconds = Below(3000);
    } else if (roll < 99) {
        step.kind = StepKind::Dump;
        step.path = "monkey.json";
    } else {
        step.kind = StepKind::Screenshot;
        step.path = "monkey.png";
    }
    return step;
}

} // namespace device::script
