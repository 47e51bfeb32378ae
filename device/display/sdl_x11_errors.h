// Keeps the one harmless X error that SDL's X11 driver can provoke while the desktop window
// closes from ending the process.
#pragma once

namespace device::sdl {

// Installed around SDL's video subsystem: from before SDL_Init (so that SDL's own error
// handler chains to it) until after SDL_Quit, when the previous handler comes back.
class StaleWakeupErrorFilter {
public:
    StaleWakeupErrorFilter();
    ~StaleWakeupErrorFilter();
    StaleWakeupErrorFilter(const StaleWakeupErrorFilter&) = delete;
    StaleWakeupErrorFilter& operator=(const StaleWakeupErrorFilter&) = delete;
};

} // namespace device::sdl
