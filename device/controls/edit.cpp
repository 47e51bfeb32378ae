// The "EDIT" class: single-line and multi-line text boxes with caret, selection, typing,
// keys, the stylus, clipboard and undo, notifying the parent they were made for.
//
// Not emulated:
// - EM_SETRECT/EM_SETRECTNP, EM_SETMARGINS/EM_GETMARGINS (the margins are fixed), EM_SETTABSTOPS
//   (tab stops every 8 average characters), EM_FMTLINES, EM_SETWORDBREAKPROC,
//   EM_GETHANDLE/EM_SETHANDLE, EM_GETTHUMB, EM_SETIMESTATUS and the IME; EM_SHOWBALLOONTIP
// - EN_ERRSPACE (memory never runs out), EN_ALIGN_*, the context menu
// - ES_OEMCONVERT (Unicode only), ES_COMBOBOX, WS_EX_RIGHT/RTLREADING and right-to-left text
// - more than one level of undo; CTRL+BACK deleting a word
// - single-line controls ignore WS_HSCROLL, WS_VSCROLL and ES_AUTOVSCROLL (the bits are
//   dropped at creation); a multi-line control's scroll bars show only when there is
//   something to scroll, rather than disabled when there is not
// - a lone '\r' or '\n' breaks a multi-line control's line just as "\r\n" does
// - auto-scrolling on a timer while the stylus rests outside during a drag
//
// Sections:
//   edit.cpp            creation and destruction, the message handlers that answer
//                       questions (EM_GET*, line messages), the window procedure, the class
//   edit_state.h        the per-window state and the functions the files share
//   edit_text.cpp       the state table, replacing text with the limit, notifications, undo,
//                       character and word steps
//   edit_case.cpp       ES_UPPERCASE / ES_LOWERCASE case mapping
//   edit_lines.cpp      measuring, lines and wrapping, laying out again after an edit
//   edit_layout.cpp     format rectangle, positions, scrolling, the window's scroll bars,
//                       the caret's position
//   edit_paint.cpp      WM_PAINT with the parent's colours and the selection
//   edit_input.cpp      WM_CHAR, WM_KEYDOWN, the stylus, the focus
//   edit_clipboard.cpp  cut, copy and paste
#include "controls/edit.h"

#include "controls/edit_state.h"
#include "diag/json_writer.h"
#include "window/window_registry.h"

#include <algorithm>

namespace device {
namespace edit {
namespace {

// Style bits the control changes itself; the platform does it without WM_STYLECHANGING,
// so the window record is written directly.
void ChangeStyleBits(HWND hwnd, DWORD bits, bool set) {
    if (Window* window = LookUp(hwnd)) {
        window->style = set ? (window->style | bits) : (window->style & ~bits);
    }
}

int Length(const State& state) {
    return static_cast<int>(state.text.size());
}

WORD Clip16(int value) {
    return static_cast<WORD>(std::min(value, 0xFFFF));
}

// ---- creation and destruction ------------------------------------------------------------

LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    StateHandle state = CreateState(hwnd, create->hwndParent);
    DWORD style = static_cast<DWORD>(create->style);
    state->multiLine = (style & ES_MULTILINE) != 0;
    if (state->multiLine) {
        state->hasVertBar = (style & WS_VSCROLL) != 0;
        state->hasHorzBar = (style & WS_HSCROLL) != 0;
    } else {
        ChangeStyleBits(hwnd, WS_HSCROLL | WS_VSCROLL, false);
        if (Window* window = LookUp(hwnd)) {
            window->horzScroll.reset();
            window->vertScroll.reset();
        }
        if ((style & ES_PASSWORD) != 0) {
            state->passwordChar = u'*';
        }
    }
    // The initial text comes without notifications; it is laid out once WM_CREATE knows
    // the client area.
    if (create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
        SetTextWithoutNotifying(*state, create->lpszName);
    }
    return DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam);
}

LRESULT OnCreate(State& state) {
    state.created = true;
    UpdateMetrics(state);
    UpdateScrollBars(state);
    return 0;
}

LRESULT OnNcDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    ForgetState(hwnd);
    return DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}

void OnSize(State& state) {
    UpdateFormatRect(state);
    UpdateScrollBars(state);
    ScrollCaretIntoView(state);
    Redraw(state);
}

void OnStyleChanged(State& state) {
    Relayout(state);
    ScrollCaretIntoView(state);
    Redraw(state);
}

// ---- text, font and selection messages ---------------------------------------------------

LRESULT OnSetText(State& state, LPARAM lParam) {
    const auto* text = reinterpret_cast<LPCWSTR>(lParam);
    SetText(state, text != nullptr ? text : u"");
    return TRUE;
}

LRESULT OnGetText(const State& state, WPARAM wParam, LPARAM lParam) {
    auto* buffer = reinterpret_cast<WCHAR*>(lParam);
    if (buffer == nullptr || wParam == 0) {
        return 0;
    }
    size_t count = std::min(state.text.size(), static_cast<size_t>(wParam) - 1);
    std::copy_n(state.text.begin(), count, buffer);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT OnSetFont(State& state, WPARAM wParam, LPARAM lParam) {
    state.font = reinterpret_cast<HFONT>(wParam);
    UpdateMetrics(state);
    UpdateScrollBars(state);
    if (state.focused) {
        // The caret takes the new line height.
        DestroyCaret();
        CreateCaret(state.hwnd, nullptr, kCaretWidth, state.lineHeight);
        ShowCaret(state.hwnd);
    }
    ScrollCaretIntoView(state);
    if (lParam != 0) {
        Redraw(state);
    }
    return 0;
}

// Both ends are written in order; the result packs them into 16 bits each, 0xFFFF for
// anything past 65535.
LRESULT OnGetSel(const State& state, WPARAM wParam, LPARAM lParam) {
    int start = SelectionStart(state);
    int end = SelectionEnd(state);
    if (auto* startOut = reinterpret_cast<DWORD*>(wParam)) {
        *startOut = static_cast<DWORD>(start);
    }
    if (auto* endOut = reinterpret_cast<DWORD*>(lParam)) {
        *endOut = static_cast<DWORD>(end);
    }
    return MAKELRESULT(Clip16(start), Clip16(end));
}

// A start of -1 drops the selection where the caret is; otherwise both ends are clamped to
// the text, any negative end meaning its end. The start may lie after the end: the caret
// goes to the end given.
LRESULT OnSetSel(State& state, WPARAM wParam, LPARAM lParam) {
    int start = static_cast<int>(wParam);
    int end = static_cast<int>(lParam);
    if (start == -1) {
        SetSelection(state, state.caret, state.caret);
        return 1;
    }
    int length = Length(state);
    auto clamp = [length](int value) { return value < 0 ? length : std::min(value, length); };
    SetSelection(state, clamp(start), clamp(end));
    return 1;
}

LRESULT OnReplaceSel(State& state, WPARAM wParam, LPARAM lParam) {
    const auto* text = reinterpret_cast<LPCWSTR>(lParam);
    ReplaceSelection(state, text != nullptr ? std::u16string(text) : std::u16string(),
                     Replacement{Origin::Program, wParam != 0, UndoKind::Other});
    return 0;
}

LRESULT OnLimitText(State& state, WPARAM wParam) {
    if (wParam == 0) {
        state.limit = state.multiLine ? kMaximumLimitMultiLine : kMaximumLimitSingleLine;
    } else {
        state.limit = static_cast<UINT>(std::min<WPARAM>(wParam, kMaximumLimitMultiLine));
    }
    return 0;
}

LRESULT OnSetPasswordChar(State& state, WPARAM wParam) {
    if (state.multiLine) {
        return 0;
    }
    state.passwordChar = static_cast<WCHAR>(wParam);
    ChangeStyleBits(state.hwnd, ES_PASSWORD, state.passwordChar != 0);
    Relayout(state);
    ScrollCaretIntoView(state);
    Redraw(state);
    return 0;
}

LRESULT OnSetReadOnly(State& state, WPARAM wParam) {
    ChangeStyleBits(state.hwnd, ES_READONLY, wParam != 0);
    Redraw(state);
    return TRUE;
}

// A single-line control always reports success; a multi-line one only when there was
// something to undo.
LRESULT OnUndo(State& state) {
    bool available = state.undo.available;
    Undo(state);
    return state.multiLine ? (available ? TRUE : FALSE) : TRUE;
}

// A read-only box gives a copy and keeps its text.
LRESULT OnCut(State& state) {
    if ((Style(state) & ES_READONLY) != 0) {
        Copy(state);
    } else {
        Cut(state);
    }
    return 0;
}

LRESULT OnPaste(State& state) {
    if ((Style(state) & ES_READONLY) == 0) {
        Paste(state);
    }
    return 0;
}

LRESULT OnClear(State& state) {
    if ((Style(state) & ES_READONLY) == 0 && state.anchor != state.caret) {
        DeleteRange(state, SelectionStart(state), SelectionEnd(state));
    }
    return 0;
}

LRESULT OnGetDlgCode(const State& state, LPARAM lParam) {
    LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
    if (state.multiLine) {
        // A multi-line control wants every key, except that RETURN goes to the dialog's
        // default button unless ES_WANTRETURN, and ESCAPE always goes to the dialog.
        code |= DLGC_WANTALLKEYS;
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg != nullptr && msg->message == WM_KEYDOWN &&
            (msg->wParam == static_cast<WPARAM>(VK_ESCAPE) ||
             (msg->wParam == static_cast<WPARAM>(VK_RETURN) &&
              (Style(state) & ES_WANTRETURN) == 0))) {
            code &= ~DLGC_WANTALLKEYS;
        }
    }
    return code;
}

// ---- lines -------------------------------------------------------------------------------

LRESULT OnLineIndex(const State& state, WPARAM wParam) {
    int line = static_cast<int>(wParam);
    if (line == -1) {
        line = LineOf(state, state.caret);
    }
    if (line < 0 || line >= LineCount(state)) {
        return -1;
    }
    return state.layout.lines[static_cast<size_t>(line)].start;
}

// With -1: the characters outside the selection on the lines the selection touches.
LRESULT OnLineLength(const State& state, WPARAM wParam) {
    int index = static_cast<int>(wParam);
    const auto& lines = state.layout.lines;
    if (index == -1) {
        const Line& first = lines[static_cast<size_t>(LineOf(state, SelectionStart(state)))];
        const Line& last = lines[static_cast<size_t>(LineOf(state, SelectionEnd(state)))];
        return (SelectionStart(state) - first.start) +
               std::max(0, last.start + last.length - SelectionEnd(state));
    }
    if (index < 0 || index > Length(state)) {
        return 0;
    }
    return lines[static_cast<size_t>(LineOf(state, index))].length;
}

LRESULT OnLineFromChar(const State& state, WPARAM wParam) {
    int index = static_cast<int>(wParam);
    if (index == -1) {
        index = SelectionStart(state);
    }
    return LineOf(state, std::clamp(index, 0, Length(state)));
}

// The buffer's first WORD says how many characters fit; no terminator is added.
LRESULT OnGetLine(const State& state, WPARAM wParam, LPARAM lParam) {
    auto* buffer = reinterpret_cast<WCHAR*>(lParam);
    int line = state.multiLine ? static_cast<int>(wParam) : 0;
    if (buffer == nullptr || line < 0 || line >= LineCount(state)) {
        return 0;
    }
    const Line& l = state.layout.lines[static_cast<size_t>(line)];
    int count = std::min<int>(l.length, *reinterpret_cast<const WORD*>(buffer));
    std::copy_n(state.text.begin() + l.start, count, buffer);
    return count;
}

// A multi-line control answers its first visible line, a single-line one its first
// visible character.
LRESULT OnGetFirstVisibleLine(const State& state) {
    if (state.multiLine) {
        return state.firstLine;
    }
    // The first character that starts at or right of the scrolled-away part.
    const std::vector<int>& offsets = state.layout.offsets;
    return std::lower_bound(offsets.begin(), offsets.end(), state.xOffset) - offsets.begin();
}

// The position just past the last character is answered too; beyond that, -1.
LRESULT OnPosFromChar(const State& state, WPARAM wParam) {
    int index = static_cast<int>(wParam);
    if (index < 0 || index > Length(state)) {
        return -1;
    }
    POINT point = PositionOf(state, index);
    return MAKELRESULT(static_cast<WORD>(static_cast<short>(point.x)),
                       static_cast<WORD>(static_cast<short>(point.y)));
}

LRESULT OnCharFromPos(const State& state, LPARAM lParam) {
    int index = IndexAt(state, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return MAKELRESULT(Clip16(index), Clip16(LineOf(state, index)));
}

LRESULT OnGetRect(const State& state, LPARAM lParam) {
    if (auto* rect = reinterpret_cast<RECT*>(lParam)) {
        *rect = state.formatRect;
    }
    return 0;
}

LRESULT OnScroll(State& state, WPARAM wParam) {
    if (!state.multiLine) {
        return FALSE;
    }
    int page = VisibleLineCount(state);
    int lines = 0;
    switch (wParam) {
    case SB_LINEUP:
        lines = -1;
        break;
    case SB_LINEDOWN:
        lines = 1;
        break;
    case SB_PAGEUP:
        lines = -page;
        break;
    case SB_PAGEDOWN:
        lines = page;
        break;
    default:
        return FALSE;
    }
    int before = state.firstLine;
    ScrollTo(state, before + lines, state.xOffset);
    return MAKELRESULT(static_cast<WORD>(static_cast<short>(state.firstLine - before)), TRUE);
}

LRESULT OnLineScroll(State& state, WPARAM wParam, LPARAM lParam) {
    if (!state.multiLine) {
        return FALSE;
    }
    ScrollTo(state, state.firstLine + static_cast<int>(lParam),
             state.xOffset + static_cast<int>(wParam) * state.averageWidth);
    return TRUE;
}

// ---- the window procedure ----------------------------------------------------------------

LRESULT CALLBACK EditWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return OnNcCreate(hwnd, wParam, lParam);
    }
    StateHandle held = FindState(hwnd);
    if (held == nullptr || !held->created) {
        // A subclass may talk to the control from WM_NCCREATE or WM_CREATE before passing them
        // on: these are accepted and do nothing until WM_CREATE; anything else is served
        // with the lines laid out for the area the window has so far.
        if (message == EM_SETSEL || message == WM_SIZE || message == EM_LINESCROLL) {
            return 1;
        }
        if (held == nullptr) {
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        if (message != WM_CREATE) {
            UpdateMetrics(*held);
        }
    }
    State& state = *held;
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // clang-format off
    switch (message) {
    case WM_CREATE: return OnCreate(state);
    case WM_NCDESTROY: return OnNcDestroy(hwnd, wParam, lParam);
    case WM_SIZE: OnSize(state); return 0;
    case WM_STYLECHANGED: OnStyleChanged(state); return 0;
    case WM_ENABLE: Redraw(state); return 0; // the text greys out
    case WM_PAINT: OnPaint(state); return 0;
    case WM_ERASEBKGND: return 1; // WM_PAINT fills the background with the parent's brush
    case WM_GETDLGCODE: return OnGetDlgCode(state, lParam);

    case WM_SETTEXT: return OnSetText(state, lParam);
    case WM_GETTEXT: return OnGetText(state, wParam, lParam);
    case WM_GETTEXTLENGTH: return Length(state);
    case WM_SETFONT: return OnSetFont(state, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state.font); // 0 until set: the system font

    case WM_SETFOCUS: OnSetFocus(state); return 0;
    case WM_KILLFOCUS: OnKillFocus(state); return 0;
    case WM_CHAR: OnChar(state, static_cast<WCHAR>(wParam)); return 1; // dropped characters too
    case WM_KEYDOWN: OnKeyDown(state, static_cast<UINT>(wParam)); return 0;
    case WM_LBUTTONDOWN: OnButtonDown(state, wParam, point); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(state, point); return 0;
    case WM_MOUSEMOVE: OnMouseMove(state, point); return 0;
    case WM_LBUTTONUP: OnButtonUp(state); return 0;
    case WM_CAPTURECHANGED: state.tracking = false; return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: return OnScrollMessage(state, message, wParam);

    case WM_CUT: return OnCut(state);
    case WM_COPY: Copy(state); return 0;
    case WM_PASTE: return OnPaste(state);
    case WM_CLEAR: return OnClear(state);
    case WM_UNDO:
    case EM_UNDO: return OnUndo(state);

    case EM_GETSEL: return OnGetSel(state, wParam, lParam);
    case EM_SETSEL: return OnSetSel(state, wParam, lParam);
    case EM_REPLACESEL: return OnReplaceSel(state, wParam, lParam);
    case EM_SCROLLCARET: ScrollCaretIntoView(state); return TRUE;
    case EM_GETMODIFY: return state.modified ? TRUE : FALSE;
    case EM_SETMODIFY: state.modified = wParam != 0; return 0;
    case EM_CANUNDO: return state.undo.available ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER: state.undo = UndoRecord{}; return 0;
    case EM_LIMITTEXT: return OnLimitText(state, wParam);
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(state.limit);
    case EM_SETPASSWORDCHAR: return OnSetPasswordChar(state, wParam);
    case EM_GETPASSWORDCHAR: return state.passwordChar;
    case EM_SETREADONLY: return OnSetReadOnly(state, wParam);

    case EM_GETLINECOUNT: return LineCount(state);
    case EM_LINEINDEX: return OnLineIndex(state, wParam);
    case EM_LINELENGTH: return OnLineLength(state, wParam);
    case EM_LINEFROMCHAR: return OnLineFromChar(state, wParam);
    case EM_GETLINE: return OnGetLine(state, wParam, lParam);
    case EM_GETFIRSTVISIBLELINE: return OnGetFirstVisibleLine(state);
    case EM_POSFROMCHAR: return OnPosFromChar(state, wParam);
    case EM_CHARFROMPOS: return OnCharFromPos(state, lParam);
    case EM_GETRECT: return OnGetRect(state, lParam);
    case EM_SCROLL: return OnScroll(state, wParam);
    case EM_LINESCROLL: return OnLineScroll(state, wParam, lParam);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // clang-format on
}

// ---- the window-tree dump and the script -------------------------------------------------

void DumpSelection(HWND hwnd, diag::JsonWriter& out) {
    if (StateHandle state = FindState(hwnd)) {
        out.Key("selection");
        out.BeginArray();
        out.Number(SelectionStart(*state));
        out.Number(SelectionEnd(*state));
        out.EndArray();
    }
}

std::u16string TextOf(HWND hwnd) {
    StateHandle state = FindState(hwnd);
    return state != nullptr ? state->text : std::u16string();
}

} // namespace
} // namespace edit

ClassDescriptor EditClassDescriptor() {
    return ClassDescriptor{u"EDIT", CS_DBLCLKS,          edit::EditWndProc, 0,
                           nullptr, edit::DumpSelection, edit::TextOf};
}

} // namespace device
