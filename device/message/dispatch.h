// Delivery of messages to window procedures: the one place where the device calls a
// program's code, so that the message spy and the nesting depth are kept in one spot.
#pragma once

#include "window/window.h"

namespace device {

enum class DeliveryKind { Sent, Posted };

// Calls the window's procedure and returns its result. The record may be gone when this
// returns (the procedure may destroy its own window): callers re-check with LookUp.
LRESULT Deliver(Window* window, UINT message, WPARAM wParam, LPARAM lParam,
                DeliveryKind kind = DeliveryKind::Sent);

// Sends to a window record (the device's own SendMessageW without the handle lookup).
inline LRESULT Send(Window* window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return Deliver(window, message, wParam, lParam, DeliveryKind::Sent);
}

// How many window procedure calls are running right now (all nesting levels).
int DeliveryDepth();

// Marks the stretch during which DefWindowProcW runs, so that the spy can tell messages
// the default procedure sends from those the program sends.
class DefWindowProcScope {
public:
    DefWindowProcScope();
    ~DefWindowProcScope();
    DefWindowProcScope(const DefWindowProcScope&) = delete;
    DefWindowProcScope& operator=(const DefWindowProcScope&) = delete;
};

} // namespace device
