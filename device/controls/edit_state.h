// The EDIT control's per-window state and the functions its files share: text and
// selection (edit_text.cpp), layout and scrolling (edit_layout.cpp), painting
// (edit_paint.cpp), keys and stylus (edit_input.cpp), clipboard (edit_clipboard.cpp).
#pragma once

#include "windows.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace device::edit {

// What a new control reports for EM_GETLIMITTEXT. The desktop documentation says 32767,
// but conformance tests run against the real platform expect 30000; we follow the tests.
inline constexpr UINT kDefaultLimit = 30000;
// EM_LIMITTEXT with 0 raises the limit to the largest the platform allows.
inline constexpr UINT kMaximumLimitSingleLine = 0x7FFFFFFE;
inline constexpr UINT kMaximumLimitMultiLine = 0xFFFFFFFF;
// The caret is one pixel wide, as the platform's system caret.
inline constexpr int kCaretWidth = 1;

// One line on the screen: a stretch of the text without its line break.
struct Line {
    int start = 0;
    int length = 0;      // characters shown
    int breakLength = 0; // characters of the line break after it: 0, 1 or 2 ("\r\n")
    int width = 0;       // pixels
};

// The text laid out for a given width. Per character: its advance in the font (the
// password character's for a password box), its advance as laid out (tabs expanded, line
// breaks 0) and its x from the start of its line, so that a position is found without
// adding up the line.
struct Layout {
    std::vector<Line> lines;
    std::vector<int> measured;
    std::vector<int> advances;
    std::vector<int> offsets;
    int widest = 0;
};

enum class UndoKind { Typing, Other };

// One level of undo: what the last change replaced, and the selection before it. Undoing
// puts `removed` back in place of the `insertedLength` characters at `start`.
struct UndoRecord {
    bool available = false;
    int start = 0;
    std::u16string removed;
    int insertedLength = 0;
    int anchor = 0;
    int caret = 0;
    UndoKind kind = UndoKind::Other;
    int typingEnd = -1; // where typed text ends, so that further typing joins the record
};

struct State {
    HWND hwnd = nullptr;
    HWND notifyWindow = nullptr; // the parent at creation: notifications and colours go there
    bool alive = true;           // false from WM_NCDESTROY on
    bool multiLine = false;      // ES_MULTILINE at creation; the platform ignores later changes
    bool created = false;        // WM_CREATE has reached the control's own procedure

    // Text and selection. The selection runs from `anchor` to `caret`, in either order.
    std::u16string text;
    int anchor = 0;
    int caret = 0;
    UINT limit = kDefaultLimit;
    bool modified = false;
    WCHAR passwordChar = 0; // 0: the text shows as it is
    UndoRecord undo;

    // Look.
    HFONT font = nullptr; // nullptr: the system font
    int lineHeight = 13;
    int averageWidth = 6;

    // Layout and scrolling.
    Layout layout;
    std::u16string shown;    // what is drawn: password characters, tabs as spaces
    RECT formatRect{};       // where the text goes, in client coordinates
    int xOffset = 0;         // pixels scrolled to the left
    int firstLine = 0;       // first visible line (multi-line)
    int goalX = -1;          // x that UP/DOWN keep to across short lines; -1 when unset
    bool hasVertBar = false; // created with WS_VSCROLL / WS_HSCROLL (multi-line only)
    bool hasHorzBar = false;
    bool updatingBars = false;

    // Focus and stylus.
    bool focused = false;
    bool tracking = false; // the stylus is down and the control holds the capture
};

using StateHandle = std::shared_ptr<State>;

// ---- edit_text.cpp: the state table, text, selection, notifications, undo -------------

StateHandle CreateState(HWND hwnd, HWND notifyWindow);
// The state of a live edit window, held for the duration of a message so that a window
// destroyed by a notification's receiver never leaves a handler on freed memory.
StateHandle FindState(HWND hwnd);
void ForgetState(HWND hwnd);

DWORD Style(const State& state);
int SelectionStart(const State& state);
int SelectionEnd(const State& state);

// Sends WM_COMMAND(MAKEWPARAM(id, code), hwnd) to the notify window. Returns false when the
// edit window did not survive it.
bool Notify(State& state, WORD code);

enum class Origin {
    Program, // EM_REPLACESEL and the like: the limit applies
    User,    // typing and pasting: the limit applies
    Internal // no limit (undo)
};
struct Replacement {
    Origin origin = Origin::User;
    bool canUndo = true;
    UndoKind undoKind = UndoKind::Other;
};
// Replaces the selection with `insert` (case-converted, cut to the limit and to what fits)
// and sends EN_UPDATE and EN_CHANGE when the text changed. Returns false when the window
// went away during a notification.
bool ReplaceSelection(State& state, std::u16string insert, const Replacement& how);
// Deletes [start, end) as BACK and DELETE do.
bool DeleteRange(State& state, int start, int end);
// WM_SETTEXT: replaces everything, without undo and without the limit.
bool SetText(State& state, std::u16string_view text);
// The same for the text a control is created with: no layout yet, no notification.
void SetTextWithoutNotifying(State& state, std::u16string_view text);
bool Undo(State& state);

// Moves the selection (clamped), keeps the caret in view and redraws what changed.
void SetSelection(State& state, int anchor, int caret);

// Where the previous/next character starts (a surrogate pair and "\r\n" are one step).
int PreviousCharacter(const State& state, int index);
int NextCharacter(const State& state, int index);
int PreviousWordStart(const State& state, int index);
int NextWordStart(const State& state, int index);
// The run of word characters (or of spaces) around `index`, for a double tap.
void WordAround(const State& state, int index, int* start, int* end);

// ---- edit_case.cpp ---------------------------------------------------------------------

char16_t ToUpper(char16_t character);
char16_t ToLower(char16_t character);

// ---- edit_lines.cpp: measuring, breaking the text into lines --------------------------

// A multi-line control wraps its lines at the format rectangle's width unless it may
// scroll sideways (ES_AUTOHSCROLL or a horizontal scroll bar).
bool Wraps(const State& state);
bool ScrollsSideways(const State& state);
int FormatWidth(const State& state);
// Lays out `text` as the control would show it.
Layout LayOut(const State& state, std::u16string_view text);
// Lays out the control's own text and keeps the scroll position in range.
void Relayout(State& state);
// The same after the `removed` characters at `start` became the `inserted` ones now there:
// only the lines the change reaches are measured and laid out again, so a keystroke costs
// what its line costs, whatever the length of the text.
void RelayoutAfterEdit(State& state, int start, int removed, int inserted);
// Whether `text` fits without scrolling (used when a style forbids scrolling).
bool FitsWithoutScrolling(const State& state, std::u16string_view text);

// ---- edit_layout.cpp: metrics, positions, scrolling, scroll bars, caret ----------------

// The font the control draws with: the one WM_SETFONT gave, else the system font.
HGDIOBJ ControlFont(const State& state);
// Font metrics and the format rectangle; then the text is laid out again.
void UpdateMetrics(State& state);
void UpdateFormatRect(State& state);
// Keeps the first line and the sideways scroll within what the layout allows.
void KeepScrollInRange(State& state);

int LineCount(const State& state);
int LineOf(const State& state, int index);
int VisibleLineCount(const State& state);
// Client coordinates of the top-left corner of the character at `index`.
POINT PositionOf(const State& state, int index);
// The character boundary nearest to a client point.
int IndexAt(const State& state, POINT point);
// The x of `index` (clamped to the line) from the start of `line`.
int XInLine(const State& state, int line, int index);
// The character boundary of `line` nearest to x pixels from its start.
int IndexAtX(const State& state, int line, int x);

void ScrollCaretIntoView(State& state);
// Scrolls to a first line / horizontal offset (clamped); returns whether it moved.
bool ScrollTo(State& state, int firstLine, int xOffset);
void UpdateScrollBars(State& state);
void PlaceCaret(const State& state);
void Redraw(const State& state);

LRESULT OnScrollMessage(State& state, UINT message, WPARAM wParam);

// ---- edit_paint.cpp --------------------------------------------------------------------

void OnPaint(State& state);
// Draws the whole box on a DC: background and colours from the parent, lines, selection.
void PaintOn(State& state, HDC hdc);

// ---- edit_input.cpp --------------------------------------------------------------------

void OnChar(State& state, WCHAR character);
void OnKeyDown(State& state, UINT virtualKey);
void OnButtonDown(State& state, WPARAM keys, POINT point);
void OnDoubleClick(State& state, POINT point);
void OnMouseMove(State& state, POINT point);
void OnButtonUp(State& state);
void OnSetFocus(State& state);
void OnKillFocus(State& state);

// ---- edit_clipboard.cpp ----------------------------------------------------------------

void Copy(State& state);
bool Cut(State& state);
bool Paste(State& state);

} // namespace device::edit
