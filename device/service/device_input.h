// Input as the device's users give it: stylus taps, keys and typed text, queued in the
// order given and turned into messages when the program takes them. Not part of the
// Win32 API.
#pragma once

#include "windows.h"

#include <string>

namespace device::input {

// Stylus down and up at a screen pixel.
void Tap(int x, int y);
void PointerDown(int x, int y);
void PointerMove(int x, int y);
void PointerUp(int x, int y);

// A key pressed and released, with SHIFT and/or CTRL held around it.
void PressKey(UINT virtualKey, bool shift = false, bool control = false);
void KeyDown(UINT virtualKey);
void KeyUp(UINT virtualKey);

// Each character as a keyboard would type it: keys for what a US keyboard has, a bare
// WM_CHAR for the rest (Turkish letters, for instance).
void TypeText(const std::u16string& text);
// A character without a key (WM_CHAR only), as a desktop's text input delivers it.
void TypeCharacter(char16_t character);

// Moves the virtual clock of a headless device.
void AdvanceClock(DWORD milliseconds);

} // namespace device::input
