// Update regions: which parts of which windows must be redrawn, and the WM_PAINT,
// WM_NCPAINT and WM_ERASEBKGND traffic that redraws them.
#pragma once

#include "gdi/region.h"
#include "message/queue.h"
#include "window/window.h"

namespace device {

// The screen pixels the window shows (its window or client rectangle), clipped by its
// ancestors and by the windows above it; its children are always cut out, as Windows CE
// clips children for every window.
gdi::Region VisibleRegion(const Window* window, bool clientOnly);

// Adds the visible part of a screen area to the window's update region.
void InvalidateScreenArea(Window* window, const gdi::Region& area, bool erase, bool frame);
// The window and everything inside it must be redrawn completely.
void InvalidateWindowTree(Window* window);
// Something over this screen area went away: every window there must redraw it, except
// the windows inside `except`.
void ExposeScreenArea(const RECT& area, const Window* except);

// Redraws the frame and erases the background now (rather than at the next WM_PAINT), as
// a frame change does.
void RedrawFrameNow(Window* window);

// Sends WM_PAINT at once to the window and to every window inside it that needs it,
// parents before children and in z-order, as UpdateWindow does on the platform. Each
// window is asked once, so a procedure that leaves its region invalid cannot hold the
// call forever; the queue asks it again later.
void PaintTreeNow(Window* window);
// The next window needing WM_PAINT, parents before children.
bool FindPaintMessage(MSG* msg, const MessageFilter& filter);
void ValidateAfterUnhandledPaint(Window* window);
bool NeedsPaint(const Window* window);

} // namespace device
