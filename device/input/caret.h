// The caret: the thread's one text cursor. It is drawn over the screen when the screen is
// shown (never into the framebuffer), so painting never has to hide and restore it.
#pragma once

#include "gdi/surface.h"
#include "window/window.h"

namespace device {

void DrawCaretOnto(gdi::Surface* screen);
void ForgetCaretOf(Window* window);
void ResetCaret();

// For the window-tree dump and tests: where the caret is, if it shows.
bool CaretShown(HWND* owner, RECT* clientRect);

} // namespace device
