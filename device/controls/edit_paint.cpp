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

void DrawSelectedRun(const State& state, HDC hdc, int x, int y, int from, int to) {
    int width = 0;
    for (int i = from; i < to; ++i) {
        width += state.layout.advances[static_cast<size_t>(i)];
    }
    RECT cell{x, y, x + width, y + state.lineHeight};
    COLORREF text = SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    COLORREF back = SetBkColor(hdc, GetSysColor(COLOR_HIGHLIGHT));
    ExtTextOutW(hdc, x, y, ETO_OPAQUE, &cell, state.shown.data() + from,
                static_cast<UINT>(to - from), state.layout.advances.data() + from);
    SetTextColor(hdc, text);
    SetBkColor(hdc, back);
}

// One line in up to three runs: before, inside and after the selection.
void DrawLine(const State& state, HDC hdc, int line, int selectionStart, int selectionEnd) {
    const Line& l = state.layout.lines[static_cast<size_t>(line)];
    POINT origin = PositionOf(state, l.start);
    int end = l.start + l.length;
    int from = std::clamp(selectionStart, l.start, end);
    int to = std::clamp(selectionEnd, l.start, end);
    int x = origin.x;
    DrawRun(state, hdc, x, origin.y, l.start, from);
    x += XInLine(state, line, from) - XInLine(state, line, l.start);
    if (to > from) {
        DrawSelectedRun(state, hdc, x, origin.y, from, to);
        x += XInLine(state, line, to) - XInLine(state, line, from);
    }
    DrawRun(state, hdc, x, origin.y, to, end);
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
        DrawLine(state, hdc, line, selectionStart, selectionEnd);
    }
    SelectObject(hdc, previousFont);
}

} // namespace device::edit
