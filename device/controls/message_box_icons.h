// The four message-box icons (stop, question, exclamation, information), drawn with GDI.
#pragma once

#include "windows.h"

namespace device {

// The icons are square, this many pixels on a side.
inline constexpr int kMessageBoxIconSize = 32;

// Draws the icon that `iconFlag` (uType & MB_ICONMASK) names with its top-left corner at
// (x, y); draws nothing and answers false for 0 or a value that names no icon.
bool DrawMessageBoxIcon(HDC hdc, int x, int y, UINT iconFlag);

} // namespace device
