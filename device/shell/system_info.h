// Screen geometry of the Pocket PC: the navigation bar at the top, the work area below it
// and the menu bar strip at the bottom. The screen's size is the device's setting
// (240 x 320 unless DEVICE_SCREEN says otherwise); the bars keep their heights.
#pragma once

#include "windef.h"

namespace device {

int ScreenWidth();
int ScreenHeight();
inline constexpr int kNavigationBarHeight = 26;
inline constexpr int kMenuBarHeight = 26;

RECT WorkArea();
void SetWorkArea(const RECT& area);
void ResetSystemInfo();

} // namespace device
