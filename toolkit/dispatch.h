// The window procedure of every toolkit window, the chain of attached message handlers,
// and the handlers every form and standard control carries.
#pragma once

#include "control.h"

#include "windows.h"

LRESULT CALLBACK ToolkitWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The platform's processing of the message: the subclassed standard procedure, or
// DefWindowProcW for the record's window.
LRESULT DefaultProcessing(TControl* control, MSG& msg);

// Appends the handler once (with keep flag 0); the newest handler runs first.
void AttachHandler(TControl* control, TMessageHandler handler);
void DetachHandler(TControl* control, TMessageHandler handler);
bool IsHandlerAttached(TControl* control, TMessageHandler handler);
// Puts the handler at the front of the chain, so it runs after all others (once).
void AttachHandlerLast(TControl* control, TMessageHandler handler);
bool DispatchHandlers(TControl* control, MSG& msg, LRESULT& result);

bool StdControlHandler(TControl* control, MSG& msg, LRESULT& result);
bool FormFocusHandler(TControl* form, MSG& msg, LRESULT& result);
bool EraseBackgroundHandler(TControl* form, MSG& msg, LRESULT& result);

void Click(TControl* control);
void SelChange(TControl* control);
