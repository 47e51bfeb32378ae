// The input services: taps, keys and text queued as raw input.
#include "device_input.h"

#include "input/input_queue.h"
#include "message/clock.h"

namespace device::input {
namespace {

void Queue(RawInputKind kind, POINT point = POINT{0, 0}, UINT key = 0, char16_t character = 0) {
    RawInput input;
    input.kind = kind;
    input.point = point;
    input.virtualKey = key;
    input.character = character;
    QueueInput(input);
}

// A key as the keyboard gives it: what it types depends on SHIFT, CTRL and CAPS LOCK as
// they stand when the program translates it, which keys queued before it may still change.
void QueueKeyDown(UINT key) {
    RawInput input;
    input.kind = RawInputKind::KeyDown;
    input.virtualKey = key;
    input.translationKnown = false;
    QueueInput(input);
}

} // namespace

void PointerDown(int x, int y) { Queue(RawInputKind::PointerDown, POINT{x, y}); }
void PointerMove(int x, int y) { Queue(RawInputKind::PointerMove, POINT{x, y}); }
void PointerUp(int x, int y) { Queue(RawInputKind::PointerUp, POINT{x, y}); }

void Tap(int x, int y) {
    PointerDown(x, y);
    PointerUp(x, y);
}

void KeyDown(UINT virtualKey) { QueueKeyDown(virtualKey); }

void KeyUp(UINT virtualKey) { Queue(RawInputKind::KeyUp, POINT{0, 0}, virtualKey); }

void PressKey(UINT virtualKey, bool shift, bool control) {
    if (shift) {
        Queue(RawInputKind::KeyDown, POINT{0, 0}, VK_SHIFT);
    }
    if (control) {
        Queue(RawInputKind::KeyDown, POINT{0, 0}, VK_CONTROL);
    }
    QueueKeyDown(virtualKey);
    Queue(RawInputKind::KeyUp, POINT{0, 0}, virtualKey);
    if (control) {
        Queue(RawInputKind::KeyUp, POINT{0, 0}, VK_CONTROL);
    }
    if (shift) {
        Queue(RawInputKind::KeyUp, POINT{0, 0}, VK_SHIFT);
    }
}

void TypeCharacter(char16_t character) { Queue(RawInputKind::Char, POINT{0, 0}, 0, character); }

void TypeText(const std::u16string& text) {
    for (char16_t character : text) {
        UINT key = 0;
        bool shift = false;
        if (character != u'\r' && character != u'\t' && KeyForCharacter(character, &key, &shift)) {
            if (shift) {
                Queue(RawInputKind::KeyDown, POINT{0, 0}, VK_SHIFT);
            }
            Queue(RawInputKind::KeyDown, POINT{0, 0}, key, character);
            Queue(RawInputKind::KeyUp, POINT{0, 0}, key);
            if (shift) {
                Queue(RawInputKind::KeyUp, POINT{0, 0}, VK_SHIFT);
            }
        } else {
            TypeCharacter(character);
        }
    }
}

void AdvanceClock(DWORD milliseconds) { device::AdvanceClock(milliseconds); }

} // namespace device::input
