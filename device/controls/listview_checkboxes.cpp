// Check boxes (LVS_EX_CHECKBOXES): the state image of every item is 1 (clear) or 2 (checked),
// drawn from a state image list of two check boxes that the list view makes for itself, as
// the platform does; a tap on the box or SPACE on the focused item toggles it, announced as a
// state change (LVN_ITEMCHANGING, LVN_ITEMCHANGED).
#include "controls/listview_state.h"

#include <algorithm>

namespace device::listview {
namespace {

constexpr UINT kClear = 1;
constexpr UINT kChecked = 2;
// The box drawn inside each small-icon-sized image.
constexpr int kBoxSize = 13;
// A colour no check box is drawn in: what it marks becomes transparent.
constexpr COLORREF kTransparentKey = RGB(255, 0, 255);

// The two images, clear then checked, drawn with DrawFrameControl.
HIMAGELIST MakeCheckBoxList() {
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR | ILC_MASK, 2, 2);
    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(hdc, 2 * cx, cy);
    HGDIOBJ previous = SelectObject(hdc, strip);
    HBRUSH key = CreateSolidBrush(kTransparentKey);
    RECT all{0, 0, 2 * cx, cy};
    FillRect(hdc, &all, key);
    DeleteObject(key);
    const int size = std::min({kBoxSize, cx, cy});
    for (int i = 0; i < 2; ++i) {
        RECT box{i * cx + (cx - size) / 2, (cy - size) / 2, 0, 0};
        box.right = box.left + size;
        box.bottom = box.top + size;
        DrawFrameControl(hdc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (i == 1 ? DFCS_CHECKED : 0));
    }
    SelectObject(hdc, previous);
    DeleteDC(hdc);
    ImageList_AddMasked(list, strip, kTransparentKey);
    DeleteObject(strip);
    return list;
}

} // namespace

bool HasCheckBoxes(const ListView& lv) { return (lv.extendedStyle & LVS_EX_CHECKBOXES) != 0 && !lv.ownerData; }

// Every item starts clear, each announced, as when a program sets the state of item -1.
// Then the boxes' own state list replaces the one the list had.
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
    SetCheckBoxList(lv, MakeCheckBoxList());
}

// The boxes' list goes with them; the items keep their state images.
void CheckBoxesTurnedOff(ListView& lv) {
    if (lv.checkBoxList != nullptr) {
        SetCheckBoxList(lv, nullptr);
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
