// The list view under the stylus and the keys: hit testing, taps selecting a row, double
// taps activating it, the arrow and page keys moving focus and selection, and the focus
// notifications.
#include "controls/listview_state.h"

#include <algorithm>

namespace device::listview {
namespace {

bool IsValid(const ListView& lv, int index) { return IsValidItem(lv, index); }

bool IsSelected(const ListView& lv, int index) {
    return IsValid(lv, index) && (ItemState(lv, index) & LVIS_SELECTED) != 0;
}

int ColumnAt(const ListView& lv, int x) {
    int left = 0;
    for (size_t column = 0; column < lv.columns.size(); ++column) {
        int right = left + lv.columns[column].width;
        if (x >= left && x < right) {
            return static_cast<int>(column);
        }
        left = right;
    }
    return -1;
}

// Keys and taps with CTRL toggle one item in a multiple-selection list; everything else
// selects just the one item.
bool SelectByUser(ListView& lv, int index, bool toggle) {
    if (!toggle || (StyleOf(lv) & LVS_SINGLESEL) != 0) {
        return SelectOnly(lv, index);
    }
    HWND hwnd = lv.hwnd;
    lv.selectionMark = index;
    UINT selected = IsSelected(lv, index) ? 0 : LVIS_SELECTED;
    if (!ChangeItemState(lv, index, selected, LVIS_SELECTED) && !StillAlive(hwnd, &lv)) {
        return false;
    }
    return ChangeItemState(lv, index, LVIS_FOCUSED, LVIS_FOCUSED);
}

// Where PAGE UP and PAGE DOWN take the focus: to the edge of the page first, then a page on.
int PageTarget(const ListView& lv, int current, bool down) {
    int page = std::max(CountPerPage(lv), 1);
    int top = lv.topIndex;
    int bottom = top + page - 1;
    if (down) {
        return current >= top && current < bottom ? bottom : current + page - 1;
    }
    return current > top && current <= bottom ? top : current - (page - 1);
}

} // namespace

// Without LVS_EX_FULLROWSELECT only column 0 hits in report view; LVM_SUBITEMHITTEST
// answers for every column.
LRESULT HitTest(const ListView& lv, LVHITTESTINFO* info, bool subItems) {
    if (info == nullptr) {
        return -1;
    }
    POINT point = info->pt;
    info->flags = LVHT_NOWHERE;
    info->iItem = -1;
    info->iSubItem = 0;
    RECT client{};
    GetClientRect(lv.hwnd, &client);
    int top = ListTop(lv);
    if (point.y < 0) {
        info->flags = LVHT_ABOVE;
        return -1;
    }
    if (point.y >= client.bottom) {
        info->flags = LVHT_BELOW;
        return -1;
    }
    if (point.y < top || lv.rowHeight <= 0) {
        return -1;
    }
    int row = lv.topIndex + (point.y - top) / lv.rowHeight;
    if (!IsValid(lv, row)) {
        return -1;
    }
    int column = 0;
    if (IsReportView(lv)) {
        column = ColumnAt(lv, point.x + lv.scrollX);
        if (column < 0) {
            info->flags = point.x < 0 ? LVHT_TOLEFT : LVHT_NOWHERE;
            return -1;
        }
        bool fullRow = (lv.extendedStyle & LVS_EX_FULLROWSELECT) != 0;
        if (column != 0 && !fullRow && !subItems) {
            return -1;
        }
    } else if (point.x < 0 || point.x >= client.right) {
        return -1;
    }
    info->flags = LVHT_ONITEMLABEL;
    const LabelParts parts = PartsOf(lv, IsReportView(lv) ? ColumnLeft(lv, 0) - lv.scrollX : 0);
    if (column == 0 && lv.imageLists[LVSIL_STATE] != nullptr && point.x < parts.iconLeft) {
        info->flags = LVHT_ONITEMSTATEICON;
    } else if (column == 0 && lv.imageLists[LVSIL_SMALL] != nullptr && point.x < parts.labelLeft) {
        info->flags = LVHT_ONITEMICON;
    }
    info->iItem = row;
    info->iSubItem = subItems ? column : 0;
    return row;
}

LRESULT GetItemRect(const ListView& lv, int index, RECT* rect) {
    if (rect == nullptr || !IsValid(lv, index)) {
        return FALSE;
    }
    int part = rect->left;
    RECT row = RowRect(lv, index);
    RECT label = row;
    if (IsReportView(lv)) {
        label.right = row.left + (lv.columns.empty() ? 0 : lv.columns[0].width);
    }
    const LabelParts parts = PartsOf(lv, row.left);
    label.left = std::min(parts.labelLeft, static_cast<int>(label.right));
    switch (part) {
    case LVIR_BOUNDS: *rect = row; break;
    case LVIR_ICON: *rect = RECT{parts.iconLeft, row.top, label.left, row.bottom}; break;
    case LVIR_LABEL: *rect = label; break;
    case LVIR_SELECTBOUNDS:
        *rect = IsReportView(lv) && (lv.extendedStyle & LVS_EX_FULLROWSELECT) != 0 ? row : label;
        break;
    default: return FALSE;
    }
    return TRUE;
}

// Sub-item 0 with LVIR_BOUNDS is the whole row, as on the platform; otherwise the cell of the
// column, its icon part as wide as a small icon (nothing without a small image list) and its
// label the rest. Report view only.
LRESULT GetSubItemRect(const ListView& lv, int index, RECT* rect) {
    if (rect == nullptr || !IsValid(lv, index) || !IsReportView(lv)) {
        return FALSE;
    }
    int subItem = rect->top;
    int part = rect->left;
    if (subItem < 0 || static_cast<size_t>(subItem) >= std::max<size_t>(lv.columns.size(), 1)) {
        return FALSE;
    }
    if (part != LVIR_BOUNDS && part != LVIR_ICON && part != LVIR_LABEL) {
        return FALSE;
    }
    RECT row = RowRect(lv, index);
    if (subItem == 0 && part == LVIR_BOUNDS) {
        *rect = row;
        return TRUE;
    }
    int left = ColumnLeft(lv, subItem) - lv.scrollX;
    int width = lv.columns.empty() ? 0 : lv.columns[static_cast<size_t>(subItem)].width;
    RECT cell{left, row.top, left + width, row.bottom};
    int iconWidth = 0;
    int iconHeight = 0;
    if (lv.imageLists[LVSIL_SMALL] != nullptr) {
        ImageList_GetIconSize(lv.imageLists[LVSIL_SMALL], &iconWidth, &iconHeight);
    }
    // Column 0's icon comes after the state image.
    if (subItem == 0) {
        const LabelParts parts = PartsOf(lv, cell.left);
        cell.left = std::min(parts.iconLeft, static_cast<int>(cell.right));
        iconWidth = parts.labelLeft - parts.iconLeft;
    }
    int iconRight = std::min(cell.left + iconWidth, cell.right);
    switch (part) {
    case LVIR_ICON: *rect = RECT{cell.left, cell.top, iconRight, cell.bottom}; break;
    case LVIR_LABEL: *rect = RECT{iconRight, cell.top, cell.right, cell.bottom}; break;
    default: *rect = cell; break;
    }
    return TRUE;
}

// The top-left corner of the item, in client coordinates.
LRESULT GetItemPosition(const ListView& lv, int index, POINT* position) {
    if (position == nullptr || !IsValid(lv, index)) {
        return FALSE;
    }
    RECT row = RowRect(lv, index);
    *position = POINT{row.left, row.top};
    return TRUE;
}

// A tap: NM_RELEASEDCAPTURE, the selection pairs, then the focus (NM_SETFOCUS); NM_CLICK
// waits for the stylus to come up. Wine orders it so; whether a real device sends
// NM_SETFOCUS before the selection pairs is not known, and no caller of ours depends on it.
LRESULT OnLButtonDown(ListView& lv, WPARAM keys, POINT point) {
    HWND hwnd = lv.hwnd;
    NotifyPlain(lv, NM_RELEASEDCAPTURE);
    if (!StillAlive(hwnd, &lv)) {
        return 0;
    }
    LVHITTESTINFO hit{point, 0, -1, 0};
    HitTest(lv, &hit, false);
    LVHITTESTINFO subHit{point, 0, -1, 0};
    HitTest(lv, &subHit, true);
    if (hit.iItem >= 0 && hit.flags == LVHT_ONITEMSTATEICON && HasCheckBoxes(lv)) {
        // A tap on the box only toggles it.
        ToggleCheckBox(lv, hit.iItem);
        return 0;
    }
    if (hit.iItem >= 0) {
        SelectByUser(lv, hit.iItem, (keys & MK_CONTROL) != 0);
    } else {
        SelectOnly(lv, -1);
    }
    if (!StillAlive(hwnd, &lv)) {
        return 0;
    }
    if (hit.iItem >= 0) {
        EnsureVisible(lv, hit.iItem);
    }
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
        if (!StillAlive(hwnd, &lv)) {
            return 0;
        }
    }
    lv.pressed = true;
    lv.pressItem = hit.iItem;
    lv.pressSubItem = hit.iItem >= 0 ? subHit.iSubItem : 0;
    lv.pressPoint = point;
    SetCapture(hwnd);
    return 0;
}

LRESULT OnLButtonUp(ListView& lv, POINT point) {
    (void)point;
    if (!lv.pressed) {
        return 0;
    }
    lv.pressed = false;
    HWND hwnd = lv.hwnd;
    if (GetCapture() == hwnd) {
        ReleaseCapture();
        if (!StillAlive(hwnd, &lv)) {
            return 0;
        }
    }
    NotifyActivate(lv, NM_CLICK, lv.pressItem, lv.pressSubItem, lv.pressPoint);
    return 0;
}

LRESULT OnLButtonDblClk(ListView& lv, POINT point) {
    HWND hwnd = lv.hwnd;
    LVHITTESTINFO hit{point, 0, -1, 0};
    HitTest(lv, &hit, false);
    LVHITTESTINFO subHit{point, 0, -1, 0};
    HitTest(lv, &subHit, true);
    int subItem = hit.iItem >= 0 ? subHit.iSubItem : 0;
    NotifyActivate(lv, NM_DBLCLK, hit.iItem, subItem, point);
    if (hit.iItem >= 0 && StillAlive(hwnd, &lv)) {
        NotifyActivate(lv, LVN_ITEMACTIVATE, hit.iItem, subItem, point);
    }
    return 0;
}

LRESULT OnCaptureChanged(ListView& lv) {
    lv.pressed = false;
    return 0;
}

LRESULT OnKeyDown(ListView& lv, WPARAM key) {
    HWND hwnd = lv.hwnd;
    int count = ItemCount(lv);
    int current = lv.focusedItem;
    int target = -1;
    switch (key) {
    case VK_RETURN:
        NotifyPlain(lv, NM_RETURN);
        if (StillAlive(hwnd, &lv) && IsSelected(lv, lv.focusedItem)) {
            NotifyActivate(lv, LVN_ITEMACTIVATE, lv.focusedItem, 0, POINT{0, 0});
        }
        return 0;
    case VK_SPACE:
        if (HasCheckBoxes(lv)) {
            ToggleCheckBox(lv, current);
        } else if (IsValid(lv, current)) {
            SelectByUser(lv, current, GetKeyState(VK_CONTROL) < 0);
        }
        return 0;
    case VK_UP: target = current < 0 ? 0 : current - 1; break;
    case VK_DOWN: target = current < 0 ? 0 : current + 1; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    case VK_PRIOR: target = current < 0 ? 0 : PageTarget(lv, current, false); break;
    case VK_NEXT: target = current < 0 ? 0 : PageTarget(lv, current, true); break;
    default: return 0;
    }
    if (count == 0) {
        return 0;
    }
    target = std::clamp(target, 0, count - 1);
    if (target != current || !IsSelected(lv, target)) {
        if (!SelectOnly(lv, target)) {
            return 0;
        }
    }
    if (StillAlive(hwnd, &lv)) {
        EnsureVisible(lv, target);
    }
    return 0;
}

// The selection changes colour with the focus; only the visible rows are redrawn.
LRESULT OnSetFocus(ListView& lv) {
    lv.hasFocus = true;
    HWND hwnd = lv.hwnd;
    NotifyPlain(lv, NM_SETFOCUS);
    if (StillAlive(hwnd, &lv)) {
        InvalidateFrom(lv, lv.topIndex);
    }
    return 0;
}

LRESULT OnKillFocus(ListView& lv) {
    lv.hasFocus = false;
    HWND hwnd = lv.hwnd;
    NotifyPlain(lv, NM_KILLFOCUS);
    if (StillAlive(hwnd, &lv)) {
        InvalidateFrom(lv, lv.topIndex);
    }
    return 0;
}

} // namespace device::listview
