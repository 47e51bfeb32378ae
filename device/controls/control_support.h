// What the standard controls share: notifying the window they report to, asking it for
// their colours, and redrawing at once.
#pragma once

#include "windows.h"

namespace device::controls {

// WM_COMMAND(MAKEWPARAM(id, code), control), sent to `notifyWindow` — the parent the
// control had when it was made — or to its current parent when there was none.
void SendCommand(HWND control, HWND notifyWindow, WORD code);

// Asks `askWindow` (the current parent when 0) for the control's colours with one of the
// WM_CTLCOLOR* messages; a window that answers 0 leaves it to the default procedure. The
// DC keeps the colours the answer set; the result is the background brush.
HBRUSH AskForColours(HWND control, HWND askWindow, UINT message, HDC hdc);

// The platform redraws a control at once when its text, state or enabling changes,
// rather than at the next WM_PAINT of the queue.
void RepaintNow(HWND control);

// Draws the control at once through a DC of its own, as the platform's buttons do for a
// change of focus or state: the parent is asked for colours even when nothing of the
// control shows. Nothing happens while the control is hidden.
void DrawNow(HWND control, void (*paint)(HWND control, HDC hdc));

// WM_PAINT and WM_PRINTCLIENT: `paint` draws on the DC in wParam, or on BeginPaint's.
LRESULT PaintWith(HWND control, WPARAM wParam, void (*paint)(HWND control, HDC hdc));

// WM_SETTEXT of a control that shows its text: stored by the default procedure, shown at
// once.
LRESULT SetTextAndRepaint(HWND control, WPARAM wParam, LPARAM lParam);

} // namespace device::controls
