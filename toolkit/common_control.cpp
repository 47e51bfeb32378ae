// CreateCommonControl and the notification forwarder and handler of common controls.
#include "common_control.h"

#include "control_factory.h"
#include "dispatch.h"

#include "commctrl.h"

TControl* CreateCommonControl(TControl* parent, const std::u16string& className, DWORD style,
                              const TCommandTable* commands) {
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof init;
    init.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&init);
    TControl* control = CreateStdControl(parent, className, style, commands);
    if (parent != nullptr) {
        AttachHandler(control, CommonControlNotifyHandler);
        AttachHandler(parent, NotificationForwarder);
    }
    return control;
}

bool NotificationForwarder(TControl* /*parent*/, MSG& msg, LRESULT& result) {
    if (msg.message != WM_NOTIFY || msg.lParam == 0) {
        return false;
    }
    const auto* header = reinterpret_cast<const NMHDR*>(msg.lParam);
    auto* target = static_cast<TControl*>(GetPropW(header->hwndFrom, kSelfProperty));
    if (target == nullptr) {
        return false;
    }
    msg.hwnd = target->Handle;
    return DispatchHandlers(target, msg, result);
}

bool CommonControlNotifyHandler(TControl* control, MSG& msg, LRESULT& result) {
    if (msg.message != WM_NOTIFY || msg.lParam == 0) {
        return false;
    }
    const auto code = static_cast<int>(reinterpret_cast<const NMHDR*>(msg.lParam)->code);
    switch (code) {
    case -50:
        result = 1;
        return true;
    case -8: // NM_KILLFOCUS
        control->OnLeave.Fire(control);
        return false;
    case -7: // NM_SETFOCUS
    case -4: // NM_RETURN
        control->OnEnter.Fire(control);
        return false;
    case -2: // NM_CLICK
    case -5: // NM_RCLICK
        if (control->OnClick.IsSet()) {
            control->RightClick = code == -5;
            control->OnClick.Fire(control);
            return true;
        }
        return false;
    default: return false;
    }
}
