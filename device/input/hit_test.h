// Which window a stylus position belongs to.
#pragma once

#include "window/window.h"

namespace device {

struct HitResult {
    Window* window = nullptr;
    int code = HTNOWHERE;
};

// The deepest visible window under the screen point. A disabled window stops the search
// (hit code HTERROR); windows answering HTTRANSPARENT let the point through to the window
// beneath. Sends WM_NCHITTEST to the candidates.
HitResult HitTest(POINT screenPoint);

} // namespace device
