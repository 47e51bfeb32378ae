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

// The frame (WM_NCPAINT) is redrawn with the window's next paint.
void InvalidateFrame(Window* window);
// Sends the WM_NCPAINT and WM_ERASEBKGND that the window and the windows inside it have
// waiting, now, parents first; the update regions stay for WM_PAINT.
void EraseNow(Window* window);

// Sends WM_PAINT at once to the window and to every window inside it that needs it,
// parents before children and in z-order, as UpdateWindow does on the platform. Each
// window is asked once, so a procedure that leaves its region invalid cannot hold the
// call forever; the queue asks it again later.
void PaintTreeNow(Window* window);
// The next window of the program needing WM_PAINT, parents before children.
bool FindPaintMessage(MSG* msg, const MessageFilter& filter);
// The next of the shell's windows (the desktop, its bars) needing WM_PAINT.
bool FindShellPaintMessage(MSG* msg);
void ValidateAfterUnhandledPaint(Window* window);
bool NeedsPaint(const Window* window);

} // namespace device
