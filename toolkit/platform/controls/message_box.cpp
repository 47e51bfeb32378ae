// MessageBoxW and the "#32770" class its boxes are made of: a modal popup in the Pocket PC
// style (a caption strip, an icon, the wrapped text and a row of buttons) run by a message
// loop of its own, during which no other window of the program gets a tap or a key.
//
// Not emulated:
// - MB_HELP, MB_USERICON, MB_RIGHT, MB_RTLREADING, MB_CANCELTRYCONTINUE (refused)
// - the dialog manager beyond RETURN and ESCAPE: TAB and the arrow keys do not move between
//   buttons, and the default button does not follow the focus
// - WM_ENTERIDLE to the owner; copying the box's text with CTRL+C
// - an inactive look for the caption strip while another window is in front
#include "controls/control_classes.h"
#include "controls/message_box_icons.h"
#include "input/input_queue.h"
#include "shell/system_info.h"
#include "window/geometry.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace device {
namespace {

constexpr const char16_t* kDialogClass = u"#32770";
constexpr const char16_t* kDefaultCaption = u"Error";
constexpr UINT_PTR kTextId = 0xFFFF;        // the platform's identifier for a dialog's plain text
constexpr UINT kDefaultButtonMask = 0x0F00; // MB_DEFMASK: MB_DEFBUTTON1, 2 or 3

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

struct ButtonSpec {
    int id;
    const char16_t* text;
};

// The buttons of one MB_TYPEMASK value, and what ESCAPE or WM_CLOSE answers (0: nothing;
// a box without a Cancel button cannot be dismissed that way, except the lone OK box).
struct ButtonSet {
    ButtonSpec buttons[3];
    int count;
    int cancelAnswer;
};

constexpr ButtonSet kButtonSets[] = {
    {{{IDOK, u"OK"}}, 1, IDOK},                            // MB_OK
    {{{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}}, 2, IDCANCEL}, // MB_OKCANCEL
    {{{IDABORT, u"Abort"}, {IDRETRY, u"Retry"}, {IDIGNORE, u"Ignore"}},
     3,
     0},                                                                    // MB_ABORTRETRYIGNORE
    {{{IDYES, u"Yes"}, {IDNO, u"No"}, {IDCANCEL, u"Cancel"}}, 3, IDCANCEL}, // MB_YESNOCANCEL
    {{{IDYES, u"Yes"}, {IDNO, u"No"}}, 2, 0},                               // MB_YESNO
    {{{IDRETRY, u"Retry"}, {IDCANCEL, u"Cancel"}}, 2, IDCANCEL},            // MB_RETRYCANCEL
};

// One box, kept by MessageBoxW for as long as the box is up; the window reaches it through
// a pointer in its extra bytes.
struct MessageBoxState {
    // What the box shows.
    std::u16string text;
    UINT iconFlag = 0;
    const ButtonSet* buttons = nullptr;
    int defaultButton = 0;
    // Where its parts go, in client coordinates.
    RECT textRect{};
    POINT iconAt{};
    RECT buttonRects[3]{};
    // The answer: set by the window procedure, read by the loop.
    bool done = false;
    int result = 0;
};

MessageBoxState* StateOf(HWND hwnd) {
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

HWND ChildWithId(HWND parent, UINT_PTR id) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (static_cast<UINT_PTR>(GetWindowLongPtrW(child, GWLP_ID)) == id) {
            return child;
        }
    }
    return nullptr;
}

HWND DefaultButton(HWND box, const MessageBoxState& state) {
    return ChildWithId(box, static_cast<UINT_PTR>(state.buttons->buttons[state.defaultButton].id));
}

// Lays the box out for its text: as wide as the work area allows, as tall as the wrapped
// text (or the icon) needs, but never taller than the work area, where the text is cut.
// Returns the box's window rectangle on the screen.
RECT LayOut(MessageBoxState& state) {
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

void Finish(HWND box, int answer) {
    if (MessageBoxState* state = StateOf(box)) {
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
    MessageBoxState* state = StateOf(hwnd);
    if (state == nullptr) {
        return 0;
    }
    const RECT& t = state->textRect;
    if (CreateWindowExW(0, u"STATIC", state->text.c_str(), kTextStyle, t.left, t.top, Width(t),
                        Height(t), hwnd, reinterpret_cast<HMENU>(kTextId), nullptr,
                        nullptr) == nullptr) {
        return -1;
    }
    for (int i = 0; i < state->buttons->count; ++i) {
        const ButtonSpec& spec = state->buttons->buttons[i];
        const RECT& r = state->buttonRects[i];
        DWORD style =
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == state->defaultButton ? BS_DEFPUSHBUTTON : 0);
        if (CreateWindowExW(0, u"BUTTON", spec.text, style, r.left, r.top, Width(r), Height(r),
                            hwnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(spec.id)), nullptr,
                            nullptr) == nullptr) {
            return -1;
        }
    }
    return 0;
}

LRESULT OnNcDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (StateOf(hwnd) != nullptr) {
        // A box destroyed by someone else lifts its hold on the input at once.
        PopModalInputWindow(LookUp(hwnd));
        SetStateOf(hwnd, nullptr);
    }
    return DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}

LRESULT OnPaint(HWND hwnd) {
    MessageBoxState* state = StateOf(hwnd);
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
    MessageBoxState* state = StateOf(hwnd);
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
    if (StateOf(hwnd) == nullptr) {
        return DefWindowProcW(hwnd, WM_CLOSE, 0, 0);
    }
    return OnCommand(hwnd, MAKEWPARAM(IDCANCEL, BN_CLICKED));
}

// As a dialog does, the box hands the focus to its default button rather than keeping it.
LRESULT OnActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    MessageBoxState* state = StateOf(hwnd);
    if (state == nullptr) {
        return DefWindowProcW(hwnd, WM_ACTIVATE, wParam, lParam);
    }
    if (LOWORD(wParam) != WA_INACTIVE) {
        SetFocus(DefaultButton(hwnd, *state));
    }
    return 0;
}

LRESULT OnSetFocus(HWND hwnd) {
    if (MessageBoxState* state = StateOf(hwnd)) {
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

// --- The modal run -------------------------------------------------------------------

// RETURN and ESCAPE for the box, as the dialog manager handles them before the focused
// control sees them: RETURN presses the focused button (the default one when the focus
// is elsewhere), ESCAPE is IDCANCEL. Returns whether the message was used up.
bool HandleDialogKey(HWND box, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != box && IsChild(box, msg.hwnd) == FALSE)) {
        return false;
    }
    MessageBoxState* state = StateOf(box);
    if (state == nullptr) {
        return false;
    }
    if (msg.wParam == VK_RETURN) {
        HWND button = DefaultButton(box, *state);
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(box, focus) &&
            GetWindowLongPtrW(focus, GWLP_ID) != LONG_PTR{kTextId}) {
            button = focus;
        }
        WORD id = LOWORD(static_cast<DWORD_PTR>(GetWindowLongPtrW(button, GWLP_ID)));
        SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return true;
    }
    if (msg.wParam == VK_ESCAPE) {
        SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(ChildWithId(box, IDCANCEL)));
        return true;
    }
    return false;
}

// Everything a box changes around itself while it is up, undone in one place, also when a
// window procedure's exception unwinds through the box's loop: the hold on the input, the
// windows disabled for it, the activation, and the box itself.
class ModalSession {
public:
    ModalSession(HWND owner, UINT type) : m_previousActive(GetActiveWindow()) {
        // A press in progress elsewhere (a button holding the capture) ends now, so that no
        // tap reaches that window through its capture while the box is up.
        if (HWND capture = GetCapture()) {
            SendMessageW(capture, WM_CANCELMODE, 0, 0);
            if (GetCapture() != nullptr) {
                ReleaseCapture();
            }
        }
        if ((type & MB_TASKMODAL) != 0) {
            for (Window* top : Desktop()->children) {
                if (!top->deviceOwned && !top->IsDisabledFlag()) {
                    m_disabled.push_back(top->handle);
                }
            }
        } else if (owner != nullptr && IsWindowEnabled(owner)) {
            m_disabled.push_back(owner);
        }
        for (HWND hwnd : m_disabled) {
            EnableWindow(hwnd, FALSE);
        }
    }

    ~ModalSession() { End(); }
    ModalSession(const ModalSession&) = delete;
    ModalSession& operator=(const ModalSession&) = delete;

    void Hold(HWND box) {
        m_box = box;
        PushModalInputWindow(LookUp(box));
    }

    // Idempotent. The windows come back enabled and the previously active one is
    // activated before the box goes, so that the box's destruction moves nothing else.
    void End() {
        if (m_box != nullptr) {
            if (Window* record = LookUp(m_box)) {
                PopModalInputWindow(record);
            }
        }
        for (HWND hwnd : m_disabled) {
            if (IsWindow(hwnd)) {
                EnableWindow(hwnd, TRUE);
            }
        }
        m_disabled.clear();
        if (m_box != nullptr && IsWindow(m_box)) {
            if (m_previousActive != nullptr && m_previousActive != m_box &&
                IsWindow(m_previousActive) && IsWindowVisible(m_previousActive) &&
                IsWindowEnabled(m_previousActive)) {
                SetForegroundWindow(m_previousActive);
            }
            DestroyWindow(m_box);
        }
        m_box = nullptr;
    }

private:
    HWND m_previousActive;
    HWND m_box = nullptr;
    std::vector<HWND> m_disabled;
};

struct LoopEnd {
    bool quit = false;
    int quitCode = 0;
};

// The box's own loop: every window of the program keeps getting its messages (paint,
// timers, posted messages), but input outside the box is dropped by the device while the
// session holds it. Ends when the box has its answer, is gone, or WM_QUIT comes.
LoopEnd RunLoop(HWND box, const MessageBoxState& state) {
    LoopEnd end;
    MSG msg;
    while (!state.done && IsWindow(box)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            end.quit = true;
            end.quitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1) {
            break;
        }
        if (HandleDialogKey(box, msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return end;
}

} // namespace

ClassDescriptor MessageBoxClassDescriptor() {
    HBRUSH window = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    return ClassDescriptor{kDialogClass,   CS_DBLCLKS,
                           MessageBoxProc, static_cast<int>(sizeof(MessageBoxState*)),
                           window,         nullptr};
}

} // namespace device

// Shows the box and waits for the answer in its own loop. Returns the chosen button's
// identifier; 0 when the box could not be made, or when WM_QUIT ended the loop before an
// answer (the quit is then posted again, so that the program's own loop ends too).
int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    using namespace device;
    HWND owner = nullptr;
    if (hWnd != nullptr) {
        Window* window = FromHandle(hWnd);
        if (window == nullptr) {
            return 0;
        }
        owner = TopLevelOf(window)->handle;
    }
    UINT type = uType & MB_TYPEMASK;
    if (type >= std::size(kButtonSets)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    MessageBoxState state;
    state.text = lpText != nullptr ? lpText : u"";
    state.iconFlag = uType & MB_ICONMASK;
    state.buttons = &kButtonSets[type];
    int defaultButton = static_cast<int>((uType & kDefaultButtonMask) >> 8);
    state.defaultButton = defaultButton < state.buttons->count ? defaultButton : 0;
    RECT rect = LayOut(state);

    ModalSession session(owner, uType);
    MessageBeep(uType & MB_ICONMASK);
    DWORD exStyle = (uType & (MB_SYSTEMMODAL | MB_TOPMOST)) != 0 ? WS_EX_TOPMOST : 0;
    HWND box =
        CreateWindowExW(exStyle, kDialogClass, lpCaption != nullptr ? lpCaption : kDefaultCaption,
                        WS_POPUP | WS_BORDER, rect.left, rect.top, Width(rect), Height(rect), owner,
                        nullptr, nullptr, &state);
    if (box == nullptr) {
        return 0;
    }
    session.Hold(box);
    ShowWindow(box, SW_SHOW);
    SetForegroundWindow(box);
    LoopEnd end = RunLoop(box, state);
    session.End();
    if (end.quit) {
        PostQuitMessage(end.quitCode);
    }
    return state.done ? state.result : 0;
}
