// Desktop keys to the device's virtual keys, the control characters of key-downs, and the
// UTF-8 of the desktop's text input to UTF-16.
#include "display/sdl_keys.h"

#include "kernel/utf8.h"

#include "windows.h"

namespace device::sdl {
namespace {

struct KeyMapping {
    SDL_Keycode key;
    UINT virtualKey;
};

// Keys whose meaning does not depend on the layout.
// clang-format off
constexpr KeyMapping kNamedKeys[] = {
    {SDLK_RETURN, VK_RETURN},       {SDLK_KP_ENTER, VK_RETURN},     {SDLK_RETURN2, VK_RETURN},
    {SDLK_TAB, VK_TAB},             {SDLK_BACKSPACE, VK_BACK},      {SDLK_DELETE, VK_DELETE},
    {SDLK_ESCAPE, VK_ESCAPE},       {SDLK_SPACE, VK_SPACE},         {SDLK_INSERT, VK_INSERT},
    {SDLK_LEFT, VK_LEFT},           {SDLK_RIGHT, VK_RIGHT},         {SDLK_UP, VK_UP},
    {SDLK_DOWN, VK_DOWN},           {SDLK_HOME, VK_HOME},           {SDLK_END, VK_END},
    {SDLK_PAGEUP, VK_PRIOR},        {SDLK_PAGEDOWN, VK_NEXT},       {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},        {SDLK_LCTRL, VK_CONTROL},       {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},           {SDLK_RALT, VK_MENU},           {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_NUMLOCKCLEAR, VK_NUMLOCK}, {SDLK_SCROLLLOCK, VK_SCROLL},  {SDLK_PAUSE, VK_PAUSE},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT}, {SDLK_LGUI, VK_LWIN},          {SDLK_RGUI, VK_RWIN},
    {SDLK_APPLICATION, VK_APPS},    {SDLK_KP_MULTIPLY, VK_MULTIPLY}, {SDLK_KP_PLUS, VK_ADD},
    {SDLK_KP_MINUS, VK_SUBTRACT},   {SDLK_KP_PERIOD, VK_DECIMAL},   {SDLK_KP_DIVIDE, VK_DIVIDE},
    {SDLK_KP_0, VK_NUMPAD0},        {SDLK_KP_1, VK_NUMPAD0 + 1},    {SDLK_KP_2, VK_NUMPAD0 + 2},
    {SDLK_KP_3, VK_NUMPAD0 + 3},    {SDLK_KP_4, VK_NUMPAD0 + 4},    {SDLK_KP_5, VK_NUMPAD0 + 5},
    {SDLK_KP_6, VK_NUMPAD0 + 6},    {SDLK_KP_7, VK_NUMPAD0 + 7},    {SDLK_KP_8, VK_NUMPAD0 + 8},
    {SDLK_KP_9, VK_NUMPAD0 + 9},
};
// clang-format on

struct PlaceMapping {
    SDL_Scancode scancode;
    UINT virtualKey;
};

// The punctuation keys by their place on a US keyboard.
constexpr PlaceMapping kOemPlaces[] = {
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},   {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},   {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD}, {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},       {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},   {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},  {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5},
};

UINT VirtualKeyForPlace(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return static_cast<UINT>('A' + (scancode - SDL_SCANCODE_A));
    }
    // SDL orders the digit row 1..9, 0.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return static_cast<UINT>('1' + (scancode - SDL_SCANCODE_1));
    }
    if (scancode == SDL_SCANCODE_0) {
        return '0';
    }
    for (const PlaceMapping& place : kOemPlaces) {
        if (place.scancode == scancode) {
            return place.virtualKey;
        }
    }
    return 0;
}

} // namespace

UINT VirtualKeyFor(SDL_Keycode key, SDL_Scancode scancode) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return static_cast<UINT>('A' + (key - SDLK_a));
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return static_cast<UINT>('0' + (key - SDLK_0));
    }
    for (const KeyMapping& mapping : kNamedKeys) {
        if (mapping.key == key) {
            return mapping.virtualKey;
        }
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return static_cast<UINT>(VK_F1 + (key - SDLK_F1));
    }
    if (key >= SDLK_F13 && key <= SDLK_F24) {
        return static_cast<UINT>(VK_F1 + 12 + (key - SDLK_F13));
    }
    return VirtualKeyForPlace(scancode);
}

char16_t ControlCharacterFor(UINT virtualKey, bool control, bool alt) {
    switch (virtualKey) {
    case VK_RETURN:
        return control ? u'\n' : u'\r';
    case VK_BACK:
        return control ? char16_t{0x7F} : u'\b';
    case VK_TAB:
        return control ? 0 : u'\t';
    case VK_ESCAPE:
        return 0x1B;
    default:
        break;
    }
    // CTRL+ALT is how Windows spells AltGr, which types characters rather than controls.
    if (control && !alt && virtualKey >= 'A' && virtualKey <= 'Z') {
        return static_cast<char16_t>(virtualKey - 'A' + 1);
    }
    return 0;
}

char16_t ShortcutCharacterFor(SDL_Keycode key, bool shift) {
    if (key < 0x20 || key == 0x7F || key > 0xFFFF || (key >= 0xD800 && key <= 0xDFFF)) {
        return 0;
    }
    if (shift && key >= SDLK_a && key <= SDLK_z) {
        return static_cast<char16_t>(key - SDLK_a + 'A');
    }
    return static_cast<char16_t>(key);
}

std::u16string Utf16FromUtf8(const char* text) {
    return device_kernel::Utf8ToUtf16(text != nullptr ? text : "");
}

std::string Utf8FromUtf16(const std::u16string& text) { return device_kernel::Utf16ToUtf8(text); }

} // namespace device::sdl
