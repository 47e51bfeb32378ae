// Input that a program makes itself (keybd_event, mouse_event, SendInput) joins the raw
// input the stylus and keyboard make, and is turned into messages the same way; the key
// state and the stylus position as programs read them.
#include "input/input_queue.h"
#include "message/queue.h"

namespace {

// Where the stylus will be once the queued input has been taken: relative moves count
// from there.
POINT g_nextCursor{0, 0};
bool g_nextCursorKnown = false;

POINT NextCursor() {
    if (!g_nextCursorKnown || !device::HasPendingInput()) {
        g_nextCursor = device::CursorPosition();
        g_nextCursorKnown = true;
    }
    return g_nextCursor;
}

void QueueRaw(device::RawInputKind kind, POINT point, UINT key = 0, char16_t character = 0) {
    device::RawInput input;
    input.kind = kind;
    input.point = point;
    input.virtualKey = key;
    input.character = character;
    // A key types whatever the key state says when the program translates it.
    input.translationKnown = kind != device::RawInputKind::KeyDown;
    device::QueueInput(input);
}

void Keyboard(WORD key, WORD scan, DWORD flags) {
    if ((flags & KEYEVENTF_UNICODE) != 0) {
        if ((flags & KEYEVENTF_KEYUP) == 0) {
            QueueRaw(device::RawInputKind::Char, POINT{}, 0, static_cast<char16_t>(scan));
        }
        return;
    }
    QueueRaw((flags & KEYEVENTF_KEYUP) != 0 ? device::RawInputKind::KeyUp : device::RawInputKind::KeyDown, POINT{},
             key & 0xFF);
}

// Absolute coordinates run from 0 to 65535 across the screen; relative ones are pixels.
// The right button has no stylus equivalent and is ignored.
void Mouse(DWORD flags, LONG dx, LONG dy) {
    POINT point = NextCursor();
    if ((flags & MOUSEEVENTF_ABSOLUTE) != 0) {
        point.x = static_cast<LONG>((static_cast<long long>(dx) * GetSystemMetrics(SM_CXSCREEN)) / 65536);
        point.y = static_cast<LONG>((static_cast<long long>(dy) * GetSystemMetrics(SM_CYSCREEN)) / 65536);
    } else if ((flags & MOUSEEVENTF_MOVE) != 0) {
        point.x += dx;
        point.y += dy;
    }
    g_nextCursor = point;
    if ((flags & MOUSEEVENTF_MOVE) != 0) {
        QueueRaw(device::RawInputKind::PointerMove, point);
    }
    if ((flags & MOUSEEVENTF_LEFTDOWN) != 0) {
        QueueRaw(device::RawInputKind::PointerDown, point);
    }
    if ((flags & MOUSEEVENTF_LEFTUP) != 0) {
        QueueRaw(device::RawInputKind::PointerUp, point);
    }
}

} // namespace

void WINAPI keybd_event(BYTE bVk, BYTE bScan, DWORD dwFlags, ULONG_PTR dwExtraInfo) {
    (void)dwExtraInfo;
    Keyboard(bVk, bScan, dwFlags & ~KEYEVENTF_UNICODE);
}

void WINAPI mouse_event(DWORD dwFlags, DWORD dx, DWORD dy, DWORD dwData, ULONG_PTR dwExtraInfo) {
    (void)dwData;
    (void)dwExtraInfo;
    Mouse(dwFlags, static_cast<LONG>(dx), static_cast<LONG>(dy));
}

// Answers how many inputs were queued: all of them, or none when the size or a type is
// wrong.
UINT WINAPI SendInput(UINT cInputs, LPINPUT pInputs, int cbSize) {
    if (pInputs == nullptr || cbSize != static_cast<int>(sizeof(INPUT))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    for (UINT i = 0; i < cInputs; ++i) {
        if (pInputs[i].type != INPUT_MOUSE && pInputs[i].type != INPUT_KEYBOARD) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    }
    for (UINT i = 0; i < cInputs; ++i) {
        const INPUT& input = pInputs[i];
        if (input.type == INPUT_MOUSE) {
            Mouse(input.mi.dwFlags, input.mi.dx, input.mi.dy);
        } else {
            Keyboard(input.ki.wVk, input.ki.wScan, input.ki.dwFlags);
        }
    }
    return cInputs;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
    if (lpPoint == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpPoint = device::CursorPosition();
    return TRUE;
}

// Each key's byte as GetKeyState has it: the top bit while down, the low bit toggled.
BOOL WINAPI GetKeyboardState(PBYTE lpKeyState) {
    if (lpKeyState == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int key = 0; key < 256; ++key) {
        SHORT state = GetKeyState(key);
        lpKeyState[key] = static_cast<BYTE>(((state & 0x8000) != 0 ? 0x80 : 0) | (state & 0x01));
    }
    return TRUE;
}
