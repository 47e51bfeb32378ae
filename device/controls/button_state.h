// What the parts of the "BUTTON" class share: the state kept in the window's extra bytes,
// the kinds of button a style makes, and the label drawing.
#pragma once

#include "windows.h"

#include <string>
#include <type_traits>

namespace device::button {

struct ButtonState {
    // What the button shows.
    LRESULT check = BST_UNCHECKED; // BST_CHECKED or BST_INDETERMINATE for the types that keep one
    bool pushed = false;           // BST_PUSHED: drawn sunken
    bool focused = false;          // BST_FOCUS: the dotted focus rectangle is drawn
    // Input in progress: pressed by the stylus or the space bar and not yet let go.
    bool tracking = false;
    // The window that hears the notifications: the parent when the button was made.
    HWND notifyWindow = nullptr;
    HFONT font = nullptr; // WM_SETFONT; null draws with the system font
};

// The state lives in the window's extra bytes and goes with the window record, so a
// device switched off with buttons still alive leaves nothing behind.
static_assert(std::is_trivially_destructible_v<ButtonState>);

// Null before WM_NCCREATE has made the state, and for a window of another class.
ButtonState* StateOf(HWND hwnd);

DWORD StyleOf(HWND hwnd);

inline DWORD TypeOf(DWORD style) { return style & BS_TYPEMASK; }

inline bool IsRadio(DWORD style) {
    return TypeOf(style) == BS_RADIOBUTTON || TypeOf(style) == BS_AUTORADIOBUTTON;
}

// Check boxes and radio buttons, whichever way they are drawn.
inline bool KeepsACheck(DWORD style) {
    switch (TypeOf(style)) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return true;
    default: return false;
    }
}

// WM_COMMAND(code) to the window the button reports to.
void Notify(HWND hwnd, WORD code);

// DrawTextW flags for a label of this style; `horizontal` is the alignment when the style
// names none (push buttons centre, check boxes and radio buttons start at the left).
UINT LabelFormat(DWORD style, UINT horizontal);

std::u16string LabelText(HWND hwnd);

// Draws the window text in `label` with `format` in the DC's text colour, grayed when the
// button is disabled.
void DrawLabel(HWND hwnd, HDC hdc, RECT label, DWORD style, UINT format);

// The whole button as its type draws it, on any DC.
void Paint(HWND hwnd, HDC hdc);

// --- Check boxes, radio buttons and group boxes ------------------------------------------

// BM_SETCHECK: kept within what the type can show; a radio button's tab stop follows its
// check; a checked auto radio button unchecks the other auto radio buttons of its group.
LRESULT OnSetCheck(HWND hwnd, WPARAM wParam);

// A click of an auto type moves its check on: the next of unchecked, checked,
// indeterminate for a 3-state box, checked for a radio button.
void AdvanceCheck(HWND hwnd);

// The box or circle beside the label, asking the parent with WM_CTLCOLORSTATIC.
void PaintCheck(HWND hwnd, HDC hdc, const ButtonState& state, DWORD style);

// The etched frame with the label set into its top edge; the inside is left to whatever
// lies beneath.
void PaintGroupBox(HWND hwnd, HDC hdc, const ButtonState& state, DWORD style);

} // namespace device::button
