// Check boxes (LVS_EX_CHECKBOXES): the state image of every item is 1 (clear) or 2 (checked),
// drawn as a check box left of the label; a tap on the box or SPACE on the focused item
// toggles it, announced as a state change (LVN_ITEMCHANGING, LVN_ITEMCHANGED).
#include "controls/listview_state.h"

#include <algorithm>

namespace device::listview {
namespace {

constexpr UINT kClear = 1;
constexpr UINT kChecked = 2;
// Space on each side of the box.
constexpr int kBoxMargin = 2;

int BoxSize(const ListView& lv) { return std::clamp(lv.rowHeight - 2 * kBoxMargin, 0, 13); }

} // namespace

bool HasCheckBoxes(const ListView& lv) { return (lv.extendedStyle & LVS_EX_CHECKBOXES) != 0 && !lv.ownerData; }

int StateIconWidth(const ListView& lv) { return HasCheckBoxes(lv) ? BoxSize(lv) + 2 * kBoxMargin : 0; }

void PaintStateIcon(const ListView& lv, HDC hdc, const RECT& cell, UINT state) {
    UINT image = (state & LVIS_STATEIMAGEMASK) >> 12;
    int size = BoxSize(lv);
    if (!HasCheckBoxes(lv) || image == 0 || size <= 0 || cell.right - cell.left < size + kBoxMargin) {
        return;
    }
    int top = cell.top + (cell.bottom - cell.top - size) / 2;
    RECT box{cell.left + kBoxMargin, top, cell.left + kBoxMargin + size, top + size};
    DrawFrameControl(hdc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (image == kChecked ? DFCS_CHECKED : 0));
}

// Every item starts clear, each announced, as when a program sets the state of item -1.
void CheckBoxesTurnedOn(ListView& lv) {
    if (!HasCheckBoxes(lv)) {
        return;
    }
    HWND hwnd = lv.hwnd;
    for (int i = 0; i < ItemCount(lv); ++i) {
        if (!ChangeItemState(lv, i, INDEXTOSTATEIMAGEMASK(kClear), LVIS_STATEIMAGEMASK) && !StillAlive(hwnd, &lv)) {
            return;
        }
    }
}

UINT InsertedStateImage(const ListView& lv, UINT state) {
    return HasCheckBoxes(lv) ? (state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(kClear) : state;
}

bool ToggleCheckBox(ListView& lv, int index) {
    if (!HasCheckBoxes(lv) || !IsValidItem(lv, index)) {
        return false;
    }
    UINT image = (ItemState(lv, index) & LVIS_STATEIMAGEMASK) >> 12;
    return ChangeItemState(lv, index, INDEXTOSTATEIMAGEMASK(image == kChecked ? kClear : kChecked),
                           LVIS_STATEIMAGEMASK);
}

} // namespace device::listview
