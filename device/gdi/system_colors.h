// The device's system colour table, read by GetSysColor/GetSysColorBrush and by the
// drawing helpers, and written by SetSysColors (which belongs to the window system).
#pragma once

#include "windef.h"

namespace device::gdi {

// Accepts plain indexes (0..28) and the CE-flagged form (index | SYS_COLOR_INDEX_FLAG).
// An unknown index gives 0 (black), as GetSysColor does.
COLORREF SystemColor(int index);

// Ignores unknown indexes. Brushes from GetSysColorBrush follow the change at once.
void SetSystemColor(int index, COLORREF color);

// The plain index (0..28) for index with or without the CE flag, or -1 when it names no
// system colour.
int SystemColorSlot(int index);

// Puts back the default scheme (tests use it to undo their changes).
void ResetSystemColors();

} // namespace device::gdi
