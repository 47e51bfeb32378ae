// How the desktop's keys and typed text become the device's: virtual key codes for SDL
// keys, the control characters a key-down carries, and UTF-8 text as UTF-16 units.
#pragma once

#include "windef.h"

#include <SDL_keyboard.h>

#include <string>

namespace device::sdl {

// The device's virtual key for a desktop key, or 0 when the device has no such key.
// Letters and digits follow the layout (the key that types 'q' is VK 'Q' on any Latin
// layout); keys the layout gives other characters (Turkish ç, ı, ş ...) fall back to the
// key's place on a US keyboard, as Windows does for its OEM keys.
UINT VirtualKeyFor(SDL_Keycode key, SDL_Scancode scancode);

// What the key-down of virtualKey translates to when the desktop gives no text for it:
// RETURN, BACK, TAB, ESCAPE and CTRL+letter. Printable keys answer 0, because their
// characters arrive as text input instead.
char16_t ControlCharacterFor(UINT virtualKey, bool control, bool alt);

// What ALT with a key translates to (WM_SYSCHAR): the desktop gives no text for a shortcut,
// so the key's own character stands in, upper-case with SHIFT; 0 for keys that type none.
char16_t ShortcutCharacterFor(SDL_Keycode key, bool shift);

// The UTF-16 units of UTF-8 text; malformed bytes become U+FFFD.
std::u16string Utf16FromUtf8(const char* text);
std::string Utf8FromUtf16(const std::u16string& text);

} // namespace device::sdl
