// The caret: the thread's one text cursor. It is drawn over the screen when the screen is
// shown (never into the framebuffer), so painting never has to hide and restore it. It
// blinks on a timer of the system's own, which the program's message loop never sees.
#pragma once

#include "gdi/surface.h"
#include "window/window.h"

namespace device {

void DrawCaretOnto(gdi::Surface* screen);
void ForgetCaretOf(Window* window);
void ResetCaret();

// Turns the blink over when its time has come; the queue calls it whenever the program
// looks for a message.
void ServiceCaretBlink();
// Milliseconds until the blink turns over (0: now), INFINITE while nothing blinks.
DWORD TimeUntilCaretBlink();

// For the window-tree dump and tests: where the caret is, if it shows (whatever the
// blink's phase).
bool CaretShown(HWND* owner, RECT* clientRect);

} // namespace device
