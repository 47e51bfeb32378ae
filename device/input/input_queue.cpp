// Turning raw stylus and key input into window messages, the key state table, mouse
// capture and TranslateMessage.
#include "input/input_queue.h"

#include "input/focus.h"
#include "input/hit_test.h"
#include "message/clock.h"
#include "message/dispatch.h"
#include "window/geometry.h"
#include "window/window_class.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <algorithm>
#include <array>
#include <deque>
#include <vector>

namespace device {
namespace {

struct PendingInput {
    RawInput raw;
    DWORD time = 0;
    bool converted = false;
    MSG msg{};
};

struct LastClick {
    HWND hwnd = nullptr;
    DWORD time = 0;
    POINT point{};
    bool valid = false;
};

// The translation the device recorded for the last key-down it delivered, so that
// TranslateMessage produces exactly the character the input source meant.
struct KeyTranslation {
    MSG msg{};
    char16_t character = 0;
    bool known = false;
};

std::deque<PendingInput> g_input;
std::array<BYTE, 256> g_keyState{};
std::vector<HWND> g_modalInput; // handles: a box destroyed without letting go holds nothing
HWND g_capture = nullptr; // a handle, so that a window gone meanwhile looks up as nothing
LastClick g_lastClick;
KeyTranslation g_lastKey;

bool PointerButtonDown() { return (g_keyState[VK_LBUTTON] & 0x80) != 0; }

WPARAM MouseKeyFlags(bool buttonDown) {
    WPARAM flags = buttonDown ? MK_LBUTTON : 0;
    if ((g_keyState[VK_SHIFT] & 0x80) != 0) {
        flags |= MK_SHIFT;
    }
    if ((g_keyState[VK_CONTROL] & 0x80) != 0) {
        flags |= MK_CONTROL;
    }
    return flags;
}

bool InsideModalInput(Window* window) {
    while (!g_modalInput.empty() && LookUp(g_modalInput.back()) == nullptr) {
        g_modalInput.pop_back();
    }
    if (g_modalInput.empty()) {
        return true;
    }
    return IsSelfOrDescendant(window, LookUp(g_modalInput.back()));
}

UINT ClientMessageFor(RawInputKind kind) {
    switch (kind) {
    case RawInputKind::PointerDown: return WM_LBUTTONDOWN;
    case RawInputKind::PointerUp: return WM_LBUTTONUP;
    default: return WM_MOUSEMOVE;
    }
}

UINT NonClientMessageFor(UINT clientMessage) {
    return clientMessage - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
}

LPARAM ClientPoint(Window* window, POINT screen) {
    POINT origin = ClientOriginOnScreen(window);
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(screen.x - origin.x)),
                      static_cast<WORD>(static_cast<short>(screen.y - origin.y)));
}

// Tells the parents of a child that the stylus went down over it (WM_PARENTNOTIFY).
void NotifyParentsOfPress(Window* window, POINT screen) {
    HWND start = window->handle;
    Window* child = window;
    while (child != nullptr && child->IsChild() && (child->exStyle & WS_EX_NOPARENTNOTIFY) == 0) {
        Window* parent = child->parent;
        if (parent == nullptr || parent == Desktop()) {
            break;
        }
        Send(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0), ClientPoint(parent, screen));
        if (LookUp(start) == nullptr) {
            return;
        }
        child = LookUp(parent->handle);
    }
}

bool IsDoubleClick(Window* window, POINT point, DWORD time) {
    if ((window->windowClass->style & CS_DBLCLKS) == 0 || !g_lastClick.valid ||
        g_lastClick.hwnd != window->handle || time - g_lastClick.time > GetDoubleClickTime()) {
        return false;
    }
    int slackX = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    int slackY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    return std::abs(point.x - g_lastClick.point.x) <= slackX &&
           std::abs(point.y - g_lastClick.point.y) <= slackY;
}

// Returns false when the input produces no message (it was eaten or went nowhere).
bool ConvertPointer(PendingInput& input) {
    const RawInput& raw = input.raw;
    SetCursorPosition(raw.point);
    UINT message = ClientMessageFor(raw.kind);
    bool buttonDownAfter = raw.kind == RawInputKind::PointerDown ||
                           (raw.kind == RawInputKind::PointerMove && PointerButtonDown());

    if (Window* capture = LookUp(g_capture)) {
        // Even a window holding the capture hears nothing while a message box holds the
        // input elsewhere.
        if (!InsideModalInput(capture)) {
            return false;
        }
        input.msg = MSG{capture->handle, message, MouseKeyFlags(buttonDownAfter),
                        ClientPoint(capture, raw.point), input.time, raw.point};
        return true;
    }
    HitResult hit = HitTest(raw.point);
    if (hit.window == nullptr || hit.window == Desktop()) {
        return false;
    }
    if (!InsideModalInput(hit.window)) {
        if (raw.kind == RawInputKind::PointerDown) {
            MessageBeep(0);
        }
        return false;
    }
    HWND target = hit.window->handle;
    if (hit.code == HTERROR) {
        // A disabled window hears of the press only through WM_SETCURSOR; the mouse
        // message itself is dropped.
        Send(hit.window, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(HTERROR, message));
        return false;
    }
    bool eat = false;
    if (raw.kind == RawInputKind::PointerDown) {
        if (IsDoubleClick(hit.window, raw.point, input.time)) {
            message = WM_LBUTTONDBLCLK;
            g_lastClick.valid = false;
        } else {
            g_lastClick = LastClick{target, input.time, raw.point, true};
        }
        if (hit.code == HTCLIENT) {
            NotifyParentsOfPress(hit.window, raw.point);
        }
        Window* window = LookUp(target);
        if (window == nullptr) {
            return false;
        }
        Window* top = TopLevelOf(window);
        if (top != ActiveWindow() && !top->deviceOwned) {
            LRESULT answer = Send(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle),
                                  MAKELPARAM(hit.code, message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : message));
            eat = answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
            if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) && LookUp(top->handle) != nullptr) {
                ActivateWindow(top, WA_CLICKACTIVE);
            }
        }
    }
    Window* window = LookUp(target);
    if (window == nullptr) {
        return false;
    }
    Send(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit.code, message));
    window = LookUp(target);
    if (window == nullptr || eat) {
        return false;
    }
    if (hit.code == HTCLIENT) {
        input.msg = MSG{target, message, MouseKeyFlags(buttonDownAfter), ClientPoint(window, raw.point),
                        input.time, raw.point};
    } else {
        input.msg = MSG{target, NonClientMessageFor(message), static_cast<WPARAM>(hit.code),
                        MAKELPARAM(raw.point.x, raw.point.y), input.time, raw.point};
    }
    return true;
}

bool ConvertKey(PendingInput& input) {
    const RawInput& raw = input.raw;
    Window* target = FocusWindow();
    if (target == nullptr) {
        target = ActiveWindow();
    }
    if (target == nullptr || !InsideModalInput(target)) {
        return false;
    }
    if (raw.kind == RawInputKind::Char) {
        input.msg = MSG{target->handle, WM_CHAR, raw.character, 1, input.time, CursorPosition()};
        return true;
    }
    bool up = raw.kind == RawInputKind::KeyUp;
    bool altDown = (g_keyState[VK_MENU] & 0x80) != 0 || raw.virtualKey == VK_MENU;
    bool controlDown = (g_keyState[VK_CONTROL] & 0x80) != 0;
    UINT message = (altDown && !controlDown) ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (up ? WM_KEYUP : WM_KEYDOWN);
    bool wasDown = (g_keyState[raw.virtualKey & 0xFF] & 0x80) != 0;
    LPARAM lParam = 1 | (static_cast<LPARAM>(raw.virtualKey & 0xFF) << 16);
    if (wasDown || up) {
        lParam |= LPARAM{1} << 30;
    }
    if (up) {
        lParam |= LPARAM{1} << 31;
    }
    if (altDown) {
        lParam |= LPARAM{1} << 29;
    }
    input.msg = MSG{target->handle, message, raw.virtualKey, lParam, input.time, CursorPosition()};
    return true;
}

void ApplyKeyState(const PendingInput& input) {
    const RawInput& raw = input.raw;
    switch (raw.kind) {
    case RawInputKind::PointerDown: g_keyState[VK_LBUTTON] |= 0x80; break;
    case RawInputKind::PointerUp: g_keyState[VK_LBUTTON] &= 0x7F; break;
    case RawInputKind::KeyDown:
        SetKeyDown(static_cast<int>(raw.virtualKey), true);
        g_lastKey = KeyTranslation{input.msg, raw.character, raw.translationKnown};
        break;
    case RawInputKind::KeyUp: SetKeyDown(static_cast<int>(raw.virtualKey), false); break;
    default: break;
    }
}

} // namespace

void QueueInput(const RawInput& input) {
    // Every piece of input takes a moment of the virtual clock, so that message times grow.
    AdvanceClock(10);
    g_input.push_back(PendingInput{input, Now(), false, MSG{}});
}

bool HasPendingInput() { return !g_input.empty(); }

UINT PendingInputStatus() {
    UINT status = 0;
    for (const PendingInput& pending : g_input) {
        switch (pending.raw.kind) {
        case RawInputKind::PointerDown:
        case RawInputKind::PointerUp: status |= QS_MOUSEBUTTON; break;
        case RawInputKind::PointerMove: status |= QS_MOUSEMOVE; break;
        case RawInputKind::KeyDown:
        case RawInputKind::KeyUp:
        case RawInputKind::Char: status |= QS_KEY; break;
        }
    }
    return status;
}

void ResetInput() {
    g_input.clear();
    g_keyState.fill(0);
    g_modalInput.clear();
    g_capture = nullptr;
    g_lastClick = LastClick{};
    g_lastKey = KeyTranslation{};
}

bool TakeInputMessage(MSG* msg, const MessageFilter& filter, bool remove, bool* servedShell) {
    while (!g_input.empty()) {
        PendingInput& input = g_input.front();
        if (!input.converted) {
            // Converting may send messages that queue more input or remove this one;
            // work on a copy and put the result back only if it is still at the front.
            PendingInput working = input;
            bool isPointer = working.raw.kind == RawInputKind::PointerDown ||
                             working.raw.kind == RawInputKind::PointerMove ||
                             working.raw.kind == RawInputKind::PointerUp;
            bool produced = isPointer ? ConvertPointer(working) : ConvertKey(working);
            if (!produced || IsShellMessage(working.msg)) {
                // Input for the shell's windows is the shell's business: delivered here,
                // never handed to the program.
                ApplyKeyState(working);
                g_input.pop_front();
                if (produced) {
                    *servedShell = true;
                    DispatchMessageW(&working.msg);
                }
                continue;
            }
            working.converted = true;
            g_input.front() = working;
        }
        PendingInput& ready = g_input.front();
        if (!filter.Matches(ready.msg)) {
            return false;
        }
        *msg = ready.msg;
        if (remove) {
            ApplyKeyState(ready);
            g_input.pop_front();
        }
        return true;
    }
    return false;
}

void PushModalInputWindow(Window* window) { g_modalInput.push_back(window->handle); }

void PopModalInputWindow(Window* window) {
    auto it = std::find(g_modalInput.begin(), g_modalInput.end(), window->handle);
    if (it != g_modalInput.end()) {
        g_modalInput.erase(it);
    }
}

bool IsKeyDown(int virtualKey) { return (g_keyState[virtualKey & 0xFF] & 0x80) != 0; }

void SetKeyDown(int virtualKey, bool down) {
    auto apply = [](int key, bool isDown) {
        BYTE& state = g_keyState[key & 0xFF];
        if (isDown) {
            if ((state & 0x80) == 0) {
                state ^= 0x01; // the toggle bit flips on every press
            }
            state |= 0x80;
        } else {
            state &= 0x7F;
        }
    };
    apply(virtualKey, down);
    // The left and right keys also count as the generic one.
    switch (virtualKey) {
    case VK_LSHIFT: case VK_RSHIFT: apply(VK_SHIFT, down); break;
    case VK_LCONTROL: case VK_RCONTROL: apply(VK_CONTROL, down); break;
    case VK_LMENU: case VK_RMENU: apply(VK_MENU, down); break;
    default: break;
    }
}

namespace {

struct KeyCharacter {
    UINT key;
    char16_t plain;
    char16_t shifted;
};

constexpr KeyCharacter kUsKeys[] = {
    {'0', u'0', u')'}, {'1', u'1', u'!'}, {'2', u'2', u'@'}, {'3', u'3', u'#'},
    {'4', u'4', u'$'}, {'5', u'5', u'%'}, {'6', u'6', u'^'}, {'7', u'7', u'&'},
    {'8', u'8', u'*'}, {'9', u'9', u'('}, {VK_SPACE, u' ', u' '}, {VK_OEM_1, u';', u':'},
    {VK_OEM_PLUS, u'=', u'+'}, {VK_OEM_COMMA, u',', u'<'}, {VK_OEM_MINUS, u'-', u'_'},
    {VK_OEM_PERIOD, u'.', u'>'}, {VK_OEM_2, u'/', u'?'}, {VK_OEM_3, u'`', u'~'},
    {VK_OEM_4, u'[', u'{'}, {VK_OEM_5, u'\\', u'|'}, {VK_OEM_6, u']', u'}'},
    {VK_OEM_7, u'\'', u'"'}, {VK_RETURN, u'\r', u'\r'}, {VK_BACK, u'\b', u'\b'},
    {VK_TAB, u'\t', u'\t'}, {VK_ESCAPE, 0x1B, 0x1B},
};

} // namespace

char16_t CharacterForKey(UINT virtualKey, bool shift, bool control) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        if (control) {
            return static_cast<char16_t>(virtualKey - 'A' + 1);
        }
        bool upper = shift != ((g_keyState[VK_CAPITAL] & 0x01) != 0);
        return static_cast<char16_t>(upper ? virtualKey : virtualKey + 32);
    }
    for (const KeyCharacter& key : kUsKeys) {
        if (key.key == virtualKey) {
            if (control && virtualKey != VK_RETURN && virtualKey != VK_BACK) {
                return 0;
            }
            return shift ? key.shifted : key.plain;
        }
    }
    return 0;
}

bool KeyForCharacter(char16_t character, UINT* virtualKey, bool* shift) {
    if (character >= u'a' && character <= u'z') {
        *virtualKey = character - 32;
        *shift = false;
        return true;
    }
    if (character >= u'A' && character <= u'Z') {
        *virtualKey = character;
        *shift = true;
        return true;
    }
    for (const KeyCharacter& key : kUsKeys) {
        if (key.plain == character) {
            *virtualKey = key.key;
            *shift = false;
            return true;
        }
        if (key.shifted == character) {
            *virtualKey = key.key;
            *shift = true;
            return true;
        }
    }
    return false;
}

} // namespace device

using device::Window;

SHORT WINAPI GetKeyState(int nVirtKey) {
    BYTE state = device::g_keyState[nVirtKey & 0xFF];
    SHORT result = (state & 0x80) != 0 ? static_cast<SHORT>(0x8000) : 0;
    return static_cast<SHORT>(result | (state & 0x01));
}

SHORT WINAPI GetAsyncKeyState(int vKey) { return GetKeyState(vKey); }

UINT WINAPI GetDoubleClickTime() { return 500; }

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    if (lpMsg == nullptr) {
        return FALSE;
    }
    UINT message = lpMsg->message;
    if (message != WM_KEYDOWN && message != WM_KEYUP && message != WM_SYSKEYDOWN && message != WM_SYSKEYUP) {
        return FALSE;
    }
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        return TRUE;
    }
    char16_t character = 0;
    const device::KeyTranslation& last = device::g_lastKey;
    bool lastKey = last.msg.hwnd == lpMsg->hwnd && last.msg.wParam == lpMsg->wParam && last.msg.time == lpMsg->time;
    if (lastKey && last.known) {
        // The input source said what the key types (typed text, or the desktop's layout).
        if (last.msg.message == message && last.msg.lParam == lpMsg->lParam) {
            character = last.character;
        }
    } else {
        // As the keyboard types it, with the key state as of the last message taken.
        character = device::CharacterForKey(static_cast<UINT>(lpMsg->wParam), device::IsKeyDown(VK_SHIFT),
                                            device::IsKeyDown(VK_CONTROL));
    }
    if (character != 0) {
        PostMessageW(lpMsg->hwnd, message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, character, lpMsg->lParam);
    }
    return TRUE;
}

HWND WINAPI SetCapture(HWND hWnd) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    Window* previous = device::LookUp(device::g_capture);
    if (previous == window) {
        return hWnd;
    }
    device::g_capture = hWnd;
    HWND previousHandle = previous != nullptr ? previous->handle : nullptr;
    if (previous != nullptr) {
        device::Send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    }
    return previousHandle;
}

BOOL WINAPI ReleaseCapture() {
    Window* previous = device::LookUp(device::g_capture);
    device::g_capture = nullptr;
    if (previous != nullptr) {
        device::Send(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND WINAPI GetCapture() { return device::LookUp(device::g_capture) != nullptr ? device::g_capture : nullptr; }

namespace device {

// Called when a window goes away: it can no longer hold the capture.
void ForgetCaptureOf(Window* window) {
    Window* capture = LookUp(g_capture);
    if (capture != nullptr && IsSelfOrDescendant(capture, window)) {
        g_capture = nullptr;
    }
    if (g_lastClick.valid && LookUp(g_lastClick.hwnd) == window) {
        g_lastClick.valid = false;
    }
}

} // namespace device
