// What the EDIT control does with input: typed characters (WM_CHAR), keys (WM_KEYDOWN),
// the stylus (placing the caret, dragging a selection, a double tap on a word) and the
// focus (the caret and the EN_SETFOCUS/EN_KILLFOCUS notifications).
#include "controls/edit_state.h"

#include <algorithm>

namespace device::edit {
namespace {

constexpr WCHAR kBackspace = 0x08;
constexpr WCHAR kSelectAll = 0x01; // CTRL+A
constexpr WCHAR kCopy = 0x03;      // CTRL+C
constexpr WCHAR kPaste = 0x16;     // CTRL+V
constexpr WCHAR kCut = 0x18;       // CTRL+X
constexpr WCHAR kUndo = 0x1A;      // CTRL+Z
constexpr WCHAR kDelete = 0x7F;    // CTRL+BACK on some keyboards; not a character

bool ShiftDown() {
    return GetKeyState(VK_SHIFT) < 0;
}
bool ControlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}
bool ReadOnly(const State& state) {
    return (Style(state) & ES_READONLY) != 0;
}
int Length(const State& state) {
    return static_cast<int>(state.text.size());
}

void MoveCaret(State& state, int target, bool extend) {
    SetSelection(state, extend ? state.anchor : target, target);
}

void Type(State& state, std::u16string text) {
    ReplaceSelection(state, std::move(text), Replacement{Origin::User, true, UndoKind::Typing});
}

void Backspace(State& state) {
    int start = SelectionStart(state);
    int end = SelectionEnd(state);
    if (start == end) {
        if (start == 0) {
            return; // nothing to delete, and so no notification
        }
        start = PreviousCharacter(state, start);
    }
    DeleteRange(state, start, end);
}

void DeleteForward(State& state) {
    int start = SelectionStart(state);
    int end = SelectionEnd(state);
    if (start == end) {
        if (end == Length(state)) {
            return;
        }
        end = NextCharacter(state, end);
    }
    DeleteRange(state, start, end);
}

// LEFT and RIGHT: a selection collapses to the end in the arrow's direction; otherwise the
// caret moves a character (a word with CTRL); SHIFT extends the selection instead.
void MoveSideways(State& state, bool forward, bool shift, bool control) {
    if (!shift && state.anchor != state.caret) {
        int end = forward ? SelectionEnd(state) : SelectionStart(state);
        MoveCaret(state, end, false);
        return;
    }
    int target =
        forward ? (control ? NextWordStart(state, state.caret) : NextCharacter(state, state.caret))
                : (control ? PreviousWordStart(state, state.caret)
                           : PreviousCharacter(state, state.caret));
    MoveCaret(state, target, shift);
}

// UP, DOWN, PRIOR and NEXT in a multi-line control keep to the column where the vertical
// movement began.
void MoveVertically(State& state, int lines, bool shift) {
    int line = LineOf(state, state.caret);
    if (state.goalX < 0) {
        state.goalX = XInLine(state, line, state.caret);
    }
    int target = std::clamp(line + lines, 0, LineCount(state) - 1);
    if (target == line) {
        return;
    }
    int goalX = state.goalX;
    MoveCaret(state, IndexAtX(state, target, goalX), shift);
    state.goalX = goalX;
}

void MoveToLineEdge(State& state, bool end, bool shift, bool control) {
    int target = end ? Length(state) : 0;
    if (state.multiLine && !control) {
        const Line& line = state.layout.lines[static_cast<size_t>(LineOf(state, state.caret))];
        target = end ? line.start + line.length : line.start;
    }
    MoveCaret(state, target, shift);
}

} // namespace

void OnChar(State& state, WCHAR character) {
    bool readOnly = ReadOnly(state);
    switch (character) {
    case kBackspace:
        if (!readOnly) {
            Backspace(state);
        }
        return;
    case kSelectAll:
        SetSelection(state, 0, Length(state));
        return;
    // The clipboard characters go through the window procedure as messages, so that a
    // subclass filtering WM_PASTE, say, sees a CTRL+V too.
    case kCopy:
        if (state.passwordChar == 0) {
            SendMessageW(state.hwnd, WM_COPY, 0, 0);
        }
        return;
    case kPaste:
        if (!readOnly) {
            SendMessageW(state.hwnd, WM_PASTE, 0, 0);
        }
        return;
    case kCut:
        if (!readOnly && state.passwordChar == 0) {
            SendMessageW(state.hwnd, WM_CUT, 0, 0);
        }
        return;
    case kUndo:
        if (!readOnly) {
            SendMessageW(state.hwnd, WM_UNDO, 0, 0);
        }
        return;
    case u'\r':
    case u'\n':
        // A single-line control leaves RETURN to its parent; a multi-line one starts a line.
        if (state.multiLine && !readOnly) {
            Type(state, u"\r\n");
        }
        return;
    case u'\t':
        if (state.multiLine && !readOnly) {
            Type(state, u"\t");
        }
        return;
    default:
        break;
    }
    if (character < 0x20 || character == kDelete || readOnly) {
        return;
    }
    // ES_NUMBER drops anything but a digit without a sound or a balloon tip: the platform's
    // feedback on the handheld is not known, and a silent drop is what the desktop's
    // user32 reimplementations do.
    if ((Style(state) & ES_NUMBER) != 0 && (character < u'0' || character > u'9')) {
        return;
    }
    Type(state, std::u16string(1, character));
}

void OnKeyDown(State& state, UINT virtualKey) {
    bool shift = ShiftDown();
    bool control = ControlDown();
    bool vertical = state.multiLine && (virtualKey == VK_UP || virtualKey == VK_DOWN ||
                                        virtualKey == VK_PRIOR || virtualKey == VK_NEXT);
    if (!vertical) {
        state.goalX = -1;
    }
    switch (virtualKey) {
    case VK_LEFT:
        MoveSideways(state, false, shift, control);
        break;
    case VK_RIGHT:
        MoveSideways(state, true, shift, control);
        break;
    case VK_UP:
        // A single-line control takes UP and DOWN as LEFT and RIGHT.
        vertical ? MoveVertically(state, -1, shift) : MoveSideways(state, false, shift, control);
        break;
    case VK_DOWN:
        vertical ? MoveVertically(state, 1, shift) : MoveSideways(state, true, shift, control);
        break;
    case VK_PRIOR:
        if (vertical) {
            MoveVertically(state, -VisibleLineCount(state), shift);
        }
        break;
    case VK_NEXT:
        if (vertical) {
            MoveVertically(state, VisibleLineCount(state), shift);
        }
        break;
    case VK_HOME:
        MoveToLineEdge(state, false, shift, control);
        break;
    case VK_END:
        MoveToLineEdge(state, true, shift, control);
        break;
    case VK_DELETE:
        if (ReadOnly(state)) {
            break;
        }
        if (shift) {
            Cut(state);
        } else {
            DeleteForward(state);
        }
        break;
    case VK_INSERT:
        if (shift && !ReadOnly(state)) {
            Paste(state);
        } else if (control) {
            Copy(state);
        }
        break;
    default:
        break;
    }
}

void OnButtonDown(State& state, WPARAM keys, POINT point) {
    if (!state.focused) {
        SetFocus(state.hwnd);
        if (!state.alive) {
            return;
        }
    }
    SetCapture(state.hwnd);
    state.tracking = true;
    state.goalX = -1;
    int index = IndexAt(state, point);
    SetSelection(state, (keys & MK_SHIFT) != 0 ? state.anchor : index, index);
}

// Selects the word; the focus stays where it is (the tap before it took it, unless something
// moved it away since).
void OnDoubleClick(State& state, POINT point) {
    int start = 0;
    int end = 0;
    WordAround(state, IndexAt(state, point), &start, &end);
    state.goalX = -1;
    SetSelection(state, start, end);
}

// Dragging outside the control moves the selection towards the stylus and scrolls; there
// is no timer that keeps scrolling while the stylus rests outside.
void OnMouseMove(State& state, POINT point) {
    if (state.tracking) {
        SetSelection(state, state.anchor, IndexAt(state, point));
    }
}

void OnButtonUp(State& state) {
    if (state.tracking) {
        state.tracking = false;
        if (GetCapture() == state.hwnd) {
            ReleaseCapture();
        }
    }
}

void OnSetFocus(State& state) {
    state.focused = true;
    if (!state.multiLine && IsWindowVisible(state.hwnd)) {
        // A single-line box repaints its line at once (asking its parent for colours)
        // before the caret comes; a multi-line one waits for WM_PAINT.
        HDC hdc = GetDC(state.hwnd);
        PaintOn(state, hdc);
        ReleaseDC(state.hwnd, hdc);
        if (!state.alive) {
            return;
        }
    }
    CreateCaret(state.hwnd, nullptr, kCaretWidth, state.lineHeight);
    PlaceCaret(state);
    ShowCaret(state.hwnd);
    if (state.anchor != state.caret && (Style(state) & ES_NOHIDESEL) == 0) {
        Redraw(state);
    }
    Notify(state, EN_SETFOCUS);
}

void OnKillFocus(State& state) {
    state.focused = false;
    DestroyCaret();
    if (state.anchor != state.caret && (Style(state) & ES_NOHIDESEL) == 0) {
        Redraw(state);
    }
    Notify(state, EN_KILLFOCUS);
}

} // namespace device::edit
