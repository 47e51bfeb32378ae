// The desktop window's driver: presents the device's screen through an SDL window surface
// and, while the program waits for messages, sleeps in SDL_WaitEvent and turns what
// arrives into the device's input. Everything runs on the device's one thread.
#include "display/sdl_display.h"

#include "display/sdl_keys.h"
#include "display/sdl_view.h"
#include "display/sdl_x11_errors.h"
#include "gdi/surface.h"
#include "input/focus.h"
#include "input/input_queue.h"
#include "message/timers.h"
#include "paint/screen.h"
#include "shell/system_info.h"
#include "window/window.h"
#include "windows.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace device {
namespace {

struct WindowDeleter {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// SDL's video subsystem, up for as long as its owner lives. Only video is started: with
// joysticks or sensors SDL_WaitEvent would wake every few milliseconds to poll them.
class VideoSubsystem {
public:
    VideoSubsystem() : m_ready(Init()) {}
    ~VideoSubsystem() {
        if (m_ready) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
        SDL_Quit();
    }
    VideoSubsystem(const VideoSubsystem&) = delete;
    VideoSubsystem& operator=(const VideoSubsystem&) = delete;

    bool Ready() const { return m_ready; }

private:
    // Declared first: in place before SDL starts, gone only after SDL_Quit.
    sdl::StaleWakeupErrorFilter m_errorFilter;
    bool m_ready;

    static bool Init() {
        // Only a desktop that the environment names: SDL would otherwise fall back to its
        // off-screen driver, which shows nothing and polls for events every millisecond.
        // (SDL_VIDEODRIVER, when set, still wins over this.)
        std::string drivers;
        if (const char* x11 = std::getenv("DISPLAY"); x11 != nullptr && *x11 != 0) {
            drivers = "x11";
        }
        if (const char* wayland = std::getenv("WAYLAND_DISPLAY");
            wayland != nullptr && *wayland != 0) {
            drivers += drivers.empty() ? "wayland" : ",wayland";
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
        // The screen is a small software framebuffer: SDL's own X11/Wayland framebuffer
        // takes it directly, where an accelerated one would load an OpenGL driver (and its
        // threads) just to copy it.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // An address book is no game: the desktop's screen saver stays as the user set it.
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
        return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
};

// DISPLAY and WAYLAND_DISPLAY as they are set, for messages.
std::string DesktopNames() {
    std::string names;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != 0) {
            names += (names.empty() ? "" : " and ") + std::string(name) + "=" + value;
        }
    }
    return names;
}

// A rectangle of device pixels, right and bottom exclusive.
struct Area {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
};

Area WholeOf(const gdi::Surface& surface) {
    return Area{0, 0, surface.width, surface.height};
}

// The smallest rectangle holding every pixel that differs between two frames.
Area ChangedArea(const gdi::Surface& before, const gdi::Surface& after) {
    if (before.width != after.width || before.height != after.height) {
        return WholeOf(after);
    }
    Area area{after.width, after.height, 0, 0};
    for (int y = 0; y < after.height; ++y) {
        const uint32_t* old = before.Row(y);
        const uint32_t* now = after.Row(y);
        if (std::memcmp(old, now, sizeof(uint32_t) * static_cast<size_t>(after.width)) == 0) {
            continue;
        }
        int first = 0;
        while (old[first] == now[first]) {
            ++first;
        }
        int last = after.width - 1;
        while (old[last] == now[last]) {
            --last;
        }
        area.left = std::min(area.left, first);
        area.right = std::max(area.right, last + 1);
        area.top = std::min(area.top, y);
        area.bottom = y + 1;
    }
    return area;
}

// Bounds of one sleep while a timer runs, in milliseconds.
constexpr DWORD kShortestWaitMs = 10;
constexpr DWORD kLongestWaitMs = 60000;

// Modifier keys come in a left and a right one; the device has one key for both.
enum ModifierSide : unsigned { kLeftSide = 1, kRightSide = 2 };

class SdlDisplay final : public IdleDriver {
public:
    SdlDisplay() = default;
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    bool Open(const DeviceSettings& settings, std::string* error);

    IdleResult OnIdle() override;
    void Present() override;

private:
    // Each answers true when it queued input for the program.
    bool Handle(const SDL_Event& event);
    bool HandleWindowEvent(const SDL_WindowEvent& event);
    bool HandleButton(const SDL_MouseButtonEvent& button);
    bool HandleMotion(const SDL_MouseMotionEvent& motion);
    bool HandleKey(const SDL_KeyboardEvent& key);
    bool HandleText(const SDL_TextInputEvent& text);
    bool ReleaseStylus();
    bool PassModifier(SDL_Keycode key, bool down);
    // The left ALT without CTRL makes shortcuts; the right one (AltGr) types characters.
    bool LeftAltAlone() const { return (m_menuSides & kLeftSide) != 0 && m_controlSides == 0; }
    void QueuePointer(RawInputKind kind, POINT point);
    void SwitchOff();

    void Relayout();
    void RedrawAll();
    void Draw(const Area& area, SDL_Surface* target);
    void UpdateTitle();

    VideoSubsystem m_video; // first, so that it is shut down after the window
    WindowPtr m_window;
    SurfacePtr m_canvas;    // the screen at the current scale, in the canvas' own format
    sdl::ScreenView m_view; // where the canvas sits in the window
    gdi::Surface m_shown;   // the frame last presented
    bool m_mapped = false;  // the window is shown once its first frame is ready
    bool m_switchedOff = false;

    bool m_stylusDown = false;
    POINT m_stylusAt{};
    unsigned m_shiftSides = 0;
    unsigned m_controlSides = 0;
    unsigned m_menuSides = 0;

    std::u16string m_title;
};

bool SdlDisplay::Open(const DeviceSettings& settings, std::string* error) {
    if (!m_video.Ready()) {
        *error = "no desktop answers at " + DesktopNames() + " (" + SDL_GetError() + ")";
        return false;
    }
    // Opened before the device starts: the screen's size comes from the settings themselves.
    int scale = settings.scale;
    m_window.reset(SDL_CreateWindow("Pocket PC", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                    settings.screenWidth * scale, settings.screenHeight * scale,
                                    SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE));
    if (m_window == nullptr) {
        *error = SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(m_window.get(), settings.screenWidth, settings.screenHeight);
    SDL_StartTextInput();
    return true;
}

IdleResult SdlDisplay::OnIdle() {
    if (m_switchedOff) {
        return IdleResult::Exhausted;
    }
    for (;;) {
        SDL_Event event;
        // Asleep until input comes or the next timer (the caret's blink too) is due.
        DWORD wait = TimeUntilNextTimer();
        if (wait != INFINITE) {
            // A timer due now that the program's filter keeps out is looked at again
            // shortly, without spinning.
            int timeout = static_cast<int>(std::clamp<DWORD>(wait, kShortestWaitMs, kLongestWaitMs));
            if (SDL_WaitEventTimeout(&event, timeout) == 0) {
                return IdleResult::Produced;
            }
        } else if (SDL_WaitEvent(&event) == 0) {
            std::fprintf(stderr, "device: the desktop window stopped delivering events: %s\n",
                         SDL_GetError());
            SwitchOff();
            return IdleResult::Produced;
        }
        bool produced = Handle(event);
        // Everything already waiting goes in with it, so a burst costs one wake-up.
        while (!m_switchedOff && SDL_PollEvent(&event) != 0) {
            produced = Handle(event) || produced;
        }
        if (produced || m_switchedOff) {
            return IdleResult::Produced;
        }
    }
}

void SdlDisplay::Present() {
    gdi::Surface frame = ComposedScreen();
    Area changed = m_mapped ? ChangedArea(m_shown, frame) : WholeOf(frame);
    m_shown = std::move(frame);
    UpdateTitle();
    if (!m_mapped) {
        SDL_ShowWindow(m_window.get());
        m_mapped = true;
        Relayout();
        RedrawAll();
        return;
    }
    if (changed.Empty()) {
        return;
    }
    SDL_Surface* target = SDL_GetWindowSurface(m_window.get());
    if (target == nullptr) {
        return;
    }
    Draw(changed, target);
}

bool SdlDisplay::Handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        SwitchOff();
        return false;
    case SDL_WINDOWEVENT:
        return HandleWindowEvent(event.window);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return HandleButton(event.button);
    case SDL_MOUSEMOTION:
        return HandleMotion(event.motion);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return HandleKey(event.key);
    case SDL_TEXTINPUT:
        return HandleText(event.text);
    default:
        return false;
    }
}

bool SdlDisplay::HandleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        Relayout();
        RedrawAll();
        return false;
    case SDL_WINDOWEVENT_EXPOSED:
        RedrawAll();
        return false;
    case SDL_WINDOWEVENT_CLOSE:
        SwitchOff();
        return false;
    // A stylus cannot stay down on a device nobody is looking at.
    case SDL_WINDOWEVENT_FOCUS_LOST:
        return ReleaseStylus();
    default:
        return false;
    }
}

bool SdlDisplay::HandleButton(const SDL_MouseButtonEvent& button) {
    if (button.button != SDL_BUTTON_LEFT) {
        return false;
    }
    POINT point{};
    if (button.type == SDL_MOUSEBUTTONDOWN) {
        // A press on the letterbox around the screen touches nothing.
        if (m_stylusDown || !sdl::DevicePointFor(m_view, button.x, button.y, false, &point)) {
            return false;
        }
        m_stylusDown = true;
        QueuePointer(RawInputKind::PointerDown, point);
        return true;
    }
    if (!m_stylusDown) {
        return false;
    }
    sdl::DevicePointFor(m_view, button.x, button.y, true, &point);
    m_stylusDown = false;
    QueuePointer(RawInputKind::PointerUp, point);
    return true;
}

bool SdlDisplay::HandleMotion(const SDL_MouseMotionEvent& motion) {
    POINT point{};
    if (!m_stylusDown || !sdl::DevicePointFor(m_view, motion.x, motion.y, true, &point)) {
        return false;
    }
    // At scale 2 and up most desktop moves stay within one device pixel.
    if (point.x == m_stylusAt.x && point.y == m_stylusAt.y) {
        return false;
    }
    QueuePointer(RawInputKind::PointerMove, point);
    return true;
}

bool SdlDisplay::ReleaseStylus() {
    if (!m_stylusDown) {
        return false;
    }
    m_stylusDown = false;
    QueuePointer(RawInputKind::PointerUp, m_stylusAt);
    return true;
}

void SdlDisplay::QueuePointer(RawInputKind kind, POINT point) {
    m_stylusAt = point;
    RawInput raw;
    raw.kind = kind;
    raw.point = point;
    QueueInput(raw);
}

// Both sides of a modifier are the one key of the device: it goes down with the first
// side pressed and up with the last side released. False when the event changes nothing
// the device can see.
bool SdlDisplay::PassModifier(SDL_Keycode key, bool down) {
    unsigned* sides = nullptr;
    unsigned side = kLeftSide;
    switch (key) {
    case SDLK_LSHIFT:
        sides = &m_shiftSides;
        break;
    case SDLK_RSHIFT:
        sides = &m_shiftSides;
        side = kRightSide;
        break;
    case SDLK_LCTRL:
        sides = &m_controlSides;
        break;
    case SDLK_RCTRL:
        sides = &m_controlSides;
        side = kRightSide;
        break;
    case SDLK_LALT:
        sides = &m_menuSides;
        break;
    case SDLK_RALT:
        sides = &m_menuSides;
        side = kRightSide;
        break;
    default:
        return true;
    }
    if (down) {
        *sides |= side;
        return true;
    }
    *sides &= ~side;
    return *sides == 0;
}

bool SdlDisplay::HandleKey(const SDL_KeyboardEvent& key) {
    UINT virtualKey = sdl::VirtualKeyFor(key.keysym.sym, key.keysym.scancode);
    bool down = key.type == SDL_KEYDOWN;
    if (virtualKey == 0 || !PassModifier(key.keysym.sym, down)) {
        return false;
    }
    RawInput raw;
    raw.kind = down ? RawInputKind::KeyDown : RawInputKind::KeyUp;
    raw.virtualKey = virtualKey;
    // Printable keys translate to nothing: their characters come as text input, in the
    // desktop's layout. Only the control characters ride on the key-down.
    raw.translationKnown = true;
    if (down && LeftAltAlone()) {
        raw.character = sdl::ShortcutCharacterFor(key.keysym.sym, m_shiftSides != 0);
    } else if (down) {
        raw.character = sdl::ControlCharacterFor(virtualKey, m_controlSides != 0, m_menuSides != 0);
    }
    QueueInput(raw);
    return true;
}

bool SdlDisplay::HandleText(const SDL_TextInputEvent& text) {
    // ALT with a letter is a shortcut, not typing: its key-down carries the character.
    if (LeftAltAlone()) {
        return false;
    }
    bool queued = false;
    for (char16_t unit : sdl::Utf16FromUtf8(text.text)) {
        if (unit < 0x20 || unit == 0x7F) {
            continue;
        }
        RawInput raw;
        raw.kind = RawInputKind::Char;
        raw.character = unit;
        QueueInput(raw);
        queued = true;
    }
    return queued;
}

// Closing the desktop window is switching the device off: the program hears WM_QUIT, as
// at the end of its session, and the window goes at once, whatever the program still does.
void SdlDisplay::SwitchOff() {
    if (m_switchedOff) {
        return;
    }
    m_switchedOff = true;
    SDL_HideWindow(m_window.get());
    PostQuitMessage(0);
}

void SdlDisplay::Relayout() {
    SDL_Surface* target = SDL_GetWindowSurface(m_window.get());
    if (target == nullptr) {
        return;
    }
    m_view = sdl::FitScreen(target->w, target->h, ScreenWidth(), ScreenHeight());
    if (m_canvas == nullptr || m_canvas->w != m_view.width || m_canvas->h != m_view.height) {
        m_canvas.reset(SDL_CreateRGBSurfaceWithFormat(0, m_view.width, m_view.height, 32,
                                                      SDL_PIXELFORMAT_RGB888));
    }
}

void SdlDisplay::RedrawAll() {
    SDL_Surface* target = m_mapped ? SDL_GetWindowSurface(m_window.get()) : nullptr;
    if (target == nullptr) {
        return;
    }
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    Draw(WholeOf(m_shown), target);
    SDL_UpdateWindowSurface(m_window.get());
}

// Scales `area` of the last frame into the canvas, copies it to the window and shows it.
void SdlDisplay::Draw(const Area& area, SDL_Surface* target) {
    if (m_canvas == nullptr || area.Empty() || m_shown.width * m_view.scale != m_canvas->w ||
        m_shown.height * m_view.scale != m_canvas->h) {
        return;
    }
    const int scale = m_view.scale;
    auto* base = static_cast<uint8_t*>(m_canvas->pixels);
    const size_t rowBytes =
        sizeof(uint32_t) * static_cast<size_t>((area.right - area.left) * scale);
    for (int y = area.top; y < area.bottom; ++y) {
        const uint32_t* source = m_shown.Row(y);
        auto* first =
            reinterpret_cast<uint32_t*>(base + static_cast<size_t>(y * scale) * m_canvas->pitch) +
            area.left * scale;
        uint32_t* out = first;
        for (int x = area.left; x < area.right; ++x) {
            for (int i = 0; i < scale; ++i) {
                *out++ = source[x];
            }
        }
        for (int i = 1; i < scale; ++i) {
            std::memcpy(base + static_cast<size_t>(y * scale + i) * m_canvas->pitch +
                            sizeof(uint32_t) * area.left * scale,
                        first, rowBytes);
        }
    }
    SDL_Rect from{area.left * scale, area.top * scale, (area.right - area.left) * scale,
                  (area.bottom - area.top) * scale};
    SDL_Rect to{m_view.left + from.x, m_view.top + from.y, from.w, from.h};
    SDL_BlitSurface(m_canvas.get(), &from, target, &to);
    SDL_UpdateWindowSurfaceRects(m_window.get(), &to, 1);
}

// The desktop window bears the caption of the program's active window, as the device's
// navigation bar does.
void SdlDisplay::UpdateTitle() {
    Window* active = ActiveWindow();
    std::u16string title = active != nullptr && !active->text.empty() ? active->text : u"Pocket PC";
    if (title != m_title) {
        m_title = title;
        SDL_SetWindowTitle(m_window.get(), sdl::Utf8FromUtf16(title).c_str());
    }
}

} // namespace

std::unique_ptr<IdleDriver> CreateSdlDisplay(const DeviceSettings& settings, std::string* error) {
    auto display = std::make_unique<SdlDisplay>();
    if (!display->Open(settings, error)) {
        return nullptr;
    }
    return display;
}

} // namespace device
