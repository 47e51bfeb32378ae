// Small icons (LVSIL_SMALL) and state images (LVSIL_STATE) left of an item's label: where
// they lie, how they are drawn, and the image lists behind them. A list without image lists
// lays out and paints exactly as before: every function here returns at once for it.
#include "controls/listview_state.h"

#include <algorithm>

namespace device::listview {
namespace {

// Space left of the first image in column 0, as the platform leaves it.
constexpr int kIconMargin = 2;

SIZE ImageSize(HIMAGELIST list) {
    SIZE size{0, 0};
    int cx = 0;
    int cy = 0;
    if (list != nullptr && ImageList_GetIconSize(list, &cx, &cy)) {
        size = SIZE{cx, cy};
    }
    return size;
}

// The small icon of an item: its own, or the parent's answer for I_IMAGECALLBACK and in a
// virtual list. -1 when there is none; the list may be gone after asking.
int ItemImage(ListView& lv, int index) {
    if (!lv.ownerData && lv.items[static_cast<size_t>(index)].image != I_IMAGECALLBACK) {
        return lv.items[static_cast<size_t>(index)].image;
    }
    NMLVDISPINFOW info{};
    info.item.mask = LVIF_IMAGE;
    info.item.iItem = index;
    info.item.iImage = I_IMAGECALLBACK;
    info.item.lParam = ItemParam(lv, index);
    HWND hwnd = lv.hwnd;
    Notify(lv, LVN_GETDISPINFOW, &info.hdr);
    if (!StillAlive(hwnd, &lv) || !IsValidItem(lv, index)) {
        return -1;
    }
    if ((info.item.mask & LVIF_DI_SETITEM) != 0 && !lv.ownerData) {
        lv.items[static_cast<size_t>(index)].image = info.item.iImage;
    }
    return info.item.iImage;
}

int TopFor(const RECT& cell, SIZE size) { return cell.top + (cell.bottom - cell.top - size.cy) / 2; }

} // namespace

bool HasItemImages(const ListView& lv) {
    return lv.imageLists[LVSIL_SMALL] != nullptr || lv.imageLists[LVSIL_STATE] != nullptr;
}

LabelParts PartsOf(const ListView& lv, int left) {
    if (!HasItemImages(lv)) {
        return LabelParts{left, left, left};
    }
    LabelParts parts{};
    parts.stateLeft = left + kIconMargin;
    parts.iconLeft = parts.stateLeft + static_cast<int>(ImageSize(lv.imageLists[LVSIL_STATE]).cx);
    parts.labelLeft = parts.iconLeft + static_cast<int>(ImageSize(lv.imageLists[LVSIL_SMALL]).cx);
    return parts;
}

int ImageRowHeight(const ListView& lv) {
    if (!HasItemImages(lv)) {
        return 0;
    }
    return static_cast<int>(std::max(ImageSize(lv.imageLists[LVSIL_SMALL]).cy, ImageSize(lv.imageLists[LVSIL_STATE]).cy)) + 1;
}

bool PaintItemImages(ListView& lv, HDC hdc, const RECT& cell, int index, bool selected) {
    if (!HasItemImages(lv)) {
        return true;
    }
    const LabelParts parts = PartsOf(lv, cell.left);
    HWND hwnd = lv.hwnd;
    HIMAGELIST state = lv.imageLists[LVSIL_STATE];
    if (state != nullptr) {
        const auto image = static_cast<int>((GetItemState(lv, index, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12);
        if (!StillAlive(hwnd, &lv) || !IsValidItem(lv, index)) {
            return false;
        }
        // State image n is the list's image n - 1; 0 shows none.
        if (image > 0) {
            ImageList_Draw(state, image - 1, hdc, parts.stateLeft, TopFor(cell, ImageSize(state)), ILD_NORMAL);
        }
    }
    HIMAGELIST small = lv.imageLists[LVSIL_SMALL];
    if (small != nullptr) {
        const int image = ItemImage(lv, index);
        if (!StillAlive(hwnd, &lv)) {
            return false;
        }
        if (image >= 0) {
            // A selected item's icon is tinted with the highlight while the list has the focus.
            ImageList_Draw(small, image, hdc, parts.iconLeft, TopFor(cell, ImageSize(small)),
                           selected && lv.hasFocus ? ILD_SELECTED : ILD_NORMAL);
        }
    }
    return true;
}

LRESULT SetImageList(ListView& lv, WPARAM type, LPARAM list) {
    if (type > LVSIL_STATE) {
        return 0;
    }
    HIMAGELIST previous = lv.imageLists[type];
    lv.imageLists[type] = reinterpret_cast<HIMAGELIST>(list);
    if (type == LVSIL_STATE && previous == lv.checkBoxList) {
        lv.checkBoxList = nullptr; // handed back: the caller owns it now
    }
    // Rows grow to hold the images, and the labels move right of them.
    if (type != LVSIL_NORMAL && previous != lv.imageLists[type] && !lv.destroying) {
        UpdateMetrics(lv);
        UpdateLayout(lv);
        InvalidateAll(lv);
    }
    return reinterpret_cast<LRESULT>(previous);
}

void SetCheckBoxList(ListView& lv, HIMAGELIST made) {
    HIMAGELIST previous = lv.imageLists[LVSIL_STATE];
    HIMAGELIST own = lv.checkBoxList;
    SetImageList(lv, LVSIL_STATE, reinterpret_cast<LPARAM>(made));
    lv.checkBoxList = made;
    // The list the boxes replace goes unless the program shares it; the boxes' own list
    // always goes with them.
    if (previous != nullptr && (previous == own || (StyleOf(lv) & LVS_SHAREIMAGELISTS) == 0)) {
        ImageList_Destroy(previous);
    }
}

void ReleaseImageLists(ListView& lv, DWORD style) {
    if (lv.checkBoxList != nullptr) {
        ImageList_Destroy(lv.checkBoxList);
    }
    if ((style & LVS_SHAREIMAGELISTS) == 0) {
        for (HIMAGELIST list : lv.imageLists) {
            if (list != nullptr && list != lv.checkBoxList) {
                ImageList_Destroy(list);
            }
        }
    }
    lv.checkBoxList = nullptr;
    std::fill(std::begin(lv.imageLists), std::end(lv.imageLists), nullptr);
}

} // namespace device::listview
