// ToolkitWndProc, TControl::WndProc and the handler chain.
//
// Exceptions (the database layer raises ESqliteException from event handlers) pass
// through here on their way to the application's catch: every count that is raised for
// the duration of a call (MessageDepth, FocusLock, the hold around the handler chain) is
// lowered again by a scope guard. The check that frees a control whose window has been
// destroyed does not run while an exception passes: such a control stays allocated,
// marked WindowDestroyed, and is freed by its owner — the parent's auto-free list, or the
// code that created the form — instead of in the middle of the unwinding. A Free that a
// handler made on the control itself completes as the hold around the message lets go,
// also while unwinding, so nothing is leaked.
#include "dispatch.h"

#include "application.h"
#include "control_factory.h"
#include "properties.h"

namespace {

class DepthScope {
public:
    explicit DepthScope(TControl* control) : m_control(control) { ++m_control->MessageDepth; }
    ~DepthScope() { --m_control->MessageDepth; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;

private:
    TControl* m_control;
};

void* HandlerEntry(TMessageHandler handler) { return reinterpret_cast<void*>(handler); }

bool IsOwnMessage(const TControl* control, const MSG& msg) { return msg.hwnd == control->Handle; }

} // namespace

FocusLockScope::FocusLockScope(TControl* control) : m_control(control) { ++m_control->FocusLock; }
FocusLockScope::~FocusLockScope() { --m_control->FocusLock; }

LRESULT CALLBACK ToolkitWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{hwnd, message, wParam, lParam, 0, POINT{}};
    TControl* self = nullptr;
    if (hwnd != nullptr) {
        if (CreatingControl != nullptr) {
            // The first message of a new toolkit window, usually during CreateWindowExW.
            self = CreatingControl;
            self->Handle = hwnd;
            SetPropW(hwnd, kSelfProperty, self);
            CreatingControl = nullptr;
        } else {
            self = static_cast<TControl*>(GetPropW(hwnd, kSelfProperty));
        }
    }
    if (self != nullptr) {
        // Held for the message: a Free that some handler makes on the control completes
        // when the message is over, never underneath the code still running on it.
        LRESULT result = 0;
        {
            Hold hold(self);
            {
                DepthScope depth(self);
                result = self->WndProc(msg);
            }
            // Nobody but this message holds it (a count of 1 here is 0 outside).
            if (self->RefCount == 1 && self->MessageDepth <= 0 && self->WindowDestroyed && self != MainForm) {
                Free(self); // the hold's own Free then destroys it
            }
        }
        return result;
    }
    if (MainForm != nullptr) {
        return MainForm->WndProc(msg);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT DefaultProcessing(TControl* control, MSG& msg) {
    if (control->OldWndProc != nullptr) {
        if (control->WindowDestroyed && !IsWindow(control->Handle)) {
            return 0; // the window is gone; its procedure has nothing left to act on
        }
        return CallWindowProcW(control->OldWndProc, control->Handle, msg.message, msg.wParam, msg.lParam);
    }
    return DefWindowProcW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

LRESULT TControl::WndProc(MSG& msg) {
    if (msg.hwnd != nullptr && Handle == nullptr) {
        Handle = msg.hwnd;
    }
    LRESULT result = 0;
    // The main form sees every message of the other toolkit windows first.
    if (AppRunning && MainForm != nullptr && MainForm != this && MainForm->OnMessage.IsSet() &&
        MainForm->OnMessage.Code(MainForm->OnMessage.Data, msg, result)) {
        return result;
    }
    if (OnMessage.IsSet() && OnMessage.Code(OnMessage.Data, msg, result)) {
        return result;
    }
    if (DispatchProc(this, msg, result)) {
        return result;
    }
    // Messages of a window without an object of its own are routed here (to the main
    // form); the rules that change this control's state apply to its own window only.
    const bool own = IsOwnMessage(this, msg);
    switch (msg.message) {
    case WM_DESTROY:
        if (own) {
            WindowDestroyed = true;
        }
        result = DefaultProcessing(this, msg);
        break;
    case WM_SIZE:
        result = DefaultProcessing(this, msg);
        if (own) {
            WindowState = LOBYTE(msg.wParam);
            RealignHook(this);
        }
        break;
    case WM_SETFOCUS:
        if (!CanFocus(this)) {
            result = 0;
        } else {
            FocusLockScope lock(this);
            result = DefaultProcessing(this, msg);
        }
        break;
    case WM_CLOSE:
        if (own && (this == MainForm || IsMainWindow(this))) {
            PostQuitMessage(0);
            result = 0;
        } else {
            result = DefaultProcessing(this, msg);
        }
        break;
    case WM_WINDOWPOSCHANGED:
        result = DefaultProcessing(this, msg);
        if (OldWndProc != nullptr) {
            result = DefWindowProcW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        }
        break;
    case WM_NCDESTROY:
        if (own) {
            RemovePropW(Handle, kSelfProperty);
            // A subclassed standard control still hears its last message, so that it can
            // release what it keeps for the window.
            if (OldWndProc != nullptr) {
                result = DefaultProcessing(this, msg);
            }
        } else {
            result = DefaultProcessing(this, msg);
        }
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_DEADCHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_SYSDEADCHAR:
    case WM_KEYLAST: {
        HWND focus = GetFocus();
        if (focus != nullptr && focus != Handle) {
            result = 0; // the focus is elsewhere: the key is dropped
        } else if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
            result = DefaultProcessing(this, msg);
        } else if (msg.message == WM_CHAR && msg.wParam == VK_TAB) {
            msg.wParam = 0;
            result = 0;
        } else {
            result = DefaultProcessing(this, msg);
        }
        break;
    }
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(msg.lParam);
        if (from != nullptr && GetPropW(from, kSelfProperty) != nullptr) {
            result = SendMessageW(from, CM_COMMAND, msg.wParam, msg.lParam);
        } else {
            result = DefaultProcessing(this, msg);
        }
        break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        result = SendMessageW(reinterpret_cast<HWND>(msg.lParam), CN_BASE + msg.message, msg.wParam, msg.lParam);
        break;
    default:
        result = DefaultProcessing(this, msg);
        break;
    }
    return result;
}

void AttachHandler(TControl* control, TMessageHandler handler) {
    if (control->MessageHandlers->IndexOf(HandlerEntry(handler)) < 0) {
        control->MessageHandlers->Add(HandlerEntry(handler));
        control->MessageHandlers->Add(nullptr); // keep flag 0
    }
    control->DispatchProc = DispatchHandlers;
}

void AttachHandlerLast(TControl* control, TMessageHandler handler) {
    if (control->MessageHandlers->IndexOf(HandlerEntry(handler)) < 0) {
        control->MessageHandlers->Insert(0, nullptr);
        control->MessageHandlers->Insert(0, HandlerEntry(handler));
    }
    control->DispatchProc = DispatchHandlers;
}

void DetachHandler(TControl* control, TMessageHandler handler) {
    LONG index = control->MessageHandlers->IndexOf(HandlerEntry(handler));
    if (index >= 0) {
        control->MessageHandlers->Delete(index);
        control->MessageHandlers->Delete(index);
    }
}

bool IsHandlerAttached(TControl* control, TMessageHandler handler) {
    return control->MessageHandlers->IndexOf(HandlerEntry(handler)) >= 0;
}

bool DispatchHandlers(TControl* control, MSG& msg, LRESULT& result) {
    // A control being destroyed runs none: its teardown still sends messages (the hide of
    // its window), and the hold around each of them lifts the count above zero again.
    if (control->DestructionBegun() || control->MessageHandlers == nullptr || control->MessageHandlers->Count == 0) {
        return false;
    }
    // A handler may free the control; the hold completes that Free after the chain.
    Hold hold(control);
    TPointerList* handlers = control->MessageHandlers;
    for (LONG i = handlers->Count - 2; i >= 0; i -= 2) {
        // A handler may detach others: the count is read again for every pair.
        if (i + 1 >= handlers->Count) {
            continue;
        }
        auto handler = reinterpret_cast<TMessageHandler>(handlers->Items[i]);
        const bool keep = handlers->Items[i + 1] != nullptr;
        if (handler == nullptr || (!keep && AppTerminated)) {
            continue; // detached meanwhile, or the application is ending
        }
        if (handler(control, msg, result)) {
            return true;
        }
    }
    return false;
}

bool StdControlHandler(TControl* control, MSG& msg, LRESULT& result) {
    if (msg.message == WM_SETFOCUS) {
        result = 0;
        TControl* form = ParentForm(control);
        if (form == nullptr) {
            return true;
        }
        TControl* previous = form->FocusedControl;
        if (previous != nullptr && previous != control && previous->OnExit.IsSet()) {
            previous->OnExit.Fire(previous);
        }
        form->FocusedControl = control;
        return false;
    }
    if (msg.message == CM_COMMAND) {
        const WORD code = HIWORD(msg.wParam);
        const TCommandTable& table = control->CommandTable;
        // Tried in this order: a code equal to ClickCode never reaches the later entries.
        if (code == table.ClickCode) {
            if (control->FocusLock == 0) {
                SetFocused(control, true);
                Click(control);
            }
        } else if (code == table.EnterCode) {
            control->OnEnter.Fire(control);
        } else if (code == table.LeaveCode) {
            control->OnLeave.Fire(control);
        } else if (code == table.ChangeCode) {
            control->OnChange.Fire(control);
        } else if (code == table.SelChangeCode) {
            SelChange(control);
        } else {
            return false;
        }
        result = DefaultProcessing(control, msg);
        return true;
    }
    if (msg.message >= CN_BASE + WM_CTLCOLORMSGBOX && msg.message <= CN_BASE + WM_CTLCOLORSTATIC) {
        HDC dc = reinterpret_cast<HDC>(msg.wParam);
        SetTextColor(dc, GetColorRGB(control->TextColor));
        if (control->Transparent) {
            SetBkMode(dc, TRANSPARENT);
            result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        } else {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, GetColorRGB(control->Color));
            result = reinterpret_cast<LRESULT>(GetBackgroundBrush(control));
        }
        return true;
    }
    return false;
}

bool FormFocusHandler(TControl* form, MSG& msg, LRESULT& /*result*/) {
    if (msg.message != WM_SETFOCUS) {
        return false;
    }
    bool handled = false;
    if (TControl* focused = form->FocusedControl) {
        if (focused->CreateWindow() && focused->Handle != nullptr) {
            SetFocus(focused->Handle);
        }
        handled = true;
    }
    if (MainForm != nullptr && MainForm != form) {
        // The main form's next WM_SETFOCUS passes the focus on to this form.
        MainForm->FocusedControl = form;
    }
    return handled;
}

bool EraseBackgroundHandler(TControl* form, MSG& msg, LRESULT& result) {
    if (msg.message != WM_ERASEBKGND) {
        return false;
    }
    CreateChildWindows(form);
    if (!form->Transparent) {
        HDC dc = reinterpret_cast<HDC>(msg.wParam);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, GetColorRGB(form->Color));
        SetBrushOrgEx(dc, 0, 0, nullptr);
        RECT client{};
        GetClientRect(form->Handle, &client);
        FillRect(dc, &client, GetBackgroundBrush(form));
        result = 1;
    }
    return false;
}

void Click(TControl* control) { control->OnClick.Fire(control); }

void SelChange(TControl* control) {
    if (control->OnSelChange.IsSet()) {
        control->OnSelChange.Fire(control);
    } else {
        control->OnChange.Fire(control);
    }
}
