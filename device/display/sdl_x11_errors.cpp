// SDL 2 wakes a thread blocked in SDL_WaitEvent by sending a client message to one of its
// windows over a second X connection. A wake-up can be left pending for a window that is
// then destroyed, and the server answers the late message with BadWindow. The error shows
// up when SDL_Quit closes that connection, and Xlib's default handler would exit(1) there,
// after the program had ended cleanly. Only that error is dropped; every other one goes to
// the handler that was there before.
#include "display/sdl_x11_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace device::sdl {
namespace {

XErrorHandler g_previous = nullptr;

int FilterStaleWakeups(Display* display, XErrorEvent* error) {
    if (error->request_code == X_SendEvent && error->error_code == BadWindow) {
        return 0;
    }
    return g_previous != nullptr ? g_previous(display, error) : 0;
}

} // namespace

StaleWakeupErrorFilter::StaleWakeupErrorFilter() {
    g_previous = XSetErrorHandler(FilterStaleWakeups);
}

StaleWakeupErrorFilter::~StaleWakeupErrorFilter() {
    XSetErrorHandler(g_previous);
    g_previous = nullptr;
}

} // namespace device::sdl
