// The list view's notifications to its parent (WM_NOTIFY) and the item states they report:
// selection and focus, with LVN_ITEMCHANGING/LVN_ITEMCHANGED around every change.
#include "controls/listview_state.h"
#include "window/window_registry.h"

#include <algorithm>

namespace device::listview {
namespace {

bool IsValid(const ListView& lv, int index) { return IsValidItem(lv, index); }

bool IsSelected(const ListView& lv, int index) { return (ItemState(lv, index) & LVIS_SELECTED) != 0; }

bool SingleSelection(const ListView& lv) { return (StyleOf(lv) & LVS_SINGLESEL) != 0; }

// Another item that holds the selection, looking at the focused item first because that is
// where it nearly always is; a full scan only when it is not.
int OtherSelectedItem(const ListView& lv, int except) {
    int ownShare = IsValid(lv, except) && IsSelected(lv, except) ? 1 : 0;
    if (lv.selectedCount - ownShare <= 0) {
        return -1;
    }
    if (lv.focusedItem != except && IsValid(lv, lv.focusedItem) && IsSelected(lv, lv.focusedItem)) {
        return lv.focusedItem;
    }
    if (lv.ownerData) {
        for (int index : lv.virtualSelection) {
            if (index != except) {
                return index;
            }
        }
        return -1;
    }
    for (size_t i = 0; i < lv.items.size(); ++i) {
        if (static_cast<int>(i) != except && (lv.items[i].state & LVIS_SELECTED) != 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

UINT KeyFlags() {
    constexpr UINT kAlt = 0x0001;     // LVKF_ALT
    constexpr UINT kControl = 0x0002; // LVKF_CONTROL
    constexpr UINT kShift = 0x0004;   // LVKF_SHIFT
    UINT flags = 0;
    flags |= GetKeyState(VK_MENU) < 0 ? kAlt : 0;
    flags |= GetKeyState(VK_CONTROL) < 0 ? kControl : 0;
    flags |= GetKeyState(VK_SHIFT) < 0 ? kShift : 0;
    return flags;
}

void ApplyState(ListView& lv, int index, UINT newState) {
    UINT old = ItemState(lv, index);
    StoreItemState(lv, index, newState);
    if ((old & LVIS_SELECTED) != (newState & LVIS_SELECTED)) {
        lv.selectedCount += (newState & LVIS_SELECTED) != 0 ? 1 : -1;
    }
    if ((newState & LVIS_FOCUSED) != 0) {
        // A program's first focus also places the selection mark; after that only the user's
        // selections and LVM_SETSELECTIONMARK move it.
        if (lv.focusedItem == -1 && lv.selectionMark == -1) {
            lv.selectionMark = index;
        }
        lv.focusedItem = index;
    } else if (lv.focusedItem == index) {
        lv.focusedItem = -1;
    }
}

} // namespace

// Three of these go out for every row a program adds and labels, so the records are read
// directly rather than through the API.
LRESULT Notify(ListView& lv, UINT code, NMHDR* header) {
    const Window* self = LookUp(lv.hwnd);
    header->hwndFrom = lv.hwnd;
    header->idFrom = self != nullptr ? self->id : 0;
    header->code = code;
    if (lv.notifyParent == nullptr || LookUp(lv.notifyParent) == nullptr) {
        return 0;
    }
    return SendMessageW(lv.notifyParent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

LRESULT NotifyPlain(ListView& lv, UINT code) {
    NMHDR header{};
    return Notify(lv, code, &header);
}

LRESULT NotifyItem(ListView& lv, UINT code, int item, int subItem) {
    NMLISTVIEW info{};
    info.iItem = item;
    info.iSubItem = subItem;
    info.lParam = ItemParam(lv, item);
    return Notify(lv, code, &info.hdr);
}

LRESULT NotifyActivate(ListView& lv, UINT code, int item, int subItem, POINT point) {
    NMITEMACTIVATE info{};
    info.iItem = item;
    info.iSubItem = subItem;
    info.ptAction = point;
    info.uKeyFlags = KeyFlags();
    if (IsValid(lv, item)) {
        info.lParam = ItemParam(lv, item);
        info.uNewState = ItemState(lv, item);
        info.uOldState = info.uNewState;
    }
    return Notify(lv, code, &info.hdr);
}

bool ChangeItemState(ListView& lv, int index, UINT state, UINT mask) {
    if (!IsValid(lv, index)) {
        return false;
    }
    HWND hwnd = lv.hwnd;
    UINT old = ItemState(lv, index);
    UINT wanted = (old & ~mask) | (state & mask);
    if (wanted == old) {
        return true;
    }
    bool selecting = (wanted & LVIS_SELECTED) != 0 && (old & LVIS_SELECTED) == 0;
    bool focusing = (wanted & LVIS_FOCUSED) != 0 && (old & LVIS_FOCUSED) == 0;
    // Make room first, so that the parent hears the old item let go before the new one
    // takes over.
    // LVS_SINGLESEL may have been set after several items were selected: all of them let go.
    if (selecting && SingleSelection(lv)) {
        int rounds = lv.selectedCount;
        for (int other = OtherSelectedItem(lv, index); other >= 0 && rounds-- > 0;
             other = OtherSelectedItem(lv, index)) {
            UINT release = LVIS_SELECTED | (focusing && other == lv.focusedItem ? LVIS_FOCUSED : 0);
            if (!ChangeItemState(lv, other, 0, release)) {
                if (!StillAlive(hwnd, &lv)) {
                    return false;
                }
                break; // vetoed: it would come back forever
            }
        }
    }
    if (focusing && IsValid(lv, lv.focusedItem) && lv.focusedItem != index) {
        if (!ChangeItemState(lv, lv.focusedItem, 0, LVIS_FOCUSED) && !StillAlive(hwnd, &lv)) {
            return false;
        }
    }
    if (!IsValid(lv, index)) {
        return false;
    }
    old = ItemState(lv, index);
    wanted = (old & ~mask) | (state & mask);
    if (wanted == old) {
        return true;
    }
    NMLISTVIEW change{};
    change.iItem = index;
    change.uNewState = wanted;
    change.uOldState = old;
    change.uChanged = LVIF_STATE;
    change.lParam = ItemParam(lv, index);
    if (Notify(lv, LVN_ITEMCHANGING, &change.hdr) != 0 || !StillAlive(hwnd, &lv) || !IsValid(lv, index)) {
        return false;
    }
    ApplyState(lv, index, wanted);
    InvalidateItem(lv, index);
    change = NMLISTVIEW{};
    change.iItem = index;
    change.uNewState = wanted;
    change.uOldState = old;
    change.uChanged = LVIF_STATE;
    change.lParam = ItemParam(lv, index);
    Notify(lv, LVN_ITEMCHANGED, &change.hdr);
    return StillAlive(hwnd, &lv);
}

bool SelectOnly(ListView& lv, int index) {
    HWND hwnd = lv.hwnd;
    // Bounded: a parent that selects items again from its notifications cannot keep us here.
    int rounds = lv.selectedCount;
    for (int other = OtherSelectedItem(lv, index); other >= 0 && rounds-- > 0; other = OtherSelectedItem(lv, index)) {
        UINT release = LVIS_SELECTED | (IsValid(lv, index) && other == lv.focusedItem ? LVIS_FOCUSED : 0);
        if (!ChangeItemState(lv, other, 0, release)) {
            // A vetoed release would come back forever: leave the rest as they are.
            if (!StillAlive(hwnd, &lv)) {
                return false;
            }
            break;
        }
    }
    if (!IsValid(lv, index)) {
        return true;
    }
    lv.selectionMark = index;
    return ChangeItemState(lv, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// A virtual list changes every item at once and says so with one LVN_ITEMCHANGED for item -1.
LRESULT SetVirtualStates(ListView& lv, UINT state, UINT mask) {
    UINT oldState = (lv.selectedCount > 0 ? LVIS_SELECTED : 0) | (lv.focusedItem >= 0 ? LVIS_FOCUSED : 0);
    if ((mask & LVIS_SELECTED) != 0) {
        lv.virtualSelection.clear();
        if ((state & LVIS_SELECTED) != 0) {
            for (int i = 0; i < lv.virtualCount; ++i) {
                lv.virtualSelection.insert(lv.virtualSelection.end(), i);
            }
        }
        lv.selectedCount = static_cast<int>(lv.virtualSelection.size());
    }
    if ((mask & LVIS_FOCUSED) != 0) {
        lv.focusedItem = -1;
    }
    InvalidateAll(lv);
    NMLISTVIEW change{};
    change.iItem = -1;
    change.uNewState = state & mask;
    change.uOldState = oldState & mask;
    change.uChanged = LVIF_STATE;
    Notify(lv, LVN_ITEMCHANGED, &change.hdr);
    return TRUE;
}

// Item -1 means every item, each announced as it changes. Selecting all is refused in a
// single-selection list, and focusing all always; taking the focus away is allowed.
LRESULT SetItemState(ListView& lv, WPARAM index, const LVITEMW* item) {
    if (item == nullptr) {
        return FALSE;
    }
    if (static_cast<INT_PTR>(index) == -1) {
        UINT setting = item->state & item->stateMask;
        if (((setting & LVIS_SELECTED) != 0 && SingleSelection(lv)) || (setting & LVIS_FOCUSED) != 0) {
            return FALSE;
        }
        if (item->stateMask == LVIS_SELECTED && setting == 0 && lv.selectedCount == 0) {
            return TRUE; // the common "deselect all" of an empty selection costs nothing
        }
        if (lv.ownerData) {
            return SetVirtualStates(lv, item->state, item->stateMask);
        }
        HWND hwnd = lv.hwnd;
        LRESULT result = TRUE;
        for (size_t i = 0; i < lv.items.size(); ++i) {
            if (!ChangeItemState(lv, static_cast<int>(i), item->state, item->stateMask)) {
                if (!StillAlive(hwnd, &lv)) {
                    return FALSE;
                }
                result = FALSE;
            }
        }
        return result;
    }
    if (!IsValid(lv, static_cast<int>(index))) {
        return FALSE;
    }
    return ChangeItemState(lv, static_cast<int>(index), item->state, item->stateMask) ? TRUE : FALSE;
}

LRESULT SetSelectionMark(ListView& lv, LPARAM index) {
    int previous = lv.selectionMark;
    lv.selectionMark = static_cast<int>(index);
    return previous;
}

LRESULT GetNextItem(const ListView& lv, int start, UINT flags) {
    int first = std::max(start + 1, 0);
    if ((flags & LVNI_FOCUSED) != 0) {
        int focused = lv.focusedItem;
        bool matches = focused >= first && ((flags & LVNI_SELECTED) == 0 || IsSelected(lv, focused));
        return matches ? focused : -1;
    }
    if ((flags & LVNI_SELECTED) != 0) {
        if (lv.selectedCount == 0) {
            return -1;
        }
        if (lv.ownerData) {
            auto next = lv.virtualSelection.lower_bound(first);
            return next != lv.virtualSelection.end() ? *next : -1;
        }
        for (size_t i = static_cast<size_t>(first); i < lv.items.size(); ++i) {
            if ((lv.items[i].state & LVIS_SELECTED) != 0) {
                return static_cast<LRESULT>(i);
            }
        }
        return -1;
    }
    return first < ItemCount(lv) ? first : -1;
}

void ClearSelectionSilently(ListView& lv) {
    lv.virtualSelection.clear();
    if (lv.selectedCount > 0) {
        for (Item& item : lv.items) {
            item.state &= ~LVIS_SELECTED;
        }
    }
    if (!lv.ownerData && IsValid(lv, lv.focusedItem)) {
        lv.items[static_cast<size_t>(lv.focusedItem)].state &= ~LVIS_FOCUSED;
    }
    lv.selectedCount = 0;
    lv.focusedItem = -1;
}

} // namespace device::listview
