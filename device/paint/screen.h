// The device's screen: one framebuffer (240x320 unless set otherwise) that every window paints into, clipped to
// the part of it that the window shows.
#pragma once

#include "gdi/surface.h"

namespace device {

gdi::Surface& Screen();
void ResetScreen();

// The screen with the caret drawn on it: what a person sees and what a screenshot shows.
gdi::Surface ComposedScreen();

} // namespace device
