// The "BUTTON" class: buttons that press under the stylus or the space bar and tell their
// parent with WM_COMMAND(BN_CLICKED), drawn in the classic 3-D look. Push buttons are drawn
// here; check boxes, radio buttons and group boxes in button_check.cpp.
//
// Not emulated:
// - owner-drawn and user buttons: drawn and behaving as push buttons
// - BM_SETIMAGE/BM_GETIMAGE (BS_ICON, BS_BITMAP), BCM_* and BN_HILITE/BN_UNHILITE/BN_PAINT
// - BS_FLAT and themed (visual-style) drawing
// - keyboard mnemonics: '&' underlines the next character but no key presses the button
#include "controls/button_state.h"
#include "controls/control_classes.h"
#include "controls/control_support.h"
#include "diag/json_writer.h"
#include "window/window_registry.h"

#include <new>
#include <string>

namespace device::button {

ButtonState* StateOf(HWND hwnd) {
    Window* window = LookUp(hwnd);
    if (window == nullptr || window->extraBytes.size() < sizeof(ButtonState)) {
        return nullptr;
    }
    return std::launder(reinterpret_cast<ButtonState*>(window->extraBytes.data()));
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

// Notifications go to the window that was the parent when the button was made, even if
// the button has been moved to another parent since.
void Notify(HWND hwnd, WORD code) {
    ButtonState* state = StateOf(hwnd);
    controls::SendCommand(hwnd, state != nullptr ? state->notifyWindow : nullptr, code);
}

UINT LabelFormat(DWORD style, UINT horizontal) {
    UINT format = 0;
    switch (style & BS_CENTER) {
    case BS_LEFT: format |= DT_LEFT; break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    case BS_CENTER: format |= DT_CENTER; break;
    default: format |= horizontal; break;
    }
    if ((style & BS_MULTILINE) != 0) {
        return format | DT_WORDBREAK;
    }
    switch (style & BS_VCENTER) {
    case BS_TOP: format |= DT_TOP; break;
    case BS_BOTTOM: format |= DT_BOTTOM; break;
    default: format |= DT_VCENTER; break;
    }
    return format | DT_SINGLELINE;
}

std::u16string LabelText(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) {
        return {};
    }
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

void DrawLabel(HWND hwnd, HDC hdc, RECT label, DWORD style, UINT format) {
    std::u16string text = LabelText(hwnd);
    if (text.empty()) {
        return;
    }
    if ((style & BS_MULTILINE) != 0) {
        // A wrapped label is centred as a block: measure it, then move the box down.
        RECT measure = label;
        int height = DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &measure,
                               format | DT_CALCRECT);
        int free = (label.bottom - label.top) - height;
        if (free > 0 && (style & BS_VCENTER) != BS_TOP) {
            label.top += (style & BS_VCENTER) == BS_BOTTOM ? free : free / 2;
        }
    }
    SetBkMode(hdc, TRANSPARENT);
    if ((style & WS_DISABLED) != 0) {
        // The grayed look: the text in gray over a highlight copy one pixel down-right.
        RECT shadow = label;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    }
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &label, format);
}

} // namespace device::button

namespace device {
namespace {

using button::ButtonState;
using button::Notify;
using button::StateOf;
using button::StyleOf;
using button::TypeOf;

// Where the label sits: 2 pixels of 3-D frame on each side; the dotted focus rectangle
// 3 pixels in from the face's edge, as on the platform.
constexpr int kFrameWidth = 2;
constexpr int kFocusInset = 3;

bool HasNotifyStyle(HWND hwnd) { return (StyleOf(hwnd) & BS_NOTIFY) != 0; }

bool PointInClient(HWND hwnd, LPARAM lParam) {
    RECT client;
    GetClientRect(hwnd, &client);
    return PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE;
}

// A push button, or a check box or radio button with BS_PUSHLIKE, which sinks while
// checked (or indeterminate) as well as while pushed.
void PaintPushButton(HWND hwnd, HDC hdc, const ButtonState& state, DWORD style) {
    // The parent is asked, as on the platform, but a push button's colours are fixed: face
    // COLOR_BTNFACE and text COLOR_BTNTEXT cover the whole client area.
    HWND parent = GetParent(hwnd);
    SendMessageW(parent != nullptr ? parent : hwnd, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hdc),
                 reinterpret_cast<LPARAM>(hwnd));
    if (!IsWindow(hwnd)) {
        return; // the answer destroyed the button
    }
    bool isDefault = TypeOf(style) == BS_DEFPUSHBUTTON;
    RECT face;
    GetClientRect(hwnd, &face);
    if (isDefault) {
        // The default button's extra black frame, with the 3-D frame inside it.
        FrameRect(hdc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&face, -1, -1);
    }
    bool sunk = state.pushed || (button::KeepsACheck(style) && state.check != BST_UNCHECKED);
    UINT frameState = DFCS_BUTTONPUSH;
    if (sunk) {
        // A pushed default button is drawn flat; any other sinks.
        frameState |= isDefault ? DFCS_FLAT : DFCS_PUSHED;
    }
    RECT frame = face;
    DrawFrameControl(hdc, &frame, DFC_BUTTON, frameState);

    RECT label = face;
    InflateRect(&label, -kFrameWidth, -kFrameWidth);
    if (sunk) {
        OffsetRect(&label, 1, 1);
    }
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    button::DrawLabel(hwnd, hdc, label, style, button::LabelFormat(style, DT_CENTER));
    if (state.focused) {
        RECT focus = face;
        InflateRect(&focus, -kFocusInset, -kFocusInset);
        DrawFocusRect(hdc, &focus);
    }
}

} // namespace

// The whole button, from the state and the style as they are now: the style is read here
// so that a program toggling BS_DEFPUSHBUTTON with SetWindowLongW sees it at the next paint.
void button::Paint(HWND hwnd, HDC hdc) {
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr) {
        return;
    }
    int saved = SaveDC(hdc);
    if (state->font != nullptr) {
        SelectObject(hdc, state->font);
    }
    // A copy, as the colour question may destroy the button.
    const ButtonState shown = *state;
    DWORD style = StyleOf(hwnd);
    if (TypeOf(style) == BS_GROUPBOX) {
        button::PaintGroupBox(hwnd, hdc, shown, style);
    } else if (button::KeepsACheck(style) && (style & BS_PUSHLIKE) == 0) {
        button::PaintCheck(hwnd, hdc, shown, style);
    } else {
        PaintPushButton(hwnd, hdc, shown, style);
    }
    RestoreDC(hdc, saved);
}

namespace {

using button::Paint;

void SetPushed(HWND hwnd, bool pushed) {
    SendMessageW(hwnd, BM_SETSTATE, pushed ? TRUE : FALSE, 0);
}

// Ends a press: the button comes up, an auto type's check moves on when the press counts
// as a click, and the capture goes. Returns whether the press was still on.
bool EndPress(HWND hwnd, bool clicks) {
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr || !state->tracking) {
        return false;
    }
    // Cleared before the capture goes, so that WM_CAPTURECHANGED finds nothing to undo.
    state->tracking = false;
    SetPushed(hwnd, false);
    if (clicks) {
        button::AdvanceCheck(hwnd);
    }
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    return true;
}

// --- Messages ------------------------------------------------------------------------

LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    Window* window = LookUp(hwnd);
    if (window != nullptr && window->extraBytes.size() >= sizeof(ButtonState)) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* state = new (window->extraBytes.data()) ButtonState{};
        state->notifyWindow = create != nullptr ? create->hwndParent : nullptr;
    }
    return DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam);
}

LRESULT OnNcDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (ButtonState* state = StateOf(hwnd)) {
        *state = ButtonState{};
    }
    return DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}

LRESULT OnPaint(HWND hwnd, WPARAM wParam) { return controls::PaintWith(hwnd, wParam, Paint); }


// The new text shows at once, except on a group box, which only invalidates: what lies
// inside it is its siblings' to draw.
LRESULT OnSetText(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (TypeOf(StyleOf(hwnd)) != BS_GROUPBOX) {
        return controls::SetTextAndRepaint(hwnd, wParam, lParam);
    }
    LRESULT result = DefWindowProcW(hwnd, WM_SETTEXT, wParam, lParam);
    InvalidateRect(hwnd, nullptr, TRUE);
    return result;
}

// A group box lets taps through to the controls inside it and to its parent.
LRESULT OnNcHitTest(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (TypeOf(StyleOf(hwnd)) == BS_GROUPBOX) {
        return HTTRANSPARENT;
    }
    return DefWindowProcW(hwnd, WM_NCHITTEST, wParam, lParam);
}

LRESULT OnEnable(HWND hwnd) {
    controls::RepaintNow(hwnd);
    return 0;
}

LRESULT OnSetFont(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (ButtonState* state = StateOf(hwnd)) {
        state->font = reinterpret_cast<HFONT>(wParam);
    }
    if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) {
        controls::RepaintNow(hwnd);
    }
    return 0;
}

LRESULT OnGetFont(HWND hwnd) {
    ButtonState* state = StateOf(hwnd);
    return state != nullptr ? reinterpret_cast<LRESULT>(state->font) : 0;
}

LRESULT OnGetDlgCode(HWND hwnd) {
    switch (TypeOf(StyleOf(hwnd))) {
    case BS_PUSHBUTTON:
    case BS_USERBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
    }
}

// The press takes the capture and the focus, then shows the button pushed.
LRESULT OnLButtonDown(HWND hwnd) {
    SetCapture(hwnd);
    SetFocus(hwnd);
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr) {
        return 0;
    }
    state->tracking = true;
    SetPushed(hwnd, true);
    return 0;
}

// With BS_NOTIFY a double click is reported and nothing else happens; without it, it is
// a second press. A plain radio button always reports it, as on the platform.
LRESULT OnLButtonDblClk(HWND hwnd) {
    if (HasNotifyStyle(hwnd) || TypeOf(StyleOf(hwnd)) == BS_RADIOBUTTON) {
        Notify(hwnd, BN_DOUBLECLICKED);
        return 0;
    }
    return OnLButtonDown(hwnd);
}

LRESULT OnMouseMove(HWND hwnd, LPARAM lParam) {
    ButtonState* state = StateOf(hwnd);
    if (state != nullptr && state->tracking && GetCapture() == hwnd) {
        SetPushed(hwnd, PointInClient(hwnd, lParam));
    }
    return 0;
}

// A release inside clicks; outside, the press just ends.
LRESULT OnLButtonUp(HWND hwnd, LPARAM lParam) {
    bool inside = PointInClient(hwnd, lParam);
    if (EndPress(hwnd, inside) && inside) {
        Notify(hwnd, BN_CLICKED);
    }
    return 0;
}

LRESULT OnKeyDown(HWND hwnd, WPARAM wParam) {
    if (wParam != VK_SPACE) {
        return 0;
    }
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr || state->tracking) {
        return 0; // the key repeats while held
    }
    state->tracking = true;
    SetPushed(hwnd, true);
    SetCapture(hwnd);
    return 0;
}

// Letting go of the space bar clicks whatever happened meanwhile, as on the platform.
LRESULT OnKeyUp(HWND hwnd, WPARAM wParam) {
    if (wParam != VK_SPACE) {
        return 0;
    }
    EndPress(hwnd, true);
    Notify(hwnd, BN_CLICKED);
    return 0;
}

// Someone else took the capture (or it was released without a release of the stylus):
// the press is over without a click.
LRESULT OnCaptureChanged(HWND hwnd, LPARAM lParam) {
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr || reinterpret_cast<HWND>(lParam) == hwnd || !state->tracking) {
        return 0;
    }
    state->tracking = false;
    SetPushed(hwnd, false);
    return 0;
}

// A radio button reached by the focus alone (the arrow keys of a dialog move it so) also
// says it was clicked, unless it is checked already or a press is bringing the focus.
LRESULT OnSetFocus(HWND hwnd) {
    if (ButtonState* state = StateOf(hwnd)) {
        state->focused = true;
    }
    controls::DrawNow(hwnd, Paint);
    if (HasNotifyStyle(hwnd)) {
        Notify(hwnd, BN_SETFOCUS);
    }
    ButtonState* state = StateOf(hwnd);
    if (state != nullptr && button::IsRadio(StyleOf(hwnd)) && state->check != BST_CHECKED &&
        !state->tracking) {
        Notify(hwnd, BN_CLICKED);
    }
    return 0;
}

LRESULT OnKillFocus(HWND hwnd) {
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr) {
        return 0;
    }
    state->focused = false;
    if (state->tracking && GetCapture() == hwnd) {
        ReleaseCapture(); // WM_CAPTURECHANGED brings the button up
    }
    if (HasNotifyStyle(hwnd)) {
        Notify(hwnd, BN_KILLFOCUS);
    }
    controls::DrawNow(hwnd, Paint);
    return 0;
}

LRESULT OnGetCheck(HWND hwnd) {
    ButtonState* state = StateOf(hwnd);
    return state != nullptr ? state->check : BST_UNCHECKED;
}

LRESULT OnGetState(HWND hwnd) {
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr) {
        return 0;
    }
    return state->check | (state->pushed ? BST_PUSHED : 0) | (state->focused ? BST_FOCUS : 0);
}

LRESULT OnSetState(HWND hwnd, WPARAM wParam) {
    ButtonState* state = StateOf(hwnd);
    bool pushed = wParam != 0;
    if (state == nullptr || state->pushed == pushed) {
        return 0;
    }
    state->pushed = pushed;
    controls::DrawNow(hwnd, Paint);
    return 0;
}

// The type bits of the style are replaced directly, without WM_STYLECHANGING, as the
// platform does; lParam asks for the repaint.
LRESULT OnSetStyle(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    Window* window = LookUp(hwnd);
    if (window == nullptr) {
        return 0;
    }
    window->style = (window->style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
    if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) {
        controls::RepaintNow(hwnd);
    }
    return 0;
}

// A press and a release at the client origin, through the window procedure, so a
// subclass sees them; no key flags, as the platform sends them. A disabled button does
// not click: it could not be pressed either.
LRESULT OnClick(HWND hwnd) {
    if (!IsWindowEnabled(hwnd)) {
        return 0;
    }
    SendMessageW(hwnd, WM_LBUTTONDOWN, 0, 0);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
    return 0;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: return OnNcCreate(hwnd, wParam, lParam);
    case WM_NCDESTROY: return OnNcDestroy(hwnd, wParam, lParam);
    case WM_ERASEBKGND: return 1; // everything is drawn in WM_PAINT
    case WM_PAINT:
    case WM_PRINTCLIENT: return OnPaint(hwnd, wParam);
    case WM_SETTEXT: return OnSetText(hwnd, wParam, lParam);
    case WM_NCHITTEST: return OnNcHitTest(hwnd, wParam, lParam);
    case WM_ENABLE: return OnEnable(hwnd);
    case WM_SETFONT: return OnSetFont(hwnd, wParam, lParam);
    case WM_GETFONT: return OnGetFont(hwnd);
    case WM_GETDLGCODE: return OnGetDlgCode(hwnd);
    case WM_LBUTTONDBLCLK: return OnLButtonDblClk(hwnd);
    case WM_LBUTTONDOWN: return OnLButtonDown(hwnd);
    case WM_MOUSEMOVE: return OnMouseMove(hwnd, lParam);
    case WM_LBUTTONUP: return OnLButtonUp(hwnd, lParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, wParam);
    case WM_KEYUP: return OnKeyUp(hwnd, wParam);
    case WM_CAPTURECHANGED: return OnCaptureChanged(hwnd, lParam);
    case WM_SETFOCUS: return OnSetFocus(hwnd);
    case WM_KILLFOCUS: return OnKillFocus(hwnd);
    case BM_GETCHECK: return OnGetCheck(hwnd);
    case BM_SETCHECK: return button::OnSetCheck(hwnd, wParam);
    case BM_GETSTATE: return OnGetState(hwnd);
    case BM_SETSTATE: return OnSetState(hwnd, wParam);
    case BM_SETSTYLE: return OnSetStyle(hwnd, wParam, lParam);
    case BM_CLICK: return OnClick(hwnd);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

namespace {

// Check boxes and radio buttons show their check in the window-tree dump, so that a script
// can tell what a tap did.
void DumpCheck(HWND hwnd, diag::JsonWriter& out) {
    ButtonState* state = StateOf(hwnd);
    if (state != nullptr && button::KeepsACheck(StyleOf(hwnd))) {
        out.Key("check");
        out.Number(static_cast<long long>(state->check));
    }
}

} // namespace

ClassDescriptor ButtonClassDescriptor() {
    constexpr UINT kClassStyle = CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW | CS_PARENTDC;
    constexpr int kExtraBytes = static_cast<int>(sizeof(ButtonState));
    return ClassDescriptor{u"BUTTON", kClassStyle, ButtonProc, kExtraBytes, nullptr, DumpCheck};
}

} // namespace device
