// Painting the list view: the visible rows only (the first one comes from the scroll
// position), their cells with ellipsis, the selection, grid lines and the background
// below the last item.
#include "controls/listview_state.h"

#include <algorithm>

namespace device::listview {
namespace {

constexpr UINT kCellText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

// Solid brushes made once per paint, for the few colours a paint uses.
class Brushes {
public:
    Brushes() = default;
    Brushes(const Brushes&) = delete;
    Brushes& operator=(const Brushes&) = delete;
    ~Brushes() {
        for (const Entry& entry : m_entries) {
            DeleteObject(entry.brush);
        }
    }

    void Fill(HDC hdc, const RECT& rect, COLORREF color) {
        if (color == CLR_NONE || rect.left >= rect.right || rect.top >= rect.bottom) {
            return;
        }
        FillRect(hdc, &rect, BrushFor(color));
    }

private:
    struct Entry {
        COLORREF color;
        HBRUSH brush;
    };

    HBRUSH BrushFor(COLORREF color) {
        for (const Entry& entry : m_entries) {
            if (entry.color == color) {
                return entry.brush;
            }
        }
        m_entries.push_back(Entry{color, CreateSolidBrush(color)});
        return m_entries.back().brush;
    }

    std::vector<Entry> m_entries;
};

// What one paint needs to know, worked out once.
struct PaintContext {
    HDC hdc = nullptr;
    RECT client{};
    RECT paint{};
    int listTop = 0;
    bool report = false;
    bool fullRow = false;
    bool gridLines = false;
    bool showSelection = false;
    COLORREF background = CLR_NONE;
    COLORREF cellBackground = CLR_NONE;
    COLORREF text = 0;
    COLORREF selectionBackground = 0;
    COLORREF selectionText = 0;
    HGDIOBJ font = nullptr;
    LRESULT drawMode = CDRF_DODEFAULT; // the parent's answer to the prepaint stage
    Brushes brushes;
    std::u16string scratch; // a cell text the parent supplied, reused from cell to cell
};

// NM_CUSTOMDRAW to the parent for one stage; the parent may change the colours in `draw`
// and select another font into the DC. Returns the CDRF_* answer.
LRESULT CustomDraw(ListView& lv, NMLVCUSTOMDRAW& draw, DWORD stage, const RECT& rect) {
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.rc = rect;
    return Notify(lv, NM_CUSTOMDRAW, &draw.nmcd.hdr);
}

NMLVCUSTOMDRAW StartCustomDraw(const PaintContext& pc) {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdc = pc.hdc;
    draw.clrText = pc.text;
    draw.clrTextBk = pc.cellBackground;
    return draw;
}

UINT Alignment(const ListView& lv, int column) {
    if (column == 0) {
        return DT_LEFT;
    }
    switch (lv.columns[static_cast<size_t>(column)].fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
    }
}

int TextWidth(HDC hdc, std::u16string_view text) {
    SIZE size{};
    GetTextExtentPoint32W(hdc, text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
}

void DrawCellText(PaintContext& pc, std::u16string_view text, RECT cell, UINT align, COLORREF color) {
    if (text.empty()) {
        return;
    }
    cell.left += kTextPadding;
    cell.right -= kTextPadding;
    if (cell.right <= cell.left) {
        return;
    }
    SetTextColor(pc.hdc, color);
    DrawTextW(pc.hdc, text.data(), static_cast<int>(text.size()), &cell, kCellText | align);
}

// Column 0's label, or the only cell of the views without columns: highlighted as far as
// its text reaches unless the whole row is.
RECT LabelHighlight(PaintContext& pc, std::u16string_view text, const RECT& cell) {
    RECT label = cell;
    label.right = std::min(cell.right, cell.left + TextWidth(pc.hdc, text) + 2 * kTextPadding);
    return label;
}

// The parent may destroy the list while it is asked about drawing.
bool StillPainting(const ListView& lv, HWND hwnd) { return IsWindow(hwnd) && !lv.destroying; }

// The colours a row is drawn in, as the parent left them for it.
struct RowColours {
    COLORREF text;
    COLORREF background;
    bool selected;
};

// A parent asked for a text may destroy the list: false then, and nothing more is drawn.
bool PaintRow(ListView& lv, PaintContext& pc, int index, const RowColours& colours) {
    HWND hwnd = lv.hwnd;
    RECT row = RowRect(lv, index);
    RECT wide{0, row.top, pc.client.right, row.bottom};
    pc.brushes.Fill(pc.hdc, wide, pc.background);
    if (colours.background != pc.background) {
        pc.brushes.Fill(pc.hdc, row, colours.background);
    }
    bool selected = colours.selected;
    if (selected && pc.fullRow) {
        pc.brushes.Fill(pc.hdc, row, pc.selectionBackground);
    }
    RECT focusRect = row;
    if (!pc.report) {
        RECT cell{0, row.top, pc.client.right, row.bottom};
        const std::u16string_view label = CellText(lv, index, 0, pc.scratch);
        if (!StillPainting(lv, hwnd)) {
            return false;
        }
        if (!PaintItemImages(lv, pc.hdc, cell, index, selected)) {
            return false;
        }
        cell.left = PartsOf(lv, cell.left).labelLeft;
        focusRect = LabelHighlight(pc, label, cell);
        if (selected) {
            pc.brushes.Fill(pc.hdc, focusRect, pc.selectionBackground);
        }
        DrawCellText(pc, label, cell, DT_LEFT, selected ? pc.selectionText : colours.text);
    } else {
        int x = row.left;
        for (size_t column = 0; column < lv.columns.size(); ++column) {
            int width = lv.columns[column].width;
            RECT cell{x, row.top, x + width, row.bottom};
            x += width;
            if (cell.right <= pc.paint.left || cell.left >= pc.paint.right) {
                continue;
            }
            const std::u16string_view text = CellText(lv, index, static_cast<int>(column), pc.scratch);
            if (!StillPainting(lv, hwnd) || !IsValidItem(lv, index)) {
                return false;
            }
            bool highlighted = selected && (pc.fullRow || column == 0);
            if (column == 0 && HasItemImages(lv)) {
                if (!PaintItemImages(lv, pc.hdc, cell, index, selected)) {
                    return false;
                }
                cell.left = std::min(cell.right, PartsOf(lv, cell.left).labelLeft);
            }
            if (column == 0 && !pc.fullRow) {
                focusRect = LabelHighlight(pc, text, cell);
                if (selected) {
                    pc.brushes.Fill(pc.hdc, focusRect, pc.selectionBackground);
                }
            }
            DrawCellText(pc, text, cell, Alignment(lv, static_cast<int>(column)),
                         highlighted ? pc.selectionText : colours.text);
        }
    }
    if (lv.hasFocus && index == lv.focusedItem) {
        DrawFocusRect(pc.hdc, &focusRect);
    }
    return true;
}

// Lines under every row (the empty rows below the last item too) and at the right edge of
// every column, down to the bottom of the client area.
void PaintGridLines(ListView& lv, PaintContext& pc) {
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
    HGDIOBJ previous = SelectObject(pc.hdc, pen);
    int right = TotalColumnWidth(lv) - lv.scrollX;
    int rowHeight = std::max(lv.rowHeight, 1);
    int firstLine = std::max(0, (static_cast<int>(pc.paint.top) - pc.listTop) / rowHeight);
    int bottom = std::min(pc.client.bottom, pc.paint.bottom);
    for (int y = pc.listTop + (firstLine + 1) * rowHeight - 1; y < bottom; y += rowHeight) {
        MoveToEx(pc.hdc, -lv.scrollX, y, nullptr);
        LineTo(pc.hdc, right, y);
    }
    int x = -lv.scrollX;
    for (const Column& column : lv.columns) {
        x += column.width;
        MoveToEx(pc.hdc, x - 1, pc.listTop, nullptr);
        LineTo(pc.hdc, x - 1, pc.client.bottom);
    }
    SelectObject(pc.hdc, previous);
    DeleteObject(pen);
}


// One row, with the item stages of custom draw around it when the parent asked for them:
// it may change the row's colours, its font (CDRF_NEWFONT), whether it shows as selected
// (by clearing CDIS_SELECTED), or draw the row itself (CDRF_SKIPDEFAULT).
void PaintItem(ListView& lv, PaintContext& pc, int index) {
    RowColours colours{pc.text, pc.cellBackground, pc.showSelection && (ItemState(lv, index) & LVIS_SELECTED) != 0};
    if ((pc.drawMode & CDRF_NOTIFYITEMDRAW) == 0) {
        PaintRow(lv, pc, index, colours);
        return;
    }
    HWND hwnd = lv.hwnd;
    NMLVCUSTOMDRAW draw = StartCustomDraw(pc);
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
    draw.nmcd.lItemlParam = ItemParam(lv, index);
    draw.nmcd.uItemState = (colours.selected ? CDIS_SELECTED : 0) |
                           (lv.hasFocus && index == lv.focusedItem ? CDIS_FOCUS : 0);
    RECT row = RowRect(lv, index);
    LRESULT answer = CustomDraw(lv, draw, CDDS_ITEMPREPAINT, row);
    if (!StillPainting(lv, hwnd) || !IsValidItem(lv, index)) {
        return;
    }
    if ((answer & CDRF_NEWFONT) == 0) {
        SelectObject(pc.hdc, pc.font);
    }
    if ((answer & CDRF_SKIPDEFAULT) == 0) {
        colours = RowColours{draw.clrText, draw.clrTextBk, (draw.nmcd.uItemState & CDIS_SELECTED) != 0};
        if (!PaintRow(lv, pc, index, colours)) {
            return;
        }
    }
    if ((answer & CDRF_NOTIFYPOSTPAINT) != 0) {
        CustomDraw(lv, draw, CDDS_ITEMPOSTPAINT, row);
        if (!StillPainting(lv, hwnd)) {
            return;
        }
    }
    SelectObject(pc.hdc, pc.font);
}

void PaintRows(ListView& lv, PaintContext& pc, const RECT& paint) {
    HWND hwnd = lv.hwnd;
    int rowHeight = std::max(lv.rowHeight, 1);
    int first = lv.topIndex + std::max(0, (static_cast<int>(paint.top) - pc.listTop) / rowHeight);
    int last = lv.topIndex + (static_cast<int>(paint.bottom) - pc.listTop - 1) / rowHeight;
    // A virtual list's parent hears which rows are coming first, so it can fetch them at once.
    HintCache(lv, first, std::min(last, ItemCount(lv) - 1));
    if (!StillPainting(lv, hwnd)) {
        return;
    }
    for (int index = first; index <= last && index < ItemCount(lv); ++index) {
        PaintItem(lv, pc, index);
        if (!StillPainting(lv, hwnd)) {
            return;
        }
    }
    int count = ItemCount(lv);
    int belowItems = pc.listTop + std::max(0, count - lv.topIndex) * rowHeight;
    pc.brushes.Fill(pc.hdc, RECT{0, std::max(belowItems, pc.listTop), pc.client.right, pc.client.bottom},
                    pc.background);
    if (pc.gridLines) {
        PaintGridLines(lv, pc);
    }
}

void PaintList(ListView& lv, HDC hdc, const RECT& paint) {
    PaintContext pc;
    pc.hdc = hdc;
    GetClientRect(lv.hwnd, &pc.client);
    pc.paint = paint;
    pc.listTop = ListTop(lv);
    pc.report = IsReportView(lv);
    pc.fullRow = pc.report && (lv.extendedStyle & LVS_EX_FULLROWSELECT) != 0;
    pc.gridLines = pc.report && (lv.extendedStyle & LVS_EX_GRIDLINES) != 0;
    pc.showSelection = lv.hasFocus || (StyleOf(lv) & LVS_SHOWSELALWAYS) != 0;
    pc.background = lv.bkColor;
    pc.cellBackground = lv.textBkColor == CLR_DEFAULT ? lv.bkColor : lv.textBkColor;
    pc.text = !IsWindowEnabled(lv.hwnd)        ? GetSysColor(COLOR_GRAYTEXT)
              : lv.textColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT)
                                            : lv.textColor;
    pc.selectionBackground = GetSysColor(lv.hasFocus ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    pc.selectionText = GetSysColor(lv.hasFocus ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);

    pc.font = lv.font != nullptr ? lv.font : GetStockObject(SYSTEM_FONT);
    HGDIOBJ previousFont = SelectObject(hdc, pc.font);
    SetBkMode(hdc, TRANSPARENT);
    HWND hwnd = lv.hwnd;
    NMLVCUSTOMDRAW draw = StartCustomDraw(pc);
    pc.drawMode = CustomDraw(lv, draw, CDDS_PREPAINT, pc.client);
    if (!StillPainting(lv, hwnd)) {
        return;
    }
    if ((pc.drawMode & CDRF_SKIPDEFAULT) == 0) {
        pc.text = draw.clrText;
        pc.cellBackground = draw.clrTextBk;
        PaintRows(lv, pc, paint);
        if (!StillPainting(lv, hwnd)) {
            return;
        }
    }
    if ((pc.drawMode & CDRF_NOTIFYPOSTPAINT) != 0) {
        NMLVCUSTOMDRAW post = StartCustomDraw(pc);
        CustomDraw(lv, post, CDDS_POSTPAINT, pc.client);
        if (!StillPainting(lv, hwnd)) {
            return;
        }
    }
    SelectObject(hdc, previousFont);
}

} // namespace

LRESULT OnPaint(ListView& lv) {
    // The header is brought up to date inside the list's own paint, not from the queue.
    if (lv.header != nullptr) {
        HWND hwnd = lv.hwnd;
        UpdateWindow(lv.header);
        if (!StillPainting(lv, hwnd)) {
            return 0;
        }
    }
    PAINTSTRUCT ps{};
    HDC hdc = BeginPaint(lv.hwnd, &ps);
    if (hdc != nullptr && !lv.destroying) {
        PaintList(lv, hdc, ps.rcPaint);
    }
    EndPaint(lv.hwnd, &ps);
    return 0;
}

// A transparent background (CLR_NONE) leaves whatever is beneath.
LRESULT OnEraseBackground(ListView& lv, HDC hdc) {
    if (lv.bkColor == CLR_NONE || hdc == nullptr) {
        return 0;
    }
    RECT client{};
    GetClientRect(lv.hwnd, &client);
    HBRUSH brush = CreateSolidBrush(lv.bkColor);
    FillRect(hdc, &client, brush);
    DeleteObject(brush);
    return 1;
}

} // namespace device::listview
