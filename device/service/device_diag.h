// Looking at the device from outside: the window-tree dump, screenshots and the screen's
// pixels. Not part of the Win32 API.
#pragma once

#include "windows.h"

#include <cstdint>
#include <string>
#include <vector>

namespace device::diag {

// The window tree as JSON: the screen size, the foreground and focus windows, and every
// top-level window (the device's own bars included) in z-order from the top, with their
// children.
std::string DumpWindowTree();

// Writes what the screen shows (caret included) as a PNG file. A write that fails leaves
// the file that was there before as it was.
bool WriteScreenshot(const std::string& path, std::string* error);

// What the screen shows, 0x00RRGGBB pixels row by row.
std::vector<uint32_t> ScreenPixels(int* width, int* height);
uint32_t ScreenPixel(int x, int y);

// The topmost visible window whose text is exactly `text`, or 0.
HWND FindWindowByText(const std::u16string& text);

// How many GDI objects exist (stock objects and DCs included): a test's way to see that
// something left nothing behind.
size_t LiveGdiObjectCount();

} // namespace device::diag
