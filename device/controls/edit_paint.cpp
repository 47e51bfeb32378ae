// Painting of the EDIT control: the background and text colours the parent chooses with
// WM_CTLCOLOREDIT (WM_CTLCOLORSTATIC when read-only or disabled), the visible lines, and
// the selection in the highlight colours.
#include "controls/control_support.h"
#include "controls/edit_state.h"

#include <algorithm>

namespace device::edit {
namespace {

// The parent answers with a brush and leaves its colours in the DC; a parent that answers
// 0 gets the default procedure's colours.
HBRUSH AskParentForColours(State& state, HDC hdc) {
    DWORD style = Style(state);
    UINT message = (style & (WS_DISABLED | ES_READONLY)) != 0 ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    if (state.notifyWindow == nullptr) {
        return state.alive ? reinterpret_cast<HBRUSH>(DefWindowProcW(state.hwnd, message,
                                                                     reinterpret_cast<WPARAM>(hdc),
                                                                     reinterpret_cast<LPARAM>(state.hwnd)))
                           : nullptr;
    }
    return controls::AskForColours(state.hwnd, state.notifyWindow, message, hdc);
}

void DrawRun(const State& state, HDC hdc, int x, int y, int from, int to) {
    if (to > from) {
        ExtTextOutW(hdc, x, y, 0, nullptr, state.shown.data() + from, static_cast<UINT>(to - from),
                    state.layout.advances.data() + from);
    }
}

void DrawSelectedRun(const State& state, HDC hdc, int x, int y, int from, int width, int to) {
    RECT cell{x, y, x + width, y + state.lineHeight};
    COLORREF text = SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    COLORREF back = SetBkColor(hdc, GetSysColor(COLOR_HIGHLIGHT));
    ExtTextOutW(hdc, x, y, ETO_OPAQUE, &cell, state.shown.data() + from,
                static_cast<UINT>(to - from), state.layout.advances.data() + from);
    SetTextColor(hdc, text);
    SetBkColor(hdc, back);
}

// The characters of a line that can show between `left` and `right` (client x) when the
// line starts at `lineX`: a long line scrolled sideways is drawn only where it is seen,
// with one character more on each side for glyphs that reach beyond their advance.
void VisibleRange(const State& state, const Line& line, int lineX, int left, int right, int* from,
                  int* to) {
    const std::vector<int>& offsets = state.layout.offsets;
    auto begin = offsets.begin() + line.start;
    auto end = begin + line.length;
    *from = static_cast<int>(std::upper_bound(begin, end, left - lineX) - offsets.begin());
    *to = static_cast<int>(std::lower_bound(begin, end, right - lineX) - offsets.begin());
    *from = std::max(line.start, *from - 2);
    *to = std::min(line.start + line.length, *to + 1);
}

// One line in up to three runs: before, inside and after the selection.
void DrawLine(const State& state, HDC hdc, int line, int selectionStart, int selectionEnd, int left,
              int right) {
    const Line& l = state.layout.lines[static_cast<size_t>(line)];
    POINT origin = PositionOf(state, l.start);
    int begin = 0;
    int end = 0;
    VisibleRange(state, l, origin.x, left, right, &begin, &end);
    int from = std::clamp(selectionStart, begin, end);
    int to = std::clamp(selectionEnd, begin, end);
    auto xOf = [&](int index) { return origin.x + XInLine(state, line, index); };
    DrawRun(state, hdc, xOf(begin), origin.y, begin, from);
    if (to > from) {
        DrawSelectedRun(state, hdc, xOf(from), origin.y, from, xOf(to) - xOf(from), to);
    }
    DrawRun(state, hdc, xOf(to), origin.y, to, end);
}

} // namespace

void OnPaint(State& state) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(state.hwnd, &paint);
    PaintOn(state, hdc);
    EndPaint(state.hwnd, &paint);
}

void PaintOn(State& state, HDC hdc) {
    HBRUSH brush = AskParentForColours(state, hdc);
    if (!state.alive) {
        return; // the parent destroyed the control while choosing colours
    }
    RECT client{};
    GetClientRect(state.hwnd, &client);
    if (brush != nullptr) {
        FillRect(hdc, &client, brush);
    }
    DWORD style = Style(state);
    if ((style & WS_DISABLED) != 0) {
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    }
    HGDIOBJ previousFont = SelectObject(hdc, ControlFont(state));
    IntersectClipRect(hdc, state.formatRect.left, client.top, state.formatRect.right,
                      client.bottom);

    bool showSelection = state.focused || (style & ES_NOHIDESEL) != 0;
    int selectionStart = showSelection ? SelectionStart(state) : 0;
    int selectionEnd = showSelection ? SelectionEnd(state) : 0;
    // The line partly shown below the last whole one is drawn too, clipped by the window.
    int last = std::min(LineCount(state), state.firstLine + VisibleLineCount(state) + 1);
    for (int line = state.firstLine; line < last; ++line) {
        DrawLine(state, hdc, line, selectionStart, selectionEnd, state.formatRect.left,
                 state.formatRect.right);
    }
    SelectObject(hdc, previousFont);
}

} // namespace device::edit
