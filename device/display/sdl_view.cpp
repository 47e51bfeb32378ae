// Placing the scaled device screen in the desktop window and mapping pointer positions.
#include "display/sdl_view.h"

#include <algorithm>

namespace device::sdl {
namespace {

// Division that rounds towards minus infinity, so that the pixels left of or above the
// screen map to -1 rather than to 0.
int FloorDivide(int value, int divisor) {
    int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

} // namespace

ScreenView FitScreen(int windowWidth, int windowHeight, int screenWidth, int screenHeight) {
    ScreenView view;
    if (screenWidth > 0 && screenHeight > 0) {
        view.scale = std::max(1, std::min(windowWidth / screenWidth, windowHeight / screenHeight));
    }
    view.width = screenWidth * view.scale;
    view.height = screenHeight * view.scale;
    view.left = std::max(0, (windowWidth - view.width) / 2);
    view.top = std::max(0, (windowHeight - view.height) / 2);
    return view;
}

bool DevicePointFor(const ScreenView& view, int x, int y, bool clamp, POINT* out) {
    int screenWidth = view.width / view.scale;
    int screenHeight = view.height / view.scale;
    int deviceX = FloorDivide(x - view.left, view.scale);
    int deviceY = FloorDivide(y - view.top, view.scale);
    bool inside = deviceX >= 0 && deviceY >= 0 && deviceX < screenWidth && deviceY < screenHeight;
    if (!inside && !clamp) {
        return false;
    }
    out->x = std::clamp(deviceX, 0, std::max(0, screenWidth - 1));
    out->y = std::clamp(deviceY, 0, std::max(0, screenHeight - 1));
    return true;
}

} // namespace device::sdl
