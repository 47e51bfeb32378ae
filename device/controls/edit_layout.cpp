// The EDIT control's geometry: the format rectangle, positions of characters in the laid
// out lines, scrolling to keep the caret in view, and the window's own scroll bars.
#include "controls/edit_state.h"

#include <algorithm>

namespace device::edit {
namespace {

// The text stands 2 pixels in from the sides of the client area and, when there is room,
// 2 pixels down from its top: what a Pocket PC text box of 22 pixels shows.
constexpr int kSideMargin = 2;
constexpr int kTopMargin = 2;

int AlignOffset(const State& state, const Line& line) {
    DWORD style = Style(state);
    int room = FormatWidth(state) - line.width - kCaretWidth;
    if (room <= 0 || (style & (ES_CENTER | ES_RIGHT)) == 0) {
        return 0;
    }
    return (style & ES_RIGHT) != 0 ? room : room / 2;
}

int MaxFirstLine(const State& state) {
    return std::max(0, LineCount(state) - VisibleLineCount(state));
}

int MaxXOffset(const State& state) {
    return std::max(0, state.layout.widest + kCaretWidth - FormatWidth(state));
}

void SetBar(const State& state, int bar, int max, int page, int pos) {
    SCROLLINFO info{sizeof(SCROLLINFO),
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    max,
                    static_cast<UINT>(page),
                    pos,
                    0};
    SetScrollInfo(state.hwnd, bar, &info, TRUE);
}

void UpdateBarPositions(const State& state) {
    if (state.hasVertBar) {
        SetScrollPos(state.hwnd, SB_VERT, state.firstLine, TRUE);
    }
    if (state.hasHorzBar) {
        SetScrollPos(state.hwnd, SB_HORZ, state.xOffset, TRUE);
    }
}

} // namespace

HGDIOBJ ControlFont(const State& state) {
    return state.font != nullptr ? static_cast<HGDIOBJ>(state.font) : GetStockObject(SYSTEM_FONT);
}

void UpdateFormatRect(State& state) {
    RECT client{};
    GetClientRect(state.hwnd, &client);
    RECT format = client;
    format.left += kSideMargin;
    format.right = std::max(format.left, format.right - kSideMargin);
    int spare = (client.bottom - client.top) - state.lineHeight;
    format.top += std::clamp(spare / 2, 0, kTopMargin);
    format.bottom = state.multiLine ? std::max(format.top, client.bottom - kTopMargin / 2)
                                    : format.top + state.lineHeight;
    state.formatRect = format;
    Relayout(state);
}

void KeepScrollInRange(State& state) {
    state.firstLine = std::clamp(state.firstLine, 0, MaxFirstLine(state));
    // Once the whole text fits again (after deleting, or in a wider box), it shows from
    // its start.
    if (!ScrollsSideways(state) || MaxXOffset(state) == 0) {
        state.xOffset = 0;
    } else if (state.multiLine) {
        state.xOffset = std::clamp(state.xOffset, 0, MaxXOffset(state));
    }
}

int LineCount(const State& state) {
    return std::max<int>(1, static_cast<int>(state.layout.lines.size()));
}

int LineOf(const State& state, int index) {
    const auto& lines = state.layout.lines;
    auto it = std::upper_bound(lines.begin(), lines.end(), index,
                               [](int value, const Line& line) { return value < line.start; });
    return std::max(0, static_cast<int>(it - lines.begin()) - 1);
}

int VisibleLineCount(const State& state) {
    if (!state.multiLine) {
        return 1;
    }
    return std::max(1, (state.formatRect.bottom - state.formatRect.top) / state.lineHeight);
}

int XInLine(const State& state, int line, int index) {
    const Line& l = state.layout.lines[static_cast<size_t>(line)];
    int end = std::clamp(index, l.start, l.start + l.length);
    return end == l.start + l.length ? l.width : state.layout.offsets[static_cast<size_t>(end)];
}

// The first character whose middle lies right of x; characters of no width (the second
// half of a surrogate pair) are never a boundary of their own.
int IndexAtX(const State& state, int line, int x) {
    const Line& l = state.layout.lines[static_cast<size_t>(line)];
    const std::vector<int>& offsets = state.layout.offsets;
    const std::vector<int>& advances = state.layout.advances;
    int low = l.start;
    int high = l.start + l.length;
    while (low < high) {
        int middle = low + (high - low) / 2;
        size_t i = static_cast<size_t>(middle);
        if (x < offsets[i] + advances[i] / 2) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    while (low < l.start + l.length && advances[static_cast<size_t>(low)] == 0) {
        ++low;
    }
    return low;
}

POINT PositionOf(const State& state, int index) {
    int line = LineOf(state, index);
    const Line& l = state.layout.lines[static_cast<size_t>(line)];
    int x =
        state.formatRect.left + AlignOffset(state, l) + XInLine(state, line, index) - state.xOffset;
    int y = state.formatRect.top + (line - state.firstLine) * state.lineHeight;
    return POINT{x, y};
}

int IndexAt(const State& state, POINT point) {
    int line = 0;
    if (state.multiLine) {
        int dy = point.y - state.formatRect.top;
        int row =
            dy >= 0 ? dy / state.lineHeight : -((-dy + state.lineHeight - 1) / state.lineHeight);
        line = std::clamp(state.firstLine + row, 0, LineCount(state) - 1);
    }
    const Line& l = state.layout.lines[static_cast<size_t>(line)];
    int x = point.x - state.formatRect.left - AlignOffset(state, l) + state.xOffset;
    return IndexAtX(state, line, x);
}

void ScrollCaretIntoView(State& state) {
    int line = LineOf(state, state.caret);
    int firstLine = state.firstLine;
    if (state.multiLine) {
        int visible = VisibleLineCount(state);
        if (line < firstLine) {
            firstLine = line;
        } else if (line >= firstLine + visible) {
            firstLine = line - visible + 1;
        }
    }
    int xOffset = state.xOffset;
    if (ScrollsSideways(state)) {
        // Jumps by a third of the width, so that typing does not scroll at every character.
        int width = FormatWidth(state);
        int third = std::max(1, width / 3);
        int x = XInLine(state, line, state.caret);
        if (x < xOffset) {
            xOffset = std::max(0, x - third);
        } else if (x + kCaretWidth > xOffset + width) {
            xOffset = x + kCaretWidth - width + third;
        }
    }
    if (!ScrollTo(state, firstLine, xOffset)) {
        PlaceCaret(state);
    }
}

bool ScrollTo(State& state, int firstLine, int xOffset) {
    firstLine = std::clamp(firstLine, 0, MaxFirstLine(state));
    if (!ScrollsSideways(state)) {
        xOffset = 0;
    } else if (state.multiLine) {
        xOffset = std::clamp(xOffset, 0, MaxXOffset(state));
    } else {
        xOffset = std::max(0, xOffset);
    }
    if (firstLine == state.firstLine && xOffset == state.xOffset) {
        return false;
    }
    state.firstLine = firstLine;
    state.xOffset = xOffset;
    UpdateBarPositions(state);
    PlaceCaret(state);
    Redraw(state);
    return true;
}

// Showing or hiding a bar changes the client area, which may change the wrapping and so
// the lines; a few rounds settle it.
void UpdateScrollBars(State& state) {
    if (!state.multiLine || (!state.hasVertBar && !state.hasHorzBar) || state.updatingBars) {
        return;
    }
    state.updatingBars = true;
    for (int round = 0; round < 3 && state.alive; ++round) {
        RECT before{};
        GetClientRect(state.hwnd, &before);
        if (state.hasVertBar) {
            SetBar(state, SB_VERT, LineCount(state) - 1, VisibleLineCount(state), state.firstLine);
        }
        if (state.hasHorzBar && state.alive) {
            SetBar(state, SB_HORZ, state.layout.widest + kCaretWidth - 1, FormatWidth(state),
                   state.xOffset);
        }
        RECT after{};
        GetClientRect(state.hwnd, &after);
        if (EqualRect(&before, &after)) {
            break;
        }
    }
    state.updatingBars = false;
}

void PlaceCaret(const State& state) {
    if (state.focused) {
        POINT position = PositionOf(state, state.caret);
        SetCaretPos(position.x, position.y);
    }
}

// With erasing, as the platform invalidates an edit whose text or selection changed.
void Redraw(const State& state) {
    InvalidateRect(state.hwnd, nullptr, TRUE);
}

LRESULT OnScrollMessage(State& state, UINT message, WPARAM wParam) {
    if (!state.multiLine) {
        return 0;
    }
    bool vertical = message == WM_VSCROLL;
    int code = LOWORD(wParam);
    int current = vertical ? state.firstLine : state.xOffset;
    int line = vertical ? 1 : state.averageWidth;
    int page = vertical ? VisibleLineCount(state) : std::max(1, FormatWidth(state));
    int target = current;
    switch (code) {
    case SB_LINEUP:
        target = current - line;
        break;
    case SB_LINEDOWN:
        target = current + line;
        break;
    case SB_PAGEUP:
        target = current - page;
        break;
    case SB_PAGEDOWN:
        target = current + page;
        break;
    case SB_TOP:
        target = 0;
        break;
    case SB_BOTTOM:
        target = vertical ? MaxFirstLine(state) : MaxXOffset(state);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        target = HIWORD(wParam);
        break;
    default:
        return 0;
    }
    bool moved = vertical ? ScrollTo(state, target, state.xOffset)
                          : ScrollTo(state, state.firstLine, target);
    if (moved && code != SB_THUMBTRACK) {
        Notify(state, vertical ? EN_VSCROLL : EN_HSCROLL);
    }
    return 0;
}

} // namespace device::edit
