// Common controls (the list view): their construction, and the WM_NOTIFY path from the
// parent's forwarder to the control's own notification handler.
#pragma once

#include "control.h"

#include <string>

TControl* CreateCommonControl(TControl* parent, const std::u16string& className, DWORD style,
                              const TCommandTable* commands);

// On the parent: hands a WM_NOTIFY from a toolkit control to that control's handlers.
bool NotificationForwarder(TControl* parent, MSG& msg, LRESULT& result);
// On the common control: turns the notification codes into its events.
bool CommonControlNotifyHandler(TControl* control, MSG& msg, LRESULT& result);
