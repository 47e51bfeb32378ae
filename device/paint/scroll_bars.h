// The window's own scroll bars: their state (SetScrollInfo and friends) and the stylus
// tracking that the default procedure runs when one is pressed.
#pragma once

#include "window/window.h"

namespace device {

// Runs while the stylus is down on a scroll bar: arrows and track send SB_LINE*/SB_PAGE*,
// dragging the thumb sends SB_THUMBTRACK and then SB_THUMBPOSITION; SB_ENDSCROLL ends it.
void TrackScrollBar(Window* window, int bar, POINT screenPoint);

} // namespace device
