// The EDIT control's text and selection: the table of per-window states, changing the
// text with the limit and the change notifications, undo, and character/word steps.
#include "controls/control_support.h"
#include "controls/edit_state.h"

#include <algorithm>
#include <unordered_map>

namespace device::edit {
namespace {

// Kept in a table rather than in the window's extra bytes because a state owns strings
// and vectors; every state leaves with its window's WM_NCDESTROY, which the device also
// sends its own controls when it is switched off.
std::unordered_map<HWND, StateHandle> g_states;

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

std::u16string ConvertCase(const State& state, std::u16string text) {
    DWORD style = Style(state);
    if ((style & ES_UPPERCASE) != 0) {
        std::transform(text.begin(), text.end(), text.begin(), ToUpper);
    } else if ((style & ES_LOWERCASE) != 0) {
        std::transform(text.begin(), text.end(), text.begin(), ToLower);
    }
    return text;
}

// The longest prefix of `insert` that still fits when the style forbids scrolling
// (single-line without ES_AUTOHSCROLL, multi-line without ES_AUTOVSCROLL).
size_t FittingLength(const State& state, const std::u16string& insert, int start, int end) {
    DWORD style = Style(state);
    bool mayScroll =
        state.multiLine ? (style & ES_AUTOVSCROLL) != 0 : (style & ES_AUTOHSCROLL) != 0;
    if (mayScroll) {
        return insert.size();
    }
    auto fits = [&](size_t count) {
        std::u16string candidate = state.text;
        candidate.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), insert, 0,
                          count);
        return FitsWithoutScrolling(state, candidate);
    };
    if (fits(insert.size())) {
        return insert.size();
    }
    size_t low = 0; // fits (removing the selection never makes the text wider)
    size_t high = insert.size();
    while (high - low > 1) {
        size_t middle = (low + high) / 2;
        (fits(middle) ? low : high) = middle;
    }
    return low;
}

// Typing that goes on where the last typing ended joins its record, so that one undo
// takes back the whole run.
void RecordUndo(State& state, int start, int end, size_t inserted, const Replacement& how) {
    UndoRecord& undo = state.undo;
    int insertedEnd = start + static_cast<int>(inserted);
    bool continuesTyping = how.undoKind == UndoKind::Typing && undo.available &&
                           undo.kind == UndoKind::Typing && start == end && start == undo.typingEnd;
    if (continuesTyping) {
        undo.insertedLength += static_cast<int>(inserted);
    } else {
        undo.available = true;
        undo.start = start;
        undo.removed =
            state.text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
        undo.insertedLength = static_cast<int>(inserted);
        undo.anchor = state.anchor;
        undo.caret = state.caret;
        undo.kind = how.undoKind;
    }
    undo.typingEnd = how.undoKind == UndoKind::Typing ? insertedEnd : -1;
}

// The text, the scroll bars and the caret's place after [start, start + removed) became
// the `inserted` characters now at `start`.
void AfterEdit(State& state, int start, int removed, int inserted) {
    state.modified = true;
    state.goalX = -1;
    RelayoutAfterEdit(state, start, removed, inserted);
    UpdateScrollBars(state);
    ScrollCaretIntoView(state);
}

// EN_UPDATE before the repaint, EN_CHANGE after it has been asked for.
bool NotifyChange(State& state) {
    if (!Notify(state, EN_UPDATE)) {
        return false;
    }
    Redraw(state);
    return Notify(state, EN_CHANGE);
}

} // namespace

StateHandle CreateState(HWND hwnd, HWND notifyWindow) {
    auto state = std::make_shared<State>();
    state->hwnd = hwnd;
    state->notifyWindow = notifyWindow;
    g_states[hwnd] = state;
    return state;
}

StateHandle FindState(HWND hwnd) {
    auto it = g_states.find(hwnd);
    return it != g_states.end() ? it->second : nullptr;
}

void ForgetState(HWND hwnd) {
    auto it = g_states.find(hwnd);
    if (it != g_states.end()) {
        it->second->alive = false;
        g_states.erase(it);
    }
}

DWORD Style(const State& state) {
    return static_cast<DWORD>(GetWindowLongW(state.hwnd, GWL_STYLE));
}
int SelectionStart(const State& state) {
    return std::min(state.anchor, state.caret);
}
int SelectionEnd(const State& state) {
    return std::max(state.anchor, state.caret);
}

bool Notify(State& state, WORD code) {
    if (!state.alive) {
        return false;
    }
    if (state.notifyWindow != nullptr) {
        controls::SendCommand(state.hwnd, state.notifyWindow, code);
    }
    return state.alive;
}

bool ReplaceSelection(State& state, std::u16string insert, const Replacement& how) {
    insert = ConvertCase(state, std::move(insert));
    int start = SelectionStart(state);
    int end = SelectionEnd(state);
    if (how.origin != Origin::Internal) {
        // The limit counts the text as it will be; the excess is dropped, and the parent
        // hears EN_MAXTEXT before anything changes.
        long long room = static_cast<long long>(state.limit) -
                         (static_cast<long long>(state.text.size()) - (end - start));
        size_t allowed = static_cast<size_t>(
            std::clamp<long long>(room, 0, static_cast<long long>(insert.size())));
        size_t fitting = FittingLength(state, insert.substr(0, allowed), start, end);
        if (fitting < insert.size()) {
            if (!Notify(state, EN_MAXTEXT)) {
                return false;
            }
            insert.resize(fitting);
            start = std::min(SelectionStart(state), static_cast<int>(state.text.size()));
            end = std::min(SelectionEnd(state), static_cast<int>(state.text.size()));
        }
    }
    if (start == end && insert.empty()) {
        return true; // nothing changes, so nobody is told
    }
    if (how.canUndo) {
        RecordUndo(state, start, end, insert.size(), how);
    } else {
        state.undo = UndoRecord{};
    }
    state.text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), insert);
    state.anchor = state.caret = start + static_cast<int>(insert.size());
    AfterEdit(state, start, end - start, static_cast<int>(insert.size()));
    return NotifyChange(state);
}

bool DeleteRange(State& state, int start, int end) {
    state.anchor = start;
    state.caret = end;
    return ReplaceSelection(state, std::u16string(),
                            Replacement{Origin::Internal, true, UndoKind::Other});
}

void SetTextWithoutNotifying(State& state, std::u16string_view text) {
    state.text = ConvertCase(state, std::u16string(text));
    state.anchor = state.caret = 0;
    state.xOffset = 0;
    state.firstLine = 0;
    state.goalX = -1;
    state.modified = false;
    state.undo = UndoRecord{};
}

bool SetText(State& state, std::u16string_view text) {
    SetTextWithoutNotifying(state, text);
    Relayout(state);
    UpdateScrollBars(state);
    ScrollCaretIntoView(state);
    Redraw(state);
    // A multi-line control does not report text set through WM_SETTEXT (the desktop
    // documentation of EN_CHANGE excludes that case); a single-line one does.
    if (state.multiLine) {
        return true;
    }
    return NotifyChange(state);
}

bool Undo(State& state) {
    if (!state.undo.available) {
        return false;
    }
    // What the undo takes away becomes the record, so a second undo redoes.
    UndoRecord previous = std::move(state.undo);
    const auto start = static_cast<size_t>(previous.start);
    const auto inserted = static_cast<size_t>(previous.insertedLength);
    state.undo = UndoRecord{true,
                            previous.start,
                            state.text.substr(start, inserted),
                            static_cast<int>(previous.removed.size()),
                            state.anchor,
                            state.caret,
                            UndoKind::Other,
                            -1};
    state.text.replace(start, inserted, previous.removed);
    int length = static_cast<int>(state.text.size());
    state.anchor = std::min(previous.anchor, length);
    state.caret = std::min(previous.caret, length);
    AfterEdit(state, previous.start, previous.insertedLength,
              static_cast<int>(previous.removed.size()));
    return NotifyChange(state);
}

void SetSelection(State& state, int anchor, int caret) {
    int length = static_cast<int>(state.text.size());
    anchor = std::clamp(anchor, 0, length);
    caret = std::clamp(caret, 0, length);
    bool changed = anchor != state.anchor || caret != state.caret;
    state.anchor = anchor;
    state.caret = caret;
    ScrollCaretIntoView(state);
    if (changed) {
        Redraw(state);
    }
}

int PreviousCharacter(const State& state, int index) {
    const std::u16string& text = state.text;
    if (index <= 0) {
        return 0;
    }
    --index;
    if (index > 0 && IsLowSurrogate(text[index]) && IsHighSurrogate(text[index - 1])) {
        --index;
    } else if (state.multiLine && index > 0 && text[index] == u'\n' && text[index - 1] == u'\r') {
        --index;
    }
    return index;
}

int NextCharacter(const State& state, int index) {
    const std::u16string& text = state.text;
    int length = static_cast<int>(text.size());
    if (index >= length) {
        return length;
    }
    if (index + 1 < length &&
        ((IsHighSurrogate(text[index]) && IsLowSurrogate(text[index + 1])) ||
         (state.multiLine && text[index] == u'\r' && text[index + 1] == u'\n'))) {
        return index + 2;
    }
    return index + 1;
}

// Words are what lies between white space, as the platform's default word-break rule has
// it; a password box is one word, so that its length does not leak through CTRL+arrows.
int PreviousWordStart(const State& state, int index) {
    if (state.passwordChar != 0) {
        return 0;
    }
    const std::u16string& text = state.text;
    while (index > 0 && IsSpace(text[index - 1])) {
        --index;
    }
    while (index > 0 && !IsSpace(text[index - 1])) {
        --index;
    }
    return index;
}

int NextWordStart(const State& state, int index) {
    const std::u16string& text = state.text;
    int length = static_cast<int>(text.size());
    if (state.passwordChar != 0) {
        return length;
    }
    while (index < length && !IsSpace(text[index])) {
        ++index;
    }
    while (index < length && IsSpace(text[index])) {
        ++index;
    }
    return index;
}

void WordAround(const State& state, int index, int* start, int* end) {
    const std::u16string& text = state.text;
    int length = static_cast<int>(text.size());
    if (state.passwordChar != 0) {
        *start = 0;
        *end = length;
        return;
    }
    if (length == 0) {
        *start = *end = 0;
        return;
    }
    // Past the last character the tap belongs to the word before it.
    int probe = std::clamp(index, 0, length - 1);
    bool space = IsSpace(text[probe]);
    int s = probe;
    int e = probe;
    while (s > 0 && IsSpace(text[s - 1]) == space) {
        --s;
    }
    while (e < length && IsSpace(text[e]) == space) {
        ++e;
    }
    *start = s;
    *end = e;
}

} // namespace device::edit
