// The list view's columns: inserting, reading, changing, fitting and deleting them, with the
// header's items following, and the sub-item texts of the items moving with their columns.
#include "controls/listview_state.h"

#include <algorithm>

namespace device::listview {
namespace {

int Alignment(int fmt) { return fmt & LVCFMT_JUSTIFYMASK; }

// A column title is the program's own text; a callback there gives an empty title.
std::u16string ColumnText(const WCHAR* text) {
    std::u16string_view given = TextFrom(text);
    return given == kCallbackText ? std::u16string() : std::u16string(given);
}

HDITEMW HeaderItemFor(const Column& column, int index) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.cxy = column.width;
    item.pszText = const_cast<WCHAR*>(column.text.c_str());
    item.fmt = HDF_STRING | (index == 0 ? HDF_LEFT : Alignment(column.fmt));
    return item;
}

void SyncHeaderItem(const ListView& lv, int index) {
    if (lv.header == nullptr) {
        return;
    }
    HDITEMW item = HeaderItemFor(lv.columns[static_cast<size_t>(index)], index);
    SendMessageW(lv.header, HDM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void ColumnsChanged(ListView& lv) {
    UpdateLayout(lv);
    InvalidateAll(lv);
}

} // namespace

int ColumnLeft(const ListView& lv, int column) {
    int left = 0;
    for (int i = 0; i < column && static_cast<size_t>(i) < lv.columns.size(); ++i) {
        left += lv.columns[static_cast<size_t>(i)].width;
    }
    return left;
}

int TotalColumnWidth(const ListView& lv) { return ColumnLeft(lv, static_cast<int>(lv.columns.size())); }

// The item's label stays with the item: a column inserted at 0 moves the sub-items from 1 on.
LRESULT InsertColumn(ListView& lv, WPARAM index, const LVCOLUMNW* column) {
    if (column == nullptr || static_cast<INT_PTR>(index) < 0) {
        return -1;
    }
    size_t at = std::min(static_cast<size_t>(index), lv.columns.size());
    Column added;
    if ((column->mask & LVCF_FMT) != 0) {
        added.fmt = at == 0 ? (column->fmt & ~LVCFMT_JUSTIFYMASK) : column->fmt;
    }
    if ((column->mask & LVCF_WIDTH) != 0) {
        added.width = std::max(column->cx, 0);
    }
    if ((column->mask & LVCF_TEXT) != 0) {
        added.text = ColumnText(column->pszText);
    }
    if ((column->mask & LVCF_IMAGE) != 0) {
        added.image = column->iImage;
    }
    added.order = (column->mask & LVCF_ORDER) != 0 ? column->iOrder : static_cast<int>(at);
    lv.columns.insert(lv.columns.begin() + static_cast<std::ptrdiff_t>(at), added);
    if (lv.columns.size() > 1) {
        // The labels stay: a column inserted at 0 shifts the sub-items from 1 on.
        const int subItem = static_cast<int>(std::max<size_t>(at, 1));
        for (Item& item : lv.items) {
            lv.texts.InsertEmpty(item.texts, subItem);
        }
    }
    if (lv.header != nullptr) {
        HDITEMW item = HeaderItemFor(added, static_cast<int>(at));
        SendMessageW(lv.header, HDM_INSERTITEMW, at, reinterpret_cast<LPARAM>(&item));
    }
    ColumnsChanged(lv);
    return static_cast<LRESULT>(at);
}

LRESULT SetColumn(ListView& lv, WPARAM index, const LVCOLUMNW* column) {
    if (column == nullptr || index >= lv.columns.size()) {
        return FALSE;
    }
    Column& target = lv.columns[index];
    if ((column->mask & LVCF_FMT) != 0) {
        target.fmt = index == 0 ? (column->fmt & ~LVCFMT_JUSTIFYMASK) : column->fmt;
    }
    if ((column->mask & LVCF_WIDTH) != 0) {
        target.width = std::max(column->cx, 0);
    }
    if ((column->mask & LVCF_TEXT) != 0) {
        target.text = ColumnText(column->pszText);
    }
    if ((column->mask & LVCF_IMAGE) != 0) {
        target.image = column->iImage;
    }
    if ((column->mask & LVCF_ORDER) != 0) {
        target.order = column->iOrder;
    }
    SyncHeaderItem(lv, static_cast<int>(index));
    ColumnsChanged(lv);
    return TRUE;
}

LRESULT GetColumn(const ListView& lv, WPARAM index, LVCOLUMNW* column) {
    if (column == nullptr || index >= lv.columns.size()) {
        return FALSE;
    }
    const Column& source = lv.columns[index];
    if ((column->mask & LVCF_FMT) != 0) {
        column->fmt = source.fmt;
    }
    if ((column->mask & LVCF_WIDTH) != 0) {
        column->cx = source.width;
    }
    if ((column->mask & LVCF_TEXT) != 0) {
        CopyText(source.text, column->pszText, column->cchTextMax);
    }
    if ((column->mask & LVCF_SUBITEM) != 0) {
        column->iSubItem = static_cast<int>(index);
    }
    if ((column->mask & LVCF_IMAGE) != 0) {
        column->iImage = source.image;
    }
    if ((column->mask & LVCF_ORDER) != 0) {
        column->iOrder = source.order;
    }
    return TRUE;
}

// Mirrors InsertColumn: deleting column 0 keeps the labels and drops sub-item 1.
LRESULT DeleteColumn(ListView& lv, WPARAM index) {
    if (index >= lv.columns.size()) {
        return FALSE;
    }
    lv.columns.erase(lv.columns.begin() + static_cast<std::ptrdiff_t>(index));
    // The label stays with its item: deleting column 0 takes sub-item 1 with it.
    const int subItem = static_cast<int>(std::max<size_t>(index, 1));
    for (Item& item : lv.items) {
        lv.texts.Remove(item.texts, subItem);
    }
    if (!lv.columns.empty()) {
        lv.columns[0].fmt &= ~LVCFMT_JUSTIFYMASK;
    }
    if (lv.header != nullptr) {
        SendMessageW(lv.header, HDM_DELETEITEM, index, 0);
        if (index == 0 && !lv.columns.empty()) {
            SyncHeaderItem(lv, 0);
        }
    }
    ColumnsChanged(lv);
    return TRUE;
}

LRESULT SetColumnWidth(ListView& lv, WPARAM index, int width) {
    if (index >= lv.columns.size()) {
        return FALSE;
    }
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
        bool useHeader = width == LVSCW_AUTOSIZE_USEHEADER;
        HDC hdc = GetDC(lv.hwnd);
        HGDIOBJ previous = SelectObject(hdc, lv.font != nullptr ? lv.font : GetStockObject(SYSTEM_FONT));
        int widest = 0;
        auto measure = [&](std::u16string_view text) {
            SIZE size{};
            GetTextExtentPoint32W(hdc, text.data(), static_cast<int>(text.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        };
        // The rows of a virtual list are the parent's: only the title is measured.
        for (const Item& item : lv.items) {
            std::u16string_view text = SubItemText(lv, item, static_cast<int>(index));
            measure(text == kCallbackText ? std::u16string_view() : text);
        }
        if (useHeader) {
            measure(lv.columns[index].text);
        }
        SelectObject(hdc, previous);
        ReleaseDC(lv.hwnd, hdc);
        width = widest + 2 * kTextPadding;
        // With the header's text, the last column also takes what is left of the width.
        if (useHeader && index + 1 == lv.columns.size()) {
            RECT client{};
            GetClientRect(lv.hwnd, &client);
            width = std::max(width, static_cast<int>(client.right) - ColumnLeft(lv, static_cast<int>(index)));
        }
    }
    lv.columns[index].width = std::max(width, 0);
    SyncHeaderItem(lv, static_cast<int>(index));
    ColumnsChanged(lv);
    return TRUE;
}

} // namespace device::listview
