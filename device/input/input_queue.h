// Raw input (stylus, keys, typed characters) waiting to be turned into window messages.
// The turning happens when the program takes the input from the queue, as on the real
// platform: hit testing, activation and WM_SETCURSOR all run inside GetMessageW.
#pragma once

#include "message/queue.h"
#include "window/window.h"

namespace device {

enum class RawInputKind { PointerDown, PointerMove, PointerUp, KeyDown, KeyUp, Char };

struct RawInput {
    RawInputKind kind = RawInputKind::PointerDown;
    POINT point{};          // screen pixel, for pointer input
    UINT virtualKey = 0;    // for key input
    char16_t character = 0; // what a key-down translates to (0: nothing), or the typed character
    bool translationKnown = true; // false: the key types what the key state says when it is translated
};

void QueueInput(const RawInput& input);
bool HasPendingInput();
// The QS_KEY, QS_MOUSEMOVE and QS_MOUSEBUTTON bits of the input still waiting.
UINT PendingInputStatus();
void ResetInput();

// Turns the oldest raw input into a message; false when there is none (or the next one
// does not pass the filter). Input for the shell's windows is delivered on the way, and
// `servedShell` tells the caller so (their handlers may have posted messages).
bool TakeInputMessage(MSG* msg, const MessageFilter& filter, bool remove, bool* servedShell);

// While a message box is up, input for windows outside it is dropped.
void PushModalInputWindow(Window* window);
void PopModalInputWindow(Window* window);

// Key state as of the last keyboard message taken from the queue.
bool IsKeyDown(int virtualKey);
void SetKeyDown(int virtualKey, bool down);

// Called when a window goes away: it can no longer hold the capture.
void ForgetCaptureOf(Window* window);

// The US keyboard's character for a key with the current shift state, or 0.
char16_t CharacterForKey(UINT virtualKey, bool shift, bool control);
// The key and shift state that type `character` on a US keyboard; false when no key does.
bool KeyForCharacter(char16_t character, UINT* virtualKey, bool* shift);

} // namespace device
