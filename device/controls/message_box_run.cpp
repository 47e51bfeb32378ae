// MessageBoxW: makes a "#32770" box, holds the program's input to it and runs its own
// message loop until a button answers, then gives the input and the activation back.
//
// Not emulated:
// - the dialog manager beyond RETURN and ESCAPE: TAB and the arrow keys do not move between
//   buttons, and the default button does not follow the focus
// - WM_ENTERIDLE to the owner; copying the box's text with CTRL+C
#include "controls/message_box.h"
#include "input/input_queue.h"
#include "window/geometry.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <vector>

namespace device {
namespace {

constexpr const char16_t* kDefaultCaption = u"Error";
constexpr UINT kDefaultButtonMask = 0x0F00; // MB_DEFMASK: MB_DEFBUTTON1, 2 or 3

// RETURN and ESCAPE for the box, as the dialog manager handles them before the focused
// control sees them: RETURN presses the focused button (the default one when the focus
// is elsewhere), ESCAPE is IDCANCEL. Returns whether the message was used up.
bool HandleDialogKey(HWND box, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != box && IsChild(box, msg.hwnd) == FALSE)) {
        return false;
    }
    MessageBoxState* state = MessageBoxStateOf(box);
    if (state == nullptr) {
        return false;
    }
    if (msg.wParam == VK_RETURN) {
        HWND button = MessageBoxDefaultButton(box);
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(box, focus) &&
            GetWindowLongPtrW(focus, GWLP_ID) != LONG_PTR{kMessageBoxTextId}) {
            button = focus;
        }
        WORD id = LOWORD(static_cast<DWORD_PTR>(GetWindowLongPtrW(button, GWLP_ID)));
        SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return true;
    }
    if (msg.wParam == VK_ESCAPE) {
        SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(MessageBoxChild(box, IDCANCEL)));
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
            // The focus leaves the button for the box itself before the box goes, so the
            // window activated next hears of the box in its WM_SETFOCUS.
            if (HWND focus = GetFocus(); focus != nullptr && IsChild(m_box, focus)) {
                SetFocus(m_box);
            }
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
    const MessageBoxButtonSet* buttons = MessageBoxButtons(uType & MB_TYPEMASK);
    if (buttons == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    MessageBoxState state;
    state.text = lpText != nullptr ? lpText : u"";
    state.iconFlag = uType & MB_ICONMASK;
    state.buttons = buttons;
    int defaultButton = static_cast<int>((uType & kDefaultButtonMask) >> 8);
    state.defaultButton = defaultButton < state.buttons->count ? defaultButton : 0;
    RECT rect = LayOutMessageBox(state);

    ModalSession session(owner, uType);
    MessageBeep(uType & MB_ICONMASK);
    DWORD exStyle = (uType & (MB_SYSTEMMODAL | MB_TOPMOST)) != 0 ? WS_EX_TOPMOST : 0;
    HWND box = CreateWindowExW(exStyle, kMessageBoxClass,
                               lpCaption != nullptr ? lpCaption : kDefaultCaption,
                               WS_POPUP | WS_BORDER, rect.left, rect.top, Width(rect), Height(rect),
                               owner, nullptr, nullptr, &state);
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
