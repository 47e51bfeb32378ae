// The "#32770" window of a message box and what MessageBoxW shares with it: the buttons of
// each box type, the state of one box and its layout.
#pragma once

#include "windows.h"

#include <string>

namespace device {

inline constexpr const char16_t* kMessageBoxClass = u"#32770";
// The platform's identifier for a dialog's plain text.
inline constexpr UINT_PTR kMessageBoxTextId = 0xFFFF;

struct MessageBoxButton {
    int id;
    const char16_t* text;
};

// The buttons of one MB_TYPEMASK value, and what ESCAPE or WM_CLOSE answers (0: nothing;
// a box without a Cancel button cannot be dismissed that way, except the lone OK box).
struct MessageBoxButtonSet {
    MessageBoxButton buttons[3];
    int count;
    int cancelAnswer;
};

// The buttons of an MB_TYPEMASK value, or nullptr for one the device does not show.
const MessageBoxButtonSet* MessageBoxButtons(UINT type);

// One box, kept by MessageBoxW for as long as the box is up; the window reaches it through
// a pointer in its extra bytes, which it gets from CreateWindowExW's lpParam.
struct MessageBoxState {
    // What the box shows.
    std::u16string text;
    UINT iconFlag = 0;
    const MessageBoxButtonSet* buttons = nullptr;
    int defaultButton = 0;
    // Where its parts go, in client coordinates.
    RECT textRect{};
    POINT iconAt{};
    RECT buttonRects[3]{};
    // The answer: set by the window procedure, read by the loop.
    bool done = false;
    int result = 0;
};

// Lays the box out for its text and answers its window rectangle on the screen.
RECT LayOutMessageBox(MessageBoxState& state);

// The state of a box window, or nullptr for a "#32770" window that MessageBoxW did not make.
MessageBoxState* MessageBoxStateOf(HWND box);

// The box's child with an identifier; its button that the box's type makes the default.
HWND MessageBoxChild(HWND box, UINT_PTR id);
HWND MessageBoxDefaultButton(HWND box);

} // namespace device
