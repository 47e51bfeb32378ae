// The list view's geometry: font metrics, where the header and the rows lie, the window's
// own scroll bars (rows vertically, pixels horizontally) and which rows need redrawing.
#include "controls/listview_state.h"

#include "paint/update_region.h"
#include "window/geometry.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <algorithm>

namespace device::listview {
namespace {

// Read from the window record: asked several times for every row added.
RECT ClientRect(const ListView& lv) {
    const Window* window = LookUp(lv.hwnd);
    if (window == nullptr) {
        return RECT{};
    }
    return RECT{0, 0, Width(window->clientRect), Height(window->clientRect)};
}

// Rows that show at least in part.
int VisibleRowCount(const ListView& lv) {
    if (lv.rowHeight <= 0) {
        return 0;
    }
    int height = static_cast<int>(ClientRect(lv).bottom) - ListTop(lv);
    return lv.rowHeight > 0 && height > 0 ? (height + lv.rowHeight - 1) / lv.rowHeight : 0;
}

bool RowShows(const ListView& lv, int index) {
    return index >= lv.topIndex && index < lv.topIndex + VisibleRowCount(lv);
}

int MaxTopIndex(const ListView& lv) {
    return std::max(0, ItemCount(lv) - std::max(CountPerPage(lv), 1));
}

int MaxScrollX(const ListView& lv) {
    int total = IsReportView(lv) ? TotalColumnWidth(lv) : 0;
    return std::max(0, total - static_cast<int>(ClientRect(lv).right));
}

// The header spans the client width plus what is scrolled away to the left, so that it
// moves with the columns.
void PlaceHeader(ListView& lv) {
    if (lv.header == nullptr) {
        return;
    }
    if (!HeaderShown(lv)) {
        if (IsWindowVisible(lv.header)) {
            ShowWindow(lv.header, SW_HIDE);
        }
        lv.headerHeight = 0;
        return;
    }
    RECT area = ClientRect(lv);
    area.left -= lv.scrollX;
    WINDOWPOS pos{};
    HDLAYOUT layout{&area, &pos};
    SendMessageW(lv.header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    lv.headerHeight = pos.cy;
    SetWindowPos(lv.header, nullptr, pos.x, pos.y, pos.cx, pos.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// Sets a bar only when something in it changes, and has the frame redrawn with the next
// paint rather than at once: a list filled with 100,000 rows changes its bar 100,000
// times between two paints, and only the last state is ever seen.
void SetBar(ListView& lv, int bar, const SCROLLINFO& info) {
    Window* window = LookUp(lv.hwnd);
    if (window == nullptr) {
        return;
    }
    const std::optional<ScrollBarState>& state = bar == SB_VERT ? window->vertScroll : window->horzScroll;
    if (state.has_value() &&
        ((info.fMask & SIF_RANGE) == 0 || (state->min == info.nMin && state->max == info.nMax)) &&
        ((info.fMask & SIF_PAGE) == 0 || state->page == info.nPage) &&
        ((info.fMask & SIF_POS) == 0 || state->pos == info.nPos)) {
        return;
    }
    const DWORD styleBefore = window->style;
    SetScrollInfo(lv.hwnd, bar, &info, FALSE);
    window = LookUp(lv.hwnd);
    if (window != nullptr && window->style == styleBefore) {
        InvalidateFrame(window); // a bar shown or hidden redraws the whole frame by itself
    }
}

void InvalidateRows(const ListView& lv) {
    RECT rows = ClientRect(lv);
    rows.top = ListTop(lv);
    InvalidateRect(lv.hwnd, &rows, FALSE);
}

} // namespace

void UpdateMetrics(ListView& lv) {
    HDC hdc = GetDC(lv.hwnd);
    HGDIOBJ previous = SelectObject(hdc, lv.font != nullptr ? lv.font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(hdc, &metrics);
    SelectObject(hdc, previous);
    ReleaseDC(lv.hwnd, hdc);
    lv.fontHeight = metrics.tmHeight;
    lv.rowHeight = std::max(static_cast<int>(metrics.tmHeight) + kRowExtra, ImageRowHeight(lv));
}

int ListTop(const ListView& lv) { return HeaderShown(lv) ? lv.headerHeight : 0; }

int CountPerPage(const ListView& lv) {
    int height = static_cast<int>(ClientRect(lv).bottom) - ListTop(lv);
    return lv.rowHeight > 0 ? std::max(0, height / lv.rowHeight) : 0;
}

void UpdateLayout(ListView& lv) {
    if (lv.destroying) {
        return;
    }
    PlaceHeader(lv);
    UpdateScrollBars(lv);
    PlaceHeader(lv);
}

// Showing or hiding a bar changes the client area (and sends WM_SIZE, which lands here
// again): repeat until the sizes settle, which takes at most one more round per bar.
void UpdateScrollBars(ListView& lv) {
    if (lv.destroying || lv.updatingScrollBars) {
        return;
    }
    lv.updatingScrollBars = true;
    bool noScroll = (StyleOf(lv) & LVS_NOSCROLL) != 0;
    const bool report = IsReportView(lv);
    for (int round = 0; round < 3; ++round) {
        // Asked once for the round: this runs for every row added.
        const RECT before = ClientRect(lv);
        const int count = ItemCount(lv);
        const int perPage = lv.rowHeight > 0 ? std::max(0, static_cast<int>(before.bottom) - ListTop(lv)) / lv.rowHeight : 0;
        const int total = report ? TotalColumnWidth(lv) : 0;
        lv.topIndex = std::clamp(lv.topIndex, 0, noScroll ? 0 : std::max(0, count - std::max(perPage, 1)));
        lv.scrollX = std::clamp(lv.scrollX, 0, noScroll ? 0 : std::max(0, total - static_cast<int>(before.right)));
        if (noScroll) {
            ShowScrollBar(lv.hwnd, SB_BOTH, FALSE);
        } else {
            SCROLLINFO vertical{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(count - 1, 0),
                                static_cast<UINT>(perPage), lv.topIndex, 0};
            SetBar(lv, SB_VERT, vertical);
            SCROLLINFO horizontal{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(total - 1, 0),
                                  static_cast<UINT>(std::max<LONG>(ClientRect(lv).right, 0)), lv.scrollX, 0};
            SetBar(lv, SB_HORZ, horizontal);
        }
        if (!IsWindow(lv.hwnd)) {
            return;
        }
        RECT after = ClientRect(lv);
        if (after.right == before.right && after.bottom == before.bottom) {
            break;
        }
    }
    lv.updatingScrollBars = false;
}

void ScrollToTop(ListView& lv, int topIndex) {
    if ((StyleOf(lv) & LVS_NOSCROLL) != 0) {
        return;
    }
    topIndex = std::clamp(topIndex, 0, MaxTopIndex(lv));
    if (topIndex == lv.topIndex) {
        return;
    }
    lv.topIndex = topIndex;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, topIndex, 0};
    SetBar(lv, SB_VERT, info);
    InvalidateRows(lv);
}

void ScrollToX(ListView& lv, int scrollX) {
    if ((StyleOf(lv) & LVS_NOSCROLL) != 0) {
        return;
    }
    scrollX = std::clamp(scrollX, 0, MaxScrollX(lv));
    if (scrollX == lv.scrollX) {
        return;
    }
    lv.scrollX = scrollX;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, scrollX, 0};
    SetBar(lv, SB_HORZ, info);
    PlaceHeader(lv);
    InvalidateRows(lv);
}

namespace {

// While the stylus drags the thumb the bar holds the position in full (SIF_TRACKPOS); a
// row number above 65,535 does not fit in HIWORD(wParam). A program sending the message
// itself has only HIWORD(wParam).
int ThumbPosition(const ListView& lv, int bar, WORD given) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(lv.hwnd, bar, &info);
    return static_cast<WORD>(info.nTrackPos) == given ? info.nTrackPos : given;
}

} // namespace

LRESULT OnVScroll(ListView& lv, WORD code, WORD position) {
    int page = std::max(CountPerPage(lv), 1);
    switch (code) {
    case SB_LINEUP: ScrollToTop(lv, lv.topIndex - 1); break;
    case SB_LINEDOWN: ScrollToTop(lv, lv.topIndex + 1); break;
    case SB_PAGEUP: ScrollToTop(lv, lv.topIndex - page); break;
    case SB_PAGEDOWN: ScrollToTop(lv, lv.topIndex + page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollToTop(lv, ThumbPosition(lv, SB_VERT, position)); break;
    case SB_TOP: ScrollToTop(lv, 0); break;
    case SB_BOTTOM: ScrollToTop(lv, ItemCount(lv)); break;
    default: break;
    }
    return 0;
}

LRESULT OnHScroll(ListView& lv, WORD code, WORD position) {
    int page = std::max(static_cast<int>(ClientRect(lv).right), 1);
    switch (code) {
    case SB_LINELEFT: ScrollToX(lv, lv.scrollX - kLineScrollPixels); break;
    case SB_LINERIGHT: ScrollToX(lv, lv.scrollX + kLineScrollPixels); break;
    case SB_PAGELEFT: ScrollToX(lv, lv.scrollX - page); break;
    case SB_PAGERIGHT: ScrollToX(lv, lv.scrollX + page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollToX(lv, ThumbPosition(lv, SB_HORZ, position)); break;
    case SB_LEFT: ScrollToX(lv, 0); break;
    case SB_RIGHT: ScrollToX(lv, TotalColumnWidth(lv)); break;
    default: break;
    }
    return 0;
}

LRESULT EnsureVisible(ListView& lv, int index) {
    if (!IsValidItem(lv, index)) {
        return FALSE;
    }
    int page = std::max(CountPerPage(lv), 1);
    if (index < lv.topIndex) {
        ScrollToTop(lv, index);
    } else if (index >= lv.topIndex + page) {
        ScrollToTop(lv, index - page + 1);
    }
    return TRUE;
}

// Vertical amounts are pixels, rounded away from zero to whole rows.
LRESULT Scroll(ListView& lv, int dx, int dy) {
    if (lv.rowHeight > 0 && dy != 0) {
        int rows = (std::abs(dy) + lv.rowHeight - 1) / lv.rowHeight;
        ScrollToTop(lv, lv.topIndex + (dy < 0 ? -rows : rows));
    }
    if (dx != 0 && IsReportView(lv)) {
        ScrollToX(lv, lv.scrollX + dx);
    }
    return TRUE;
}

RECT RowRect(const ListView& lv, int index) {
    int top = ListTop(lv) + (index - lv.topIndex) * lv.rowHeight;
    if (IsReportView(lv)) {
        return RECT{-lv.scrollX, top, TotalColumnWidth(lv) - lv.scrollX, top + lv.rowHeight};
    }
    return RECT{0, top, ClientRect(lv).right, top + lv.rowHeight};
}

void InvalidateItem(const ListView& lv, int index) {
    if (lv.destroying || !RowShows(lv, index)) {
        return;
    }
    RECT row = RowRect(lv, index);
    row.left = 0;
    row.right = ClientRect(lv).right;
    // With erasing, as the platform invalidates an item whose state changed.
    InvalidateRect(lv.hwnd, &row, TRUE);
}

void InvalidateFrom(const ListView& lv, int index) {
    if (lv.destroying || index >= lv.topIndex + VisibleRowCount(lv)) {
        return;
    }
    RECT rows = ClientRect(lv);
    rows.top = std::max(ListTop(lv), static_cast<int>(RowRect(lv, std::max(index, lv.topIndex)).top));
    InvalidateRect(lv.hwnd, &rows, FALSE);
}

void InvalidateAll(const ListView& lv) {
    if (!lv.destroying) {
        InvalidateRect(lv.hwnd, nullptr, TRUE);
    }
}

void ItemsChangedFrom(ListView& lv, int index) {
    UpdateScrollBars(lv);
    InvalidateFrom(lv, index);
}

} // namespace device::listview
