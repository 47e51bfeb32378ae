// Where the device's screen sits in the desktop window: the largest whole scale that
// fits, centred, and the way back from a desktop pixel to a device pixel.
#pragma once

#include "windef.h"

namespace device::sdl {

struct ScreenView {
    int scale = 1;
    int left = 0; // the screen's top-left corner in the window
    int top = 0;
    int width = 0; // the scaled screen's size in the window
    int height = 0;
};

// The largest scale from 1 up at which the screen fits the window, centred; a window
// smaller than the screen shows it at scale 1 from the top-left corner.
ScreenView FitScreen(int windowWidth, int windowHeight, int screenWidth, int screenHeight);

// The device pixel under desktop pixel (x, y). Outside the screen this answers false and
// leaves `out` alone, unless `clamp` is set: then the nearest edge pixel is taken, which is
// where a stylus dragged off the screen stays.
bool DevicePointFor(const ScreenView& view, int x, int y, bool clamp, POINT* out);

} // namespace device::sdl
