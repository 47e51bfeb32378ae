// The thread's message queue: posted messages, the quit flag, and the retrieval order of
// GetMessageW/PeekMessageW (posted, WM_QUIT, input, WM_PAINT).
#pragma once

#include "window/window.h"
#include "windows.h"

namespace device {

struct MessageFilter {
    HWND hwnd = nullptr; // 0: every window and thread messages; (HWND)-1: thread messages only
    UINT first = 0;
    UINT last = 0;

    bool MatchesWindow(HWND target) const;
    bool MatchesNumber(UINT message) const;
    bool Matches(const MSG& msg) const { return MatchesWindow(msg.hwnd) && MatchesNumber(msg.message); }
};

// Takes the next message in the platform's order (posted, WM_QUIT, input, WM_PAINT,
// WM_TIMER); false when there is none.
bool RetrieveMessage(MSG* msg, const MessageFilter& filter, bool remove);

// A message for one of the shell's windows, which the device delivers itself.
bool IsShellMessage(const MSG& msg);

bool HasPostedMessages();
bool IsQuitPending();
void ResetMessageQueue();

// Position of the stylus on the screen, for MSG.pt and GetMessagePos.
POINT CursorPosition();
void SetCursorPosition(POINT point);

} // namespace device
