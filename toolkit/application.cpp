// RunApplication, the message pumps, ShowModal and closing.
#include "application.h"

#include "control_factory.h"
#include "dispatch.h"
#include "properties.h"

#include "aygshell.h"

TControl* MainForm = nullptr;
bool AppRunning = false;
bool AppTerminated = false;

bool ProcessMessage(TControl* /*form*/, const MSG* given) {
    MSG msg{};
    if (given != nullptr) {
        msg = *given;
    } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    const bool result = msg.message != WM_NULL;
    if (msg.message == WM_QUIT) {
        AppTerminated = true;
    } else {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return result;
}

void ProcessMessages(TControl* form) {
    while (ProcessMessage(form)) {
    }
}

void WaitAndProcessMessages(TControl* form) {
    MSG msg{};
    // A WM_QUIT (0 from GetMessageW) is handled by ProcessMessage like any other record.
    GetMessageW(&msg, nullptr, 0, 0);
    ProcessMessage(form, &msg);
    ProcessMessages(form);
}

void RunApplication(TControl*& form) {
    AppRunning = true;
    MainForm = form;
    form->CreateWindow();
    while (!AppTerminated) {
        WaitAndProcessMessages(form);
    }
    if (form != nullptr) {
        TerminateApplication(form);
    }
}

void TerminateApplication(TControl*& form) {
    AppTerminated = true;
    AppRunning = false;
    TControl* main = MainForm;
    MainForm = nullptr;
    if (main == nullptr) {
        return;
    }
    // The caller's variable is cleared before the form goes, so nothing that runs during
    // the teardown reaches a half-destroyed form through it.
    AddRef(main);
    form = nullptr;
    Free(main);
    Free(main);
}

void Show(TControl* form) {
    form->CreateWindow();
    SetVisible(form, true);
    SetForegroundWindow(form->Handle);
    CanFocus(form);
}

bool IsMainWindow(TControl* control) {
    if (MainForm != nullptr) {
        return control == MainForm;
    }
    return !control->IsControl;
}

void Close(TControl* control) { PostMessageW(control->Handle, WM_CLOSE, 0, 0); }

bool ModalFormHandler(TControl* form, MSG& msg, LRESULT& result) {
    if (msg.message == WM_CLOSE) {
        if (form->ModalResult == 0) {
            form->ModalResult = -1;
        }
        result = 0;
        return true;
    }
    if (msg.message == WM_COMMAND &&
        (HIWORD(msg.wParam) == 0x1000 || msg.lParam == reinterpret_cast<LPARAM>(msg.hwnd))) {
        form->ModalResult = 1;
        result = 0;
        return true;
    }
    return false;
}

bool DisabledFormHandler(TControl* /*control*/, MSG& msg, LRESULT& result) {
    if (msg.message != WM_SETCURSOR) {
        return false;
    }
    const WORD hitTest = LOWORD(msg.lParam);
    const WORD mouseMessage = HIWORD(msg.lParam);
    if (hitTest != static_cast<WORD>(HTERROR) || mouseMessage < WM_LBUTTONDOWN || mouseMessage > WM_RBUTTONUP) {
        return false;
    }
    // A tap on the disabled main form brings the modal form to the front.
    if (MainForm != nullptr && MainForm->ModalForm != nullptr) {
        SetForegroundWindow(MainForm->ModalForm->Handle);
    }
    result = 1;
    return true;
}

namespace {

// Undoes what a modal display did to the main form, also while an exception passes
// through the nested loop.
class ModalScope {
public:
    ModalScope(TControl* form, TControl* main) : m_form(form), m_main(main) {}
    ~ModalScope() { Restore(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    void Disable(TControl* control) {
        m_disabled->Add(control);
        SetEnabled(control, false);
        ++control->DisableCount;
        AttachHandler(control, DisabledFormHandler);
    }
    TControl* Refocus() const { return m_refocus; }
    void SetRefocus(TControl* control) { m_refocus = control; }

    void Restore() {
        if (m_restored) {
            return;
        }
        m_restored = true;
        if (m_main != nullptr) {
            m_main->ModalForm = nullptr;
        }
        DetachHandler(m_form, ModalFormHandler);
        for (LONG i = 0; i < m_disabled->Count; ++i) {
            auto* control = static_cast<TControl*>(m_disabled->Get(i));
            --control->DisableCount;
            if (control->DisableCount <= 0) {
                DetachHandler(control, DisabledFormHandler);
            }
            SetEnabled(control, true);
        }
        FreeAndNil(m_disabled);
    }

private:
    TControl* m_form;
    TControl* m_main;
    TControl* m_refocus = nullptr;
    TPointerList* m_disabled = NewList();
    bool m_restored = false;
};

} // namespace

LONG ShowModal(TControl* form) {
    if (form->IsControl || form->Parent == nullptr) {
        Show(form);
        return 0;
    }
    SHDoneButton(GetWindowHandle(form), SHDB_SHOW);
    SetStyle(form, form->Style & ~WS_SYSMENU);
    AttachHandler(form, ModalFormHandler);
    TControl* main = MainForm;
    LONG result = 0;
    TControl* refocus = nullptr;
    {
        ModalScope modal(form, main);
        if (main != nullptr && GetEnabled(main)) {
            modal.SetRefocus(main->FocusedControl);
            modal.Disable(main);
        }
        if (main != nullptr) {
            main->ModalForm = form;
        }
        SetEnabled(form, true);
        Show(form);
        form->ModalResult = 0;
        while (!AppTerminated && form->ModalResult == 0) {
            WaitAndProcessMessages(main);
        }
        refocus = modal.Refocus();
        modal.Restore();
    }
    if (main != nullptr) {
        PostMessageW(main->Handle, WM_ACTIVATE, WA_ACTIVE, 0);
    }
    if (refocus != nullptr) {
        SetFocused(refocus, true);
    }
    result = form->ModalResult;
    ProcessMessages(main);
    return result;
}
