// The EDIT control's geometry: font metrics, the format rectangle, lines (with word wrap
// for a multi-line control that does not scroll sideways), positions of characters,
// scrolling to keep the caret in view, and the window's own scroll bars.
#include "controls/edit_state.h"

#include <algorithm>
#include <climits>

namespace device::edit {
namespace {

// The text stands 2 pixels in from the sides of the client area and, when there is room,
// 2 pixels down from its top: what a Pocket PC text box of 22 pixels shows.
constexpr int kSideMargin = 2;
constexpr int kTopMargin = 2;
// Tab stops every 8 average characters (the platform's 32 dialog units).
constexpr int kTabStopCharacters = 8;

// A memory DC with the control's font selected, for measuring.
class Measurer {
public:
    explicit Measurer(const State& state) : m_dc(CreateCompatibleDC(nullptr)) {
        m_previous = SelectObject(m_dc, ControlFont(state));
    }
    ~Measurer() {
        SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);
    }
    Measurer(const Measurer&) = delete;
    Measurer& operator=(const Measurer&) = delete;

    HDC Dc() const { return m_dc; }

    // Each character's own advance.
    std::vector<int> Advances(std::u16string_view text) const {
        std::vector<int> advances(text.size(), 0);
        if (text.empty()) {
            return advances;
        }
        std::vector<int> cumulative(text.size(), 0);
        SIZE size{};
        GetTextExtentExPointW(m_dc, text.data(), static_cast<int>(text.size()), 0, nullptr,
                              cumulative.data(), &size);
        for (size_t i = 0; i < text.size(); ++i) {
            advances[i] = cumulative[i] - (i > 0 ? cumulative[i - 1] : 0);
        }
        return advances;
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous = nullptr;
};

bool IsBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// A multi-line control wraps its lines at the format rectangle's width unless it may
// scroll sideways (ES_AUTOHSCROLL or a horizontal scroll bar).
bool Wraps(const State& state) {
    return state.multiLine && (Style(state) & ES_AUTOHSCROLL) == 0 && !state.hasHorzBar;
}

bool ScrollsSideways(const State& state) {
    return state.multiLine ? !Wraps(state) : (Style(state) & ES_AUTOHSCROLL) != 0;
}

int FormatWidth(const State& state) {
    return state.formatRect.right - state.formatRect.left;
}

void AddLine(Layout* layout, int start, int end, int breakLength) {
    int width = 0;
    for (int i = start; i < end; ++i) {
        width += layout->advances[static_cast<size_t>(i)];
    }
    layout->lines.push_back(Line{start, end - start, breakLength, width});
    layout->widest = std::max(layout->widest, width);
}

// Lays out one paragraph [start, end): breaks after white space when a word would cross
// `width`, inside a word that is wider than the line; spaces may hang past the edge.
void LayOutParagraph(const State& state, std::u16string_view text, const std::vector<int>& measured,
                     int start, int end, int breakLength, int width, Layout* layout) {
    int tabStop = std::max(1, state.averageWidth * kTabStopCharacters);
    int lineStart = start;
    int x = 0;
    int lastBreak = -1;
    for (int i = start; i < end;) {
        char16_t c = text[static_cast<size_t>(i)];
        int advance = c == u'\t' ? tabStop - x % tabStop : measured[static_cast<size_t>(i)];
        if (x + advance > width && i > lineStart && c != u' ') {
            int breakAt = lastBreak > lineStart ? lastBreak : i;
            AddLine(layout, lineStart, breakAt, 0);
            lineStart = breakAt;
            x = 0;
            lastBreak = -1;
            i = breakAt;
            continue;
        }
        layout->advances[static_cast<size_t>(i)] = advance;
        x += advance;
        if (c == u' ' || c == u'\t') {
            lastBreak = i + 1;
        }
        ++i;
    }
    AddLine(layout, lineStart, end, breakLength);
}

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

void UpdateMetrics(State& state) {
    {
        Measurer measurer(state);
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(measurer.Dc(), &metrics)) {
            state.lineHeight = std::max<int>(1, metrics.tmHeight);
            state.averageWidth = std::max<int>(1, metrics.tmAveCharWidth);
        }
    }
    UpdateFormatRect(state);
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

Layout LayOut(const State& state, std::u16string_view text) {
    Layout layout;
    layout.advances.assign(text.size(), 0);
    std::vector<int> measured;
    {
        Measurer measurer(state);
        if (!state.multiLine && state.passwordChar != 0) {
            measured.assign(text.size(),
                            measurer.Advances(std::u16string_view(&state.passwordChar, 1))[0]);
        } else {
            measured = measurer.Advances(text);
        }
    }
    int length = static_cast<int>(text.size());
    if (!state.multiLine) {
        LayOutParagraph(state, text, measured, 0, length, 0, INT_MAX, &layout);
        return layout;
    }
    int width = Wraps(state) ? FormatWidth(state) : INT_MAX;
    int start = 0;
    while (true) {
        int end = start;
        while (end < length && !IsBreak(text[static_cast<size_t>(end)])) {
            ++end;
        }
        int breakLength = 0;
        if (end < length) {
            breakLength = (text[static_cast<size_t>(end)] == u'\r' && end + 1 < length &&
                           text[static_cast<size_t>(end) + 1] == u'\n')
                              ? 2
                              : 1;
        }
        LayOutParagraph(state, text, measured, start, end, breakLength, width, &layout);
        if (breakLength == 0) {
            break;
        }
        start = end + breakLength;
    }
    return layout;
}

void Relayout(State& state) {
    state.layout = LayOut(state, state.text);
    state.shown = state.text;
    for (char16_t& c : state.shown) {
        if (!state.multiLine && state.passwordChar != 0) {
            c = state.passwordChar;
        } else if (c == u'\t') {
            c = u' ';
        }
    }
    state.firstLine = std::clamp(state.firstLine, 0, MaxFirstLine(state));
    // Once the whole text fits again (after deleting, or in a wider box), it shows from
    // its start.
    if (!ScrollsSideways(state) || MaxXOffset(state) == 0) {
        state.xOffset = 0;
    } else if (state.multiLine) {
        state.xOffset = std::clamp(state.xOffset, 0, MaxXOffset(state));
    }
}

bool FitsWithoutScrolling(const State& state, std::u16string_view text) {
    Layout layout = LayOut(state, text);
    if (state.multiLine) {
        return static_cast<int>(layout.lines.size()) <= VisibleLineCount(state);
    }
    return layout.widest + kCaretWidth <= FormatWidth(state);
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
    int x = 0;
    for (int i = l.start; i < end; ++i) {
        x += state.layout.advances[static_cast<size_t>(i)];
    }
    return x;
}

int IndexAtX(const State& state, int line, int x) {
    const Line& l = state.layout.lines[static_cast<size_t>(line)];
    int position = 0;
    for (int i = l.start; i < l.start + l.length; ++i) {
        int advance = state.layout.advances[static_cast<size_t>(i)];
        if (advance > 0 && x < position + advance / 2) {
            return i;
        }
        position += advance;
    }
    return l.start + l.length;
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
