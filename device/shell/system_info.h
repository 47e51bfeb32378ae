// Screen geometry of the Pocket PC: the navigation bar at the top, the work area below it
// and the menu bar strip at the bottom.
#pragma once

#include "windef.h"

namespace device {

inline constexpr int kScreenWidth = 240;
inline constexpr int kScreenHeight = 320;
inline constexpr int kNavigationBarHeight = 26;
inline constexpr int kMenuBarHeight = 26;

RECT WorkArea();
void SetWorkArea(const RECT& area);
void ResetSystemInfo();

} // namespace device
