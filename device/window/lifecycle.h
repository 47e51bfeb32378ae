// Window creation and destruction, as the rest of the device needs them.
#pragma once

#include "window/window.h"

namespace device {

// Sends WM_NCDESTROY through the subtree (children first) and releases the records.
void FinishDestroy(Window* window);

// Tears down every window without a message, as when the device is switched off.
void DiscardAllWindows();

} // namespace device
