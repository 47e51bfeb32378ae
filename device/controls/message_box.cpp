// The "#32770" class of the boxes MessageBoxW shows: a popup in the Pocket PC style, with
// a caption strip, an icon, the wrapped text and a row of buttons, which answers the box's
// loop when a button is chosen.
//
// Not emulated:
// - MB_HELP, MB_USERICON, MB_RIGHT, MB_RTLREADING, MB_CANCELTRYCONTINUE (refused)
// - an inactive look for the caption strip while another window is in front
// - dialogs other than message boxes: a "#32770" window made by a program is a plain
//   window with the window colour
#include "controls/message_box.h"

#include "controls/control_classes.h"
#include "controls/message_box_icons.h"
#include "diag/json_writer.h"
#include "input/input_queue.h"
#include "shell/system_info.h"
#include "window/geometry.h"
#include "window/window_registry.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace device {
namespace {

// Geometry, in pixels.
constexpr int kScreenMargin = 4;   // between the box and the sides of the work area
constexpr int kCaptionHeight = 20; // the caption strip along the top of the client area
constexpr int kPadding = 8;        // around the icon, the text and the buttons
constexpr int kButtonWidth = 64;
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 6;

// The message text is a static control with these styles; it is measured with the same
// DrawTextW flags that the control draws it with.
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
constexpr UINT kTextFormat = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX;

// The buttons of each MB_TYPEMASK value, in its order.
constexpr MessageBoxButtonSet kButtonSets[] = {
    {{{IDOK, u"OK"}}, 1, IDOK},                            // MB_OK
    {{{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}}, 2, IDCANCEL}, // MB_OKCANCEL
    {{{IDABORT, u"Abort"}, {IDRETRY, u"Retry"}, {IDIGNORE, u"Ignore"}},
     3,
     0},                                                                    // MB_ABORTRETRYIGNORE
    {{{IDYES, u"Yes"}, {IDNO, u"No"}, {IDCANCEL, u"Cancel"}}, 3, IDCANCEL}, // MB_YESNOCANCEL
    {{{IDYES, u"Yes"}, {IDNO, u"No"}}, 2, 0},                               // MB_YESNO
    {{{IDRETRY, u"Retry"}, {IDCANCEL, u"Cancel"}}, 2, IDCANCEL},            // MB_RETRYCANCEL
};

MessageBoxState* BoxStateOf(HWND hwnd) {
    Window* window = LookUp(hwnd);
    if (window == nullptr || window->extraBytes.size() < sizeof(MessageBoxState*)) {
        return nullptr;
    }
    MessageBoxState* state = nullptr;
    std::memcpy(&state, window->extraBytes.data(), sizeof state);
    return state;
}

void SetStateOf(HWND hwnd, MessageBoxState* state) {
    Window* window = LookUp(hwnd);
    if (window != nullptr && window->extraBytes.size() >= sizeof state) {
        std::memcpy(window->extraBytes.data(), &state, sizeof state);
    }
}

bool HasIcon(UINT iconFlag) {
    UINT icon = iconFlag & MB_ICONMASK;
    return icon == MB_ICONHAND || icon == MB_ICONQUESTION || icon == MB_ICONEXCLAMATION ||
           icon == MB_ICONASTERISK;
}

HWND DefaultButton(HWND box, const MessageBoxState& state) {
    return MessageBoxChild(box,
                           static_cast<UINT_PTR>(state.buttons->buttons[state.defaultButton].id));
}

void Finish(HWND box, int answer) {
    if (MessageBoxState* state = BoxStateOf(box)) {
        state->done = true;
        state->result = answer;
    }
}

// --- Painting ------------------------------------------------------------------------

// The caption strip shows the window text, so that SetWindowTextW on the box shows too.
void PaintCaptionStrip(HWND hwnd, HDC hdc) {
    RECT client;
    GetClientRect(hwnd, &client);
    RECT strip{0, 0, client.right, kCaptionHeight};
    FillRect(hdc, &strip, GetSysColorBrush(COLOR_ACTIVECAPTION));
    int length = GetWindowTextLengthW(hwnd);
    std::u16string caption(static_cast<size_t>(length) + 1, u'\0');
    caption.resize(static_cast<size_t>(GetWindowTextW(hwnd, caption.data(), length + 1)));
    LOGFONTW logFont{};
    logFont.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectW(&logFont);
    HGDIOBJ oldFont = SelectObject(hdc, bold);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_CAPTIONTEXT));
    RECT text{kPadding - 2, 0, client.right - (kPadding - 2), kCaptionHeight};
    DrawTextW(hdc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(hdc, oldFont);
    DeleteObject(bold);
}

// --- Messages ------------------------------------------------------------------------

LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (create != nullptr) {
        SetStateOf(hwnd, static_cast<MessageBoxState*>(create->lpCreateParams));
    }
    return DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam);
}

// The text and the buttons are children of the box, so that the window tree shows them.
LRESULT OnCreate(HWND hwnd) {
    MessageBoxState* state = BoxStateOf(hwnd);
    if (state == nullptr) {
        return 0;
    }
    const RECT& t = state->textRect;
    if (CreateWindowExW(0, u"STATIC", state->text.c_str(), kTextStyle, t.left, t.top, Width(t),
                        Height(t), hwnd, reinterpret_cast<HMENU>(kMessageBoxTextId), nullptr,
                        nullptr) == nullptr) {
        return -1;
    }
    for (int i = 0; i < state->buttons->count; ++i) {
        const MessageBoxButton& button = state->buttons->buttons[i];
        const RECT& r = state->buttonRects[i];
        DWORD style =
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == state->defaultButton ? BS_DEFPUSHBUTTON : 0);
        if (CreateWindowExW(0, u"BUTTON", button.text, style, r.left, r.top, Width(r), Height(r),
                            hwnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(button.id)),
                            nullptr, nullptr) == nullptr) {
            return -1;
        }
    }
    return 0;
}

LRESULT OnNcDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (BoxStateOf(hwnd) != nullptr) {
        // A box destroyed by someone else lifts its hold on the input at once.
        PopModalInputWindow(LookUp(hwnd));
        SetStateOf(hwnd, nullptr);
    }
    return DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}

LRESULT OnPaint(HWND hwnd) {
    MessageBoxState* state = BoxStateOf(hwnd);
    if (state == nullptr) {
        return DefWindowProcW(hwnd, WM_PAINT, 0, 0);
    }
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    if (hdc != nullptr) {
        PaintCaptionStrip(hwnd, hdc);
        DrawMessageBoxIcon(hdc, state->iconAt.x, state->iconAt.y, state->iconFlag);
    }
    EndPaint(hwnd, &paint);
    return 0;
}

LRESULT OnSetText(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefWindowProcW(hwnd, WM_SETTEXT, wParam, lParam);
    RECT strip{0, 0, 0, kCaptionHeight};
    GetClientRect(hwnd, &strip);
    strip.bottom = kCaptionHeight;
    InvalidateRect(hwnd, &strip, FALSE);
    return result;
}

// The box's own parts sit on the window colour.
LRESULT OnControlColor(WPARAM wParam) {
    HDC hdc = reinterpret_cast<HDC>(wParam);
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

// A button of the box answers; IDCANCEL (ESCAPE) answers what the set allows.
LRESULT OnCommand(HWND hwnd, WPARAM wParam) {
    MessageBoxState* state = BoxStateOf(hwnd);
    if (state == nullptr) {
        return 0;
    }
    int id = LOWORD(wParam);
    for (int i = 0; i < state->buttons->count; ++i) {
        if (state->buttons->buttons[i].id == id) {
            Finish(hwnd, id);
            return 0;
        }
    }
    if (id == IDCANCEL && state->buttons->cancelAnswer != 0) {
        Finish(hwnd, state->buttons->cancelAnswer);
    }
    return 0;
}

// Closing is the same as ESCAPE; the box is never destroyed by the default procedure.
LRESULT OnClose(HWND hwnd) {
    if (BoxStateOf(hwnd) == nullptr) {
        return DefWindowProcW(hwnd, WM_CLOSE, 0, 0);
    }
    return OnCommand(hwnd, MAKEWPARAM(IDCANCEL, BN_CLICKED));
}

// As a dialog does, the box hands the focus to its default button rather than keeping it.
LRESULT OnActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    MessageBoxState* state = BoxStateOf(hwnd);
    if (state == nullptr) {
        return DefWindowProcW(hwnd, WM_ACTIVATE, wParam, lParam);
    }
    if (LOWORD(wParam) != WA_INACTIVE) {
        SetFocus(DefaultButton(hwnd, *state));
    }
    return 0;
}

// The focus goes on to the default button, except once the box has its answer: then the
// focus stays on the box itself until the box goes.
LRESULT OnSetFocus(HWND hwnd) {
    if (MessageBoxState* state = BoxStateOf(hwnd); state != nullptr && !state->done) {
        SetFocus(DefaultButton(hwnd, *state));
    }
    return 0;
}

LRESULT CALLBACK MessageBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: return OnNcCreate(hwnd, wParam, lParam);
    case WM_CREATE: return OnCreate(hwnd);
    case WM_NCDESTROY: return OnNcDestroy(hwnd, wParam, lParam);
    case WM_PAINT: return OnPaint(hwnd);
    case WM_SETTEXT: return OnSetText(hwnd, wParam, lParam);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: return OnControlColor(wParam);
    case WM_COMMAND: return OnCommand(hwnd, wParam);
    case WM_CLOSE: return OnClose(hwnd);
    case WM_ACTIVATE: return OnActivate(hwnd, wParam, lParam);
    case WM_SETFOCUS: return OnSetFocus(hwnd);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

const MessageBoxButtonSet* MessageBoxButtons(UINT type) {
    return type < std::size(kButtonSets) ? &kButtonSets[type] : nullptr;
}

// As wide as the work area allows, as tall as the wrapped text (or the icon) needs, but
// never taller than the work area, where the text is cut.
RECT LayOutMessageBox(MessageBoxState& state) {
    RECT work = WorkArea();
    int border = GetSystemMetrics(SM_CXBORDER);
    int boxWidth = Width(work) - 2 * kScreenMargin;
    int clientWidth = boxWidth - 2 * border;
    bool hasIcon = HasIcon(state.iconFlag);
    int bodyTop = kCaptionHeight + kPadding;
    int textLeft = kPadding + (hasIcon ? kMessageBoxIconSize + kPadding : 0);

    RECT measure{textLeft, bodyTop, clientWidth - kPadding, bodyTop};
    HDC screen = GetDC(nullptr);
    DrawTextW(screen, state.text.c_str(), static_cast<int>(state.text.size()), &measure,
              kTextFormat | DT_CALCRECT);
    ReleaseDC(nullptr, screen);
    int textHeight = Height(measure);
    int bodyHeight = std::max(textHeight, hasIcon ? kMessageBoxIconSize : 0);

    int clientHeight = bodyTop + bodyHeight + kPadding + kButtonHeight + kPadding;
    int maxClientHeight = Height(work) - 2 * kScreenMargin - 2 * border;
    if (clientHeight > maxClientHeight) {
        bodyHeight -= clientHeight - maxClientHeight;
        textHeight = std::min(textHeight, bodyHeight);
        clientHeight = maxClientHeight;
    }
    // A short text sits level with the middle of the icon.
    int textTop = bodyTop + std::max(0, (bodyHeight - textHeight) / 2);
    state.textRect = RECT{textLeft, textTop, clientWidth - kPadding, textTop + textHeight};
    state.iconAt = POINT{kPadding, bodyTop + std::max(0, (bodyHeight - kMessageBoxIconSize) / 2)};

    int count = state.buttons->count;
    int rowWidth = count * kButtonWidth + (count - 1) * kButtonGap;
    int buttonTop = bodyTop + bodyHeight + kPadding;
    for (int i = 0; i < count; ++i) {
        int left = (clientWidth - rowWidth) / 2 + i * (kButtonWidth + kButtonGap);
        state.buttonRects[i] =
            RECT{left, buttonTop, left + kButtonWidth, buttonTop + kButtonHeight};
    }

    int boxHeight = clientHeight + 2 * border;
    int top = work.top + std::max(kScreenMargin, (Height(work) - boxHeight) / 3);
    return RECT{work.left + kScreenMargin, top, work.left + kScreenMargin + boxWidth,
                top + boxHeight};
}

MessageBoxState* MessageBoxStateOf(HWND box) {
    return BoxStateOf(box);
}

HWND MessageBoxChild(HWND box, UINT_PTR id) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (static_cast<UINT_PTR>(GetWindowLongPtrW(child, GWLP_ID)) == id) {
            return child;
        }
    }
    return nullptr;
}

HWND MessageBoxDefaultButton(HWND box) {
    MessageBoxState* state = BoxStateOf(box);
    return state != nullptr ? DefaultButton(box, *state) : nullptr;
}

namespace {

const char* IconName(UINT iconFlag) {
    switch (iconFlag & MB_ICONMASK) {
    case MB_ICONHAND: return "error";
    case MB_ICONQUESTION: return "question";
    case MB_ICONEXCLAMATION: return "warning";
    case MB_ICONASTERISK: return "information";
    default: return "none";
    }
}

// What the box says and which icon it shows, for tests and scripts that cannot read pixels.
void DumpMessageBox(HWND hwnd, diag::JsonWriter& out) {
    const MessageBoxState* state = BoxStateOf(hwnd);
    if (state == nullptr) {
        return;
    }
    out.Key("message");
    out.String(state->text);
    out.Key("icon");
    out.String(std::string(IconName(state->iconFlag)));
}

} // namespace

ClassDescriptor MessageBoxClassDescriptor() {
    ClassDescriptor descriptor{};
    descriptor.name = kMessageBoxClass;
    descriptor.style = CS_DBLCLKS;
    descriptor.wndProc = MessageBoxProc;
    descriptor.wndExtra = static_cast<int>(sizeof(MessageBoxState*));
    // The box's face is the window colour, as on the Pocket PC.
    descriptor.background = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    descriptor.dumpExtra = DumpMessageBox;
    return descriptor;
}

} // namespace device
