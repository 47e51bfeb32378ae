// The non-client area: borders, edges, the caption and the window's own scroll bars —
// their geometry, hit testing and painting (the default procedure's WM_NCCALCSIZE,
// WM_NCHITTEST and WM_NCPAINT).
#pragma once

#include "window/window.h"

namespace device {

// The client rectangle that a window rectangle leaves, from the window's styles (both in
// the same coordinates).
RECT ClientRectFor(const Window* window, const RECT& windowRect);

int NonClientHitTest(const Window* window, POINT screenPoint);
void PaintNonClient(Window* window);

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// Screen rectangle of a shown scroll bar (SB_HORZ or SB_VERT); false when it is not shown.
bool ScrollBarRect(const Window* window, int bar, RECT* rect);
ScrollPart ScrollBarPartAt(const Window* window, int bar, POINT screenPoint);
// The thumb's leading edge and length along the track, in pixels from the bar's start.
bool ScrollThumbSpan(const Window* window, int bar, int* start, int* length, int* trackStart,
                     int* trackLength);
// The scroll position that puts the thumb's leading edge at `thumbStart` (track pixels).
int ScrollPositionForThumb(const Window* window, int bar, int thumbStart);

} // namespace device

namespace device {

// Where a maximized window goes: the work area (its parent's client area for a child),
// with the window's borders pushed just outside it.
RECT MaximizedWindowRect(const Window* window);

} // namespace device
