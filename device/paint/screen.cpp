// The screen framebuffer and its composition with the caret.
#include "paint/screen.h"

#include "input/caret.h"
#include "shell/system_info.h"

namespace device {
namespace {

gdi::Surface& ScreenSurface() {
    static gdi::Surface screen;
    return screen;
}

} // namespace

gdi::Surface& Screen() {
    gdi::Surface& screen = ScreenSurface();
    if (screen.width == 0) {
        screen.Resize(ScreenWidth(), ScreenHeight(), 0xFFFFFF);
    }
    return screen;
}

void ResetScreen() { ScreenSurface().Resize(ScreenWidth(), ScreenHeight(), 0xFFFFFF); }

gdi::Surface ComposedScreen() {
    gdi::Surface composed = Screen();
    DrawCaretOnto(&composed);
    return composed;
}

} // namespace device
