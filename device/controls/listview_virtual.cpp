// Items whose contents the parent keeps: virtual lists (LVS_OWNERDATA), where the list holds
// only the count, the selection and the focus and asks for every text it shows, and texts
// given as LPSTR_TEXTCALLBACKW in an ordinary list. Also finding items (LVM_FINDITEMW),
// which a virtual list hands to its parent.
//
// A virtual list costs the same whatever its count: nothing is kept per row, painting asks
// only for the rows it draws (after LVN_ODCACHEHINT names them), and the selection is a set
// of the selected rows.
#include "controls/listview_state.h"

#include <algorithm>

namespace device::listview {
namespace {

// Longest text taken from a parent that points at its own string instead of filling the
// buffer it was given.
constexpr size_t kLongestParentText = 4096;
constexpr int kDisplayBuffer = 260;

bool MatchesText(std::u16string_view text, std::u16string_view wanted, bool partial) {
    if (partial ? text.size() < wanted.size() : text.size() != wanted.size()) {
        return false;
    }
    for (size_t i = 0; i < wanted.size(); ++i) {
        if (FoldCase(text[i]) != FoldCase(wanted[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

int ItemCount(const ListView& lv) { return lv.ownerData ? lv.virtualCount : static_cast<int>(lv.items.size()); }

bool IsValidItem(const ListView& lv, int index) { return index >= 0 && index < ItemCount(lv); }

UINT ItemState(const ListView& lv, int index) {
    if (!lv.ownerData) {
        return lv.items[static_cast<size_t>(index)].state;
    }
    return (lv.virtualSelection.count(index) != 0 ? LVIS_SELECTED : 0) | (lv.focusedItem == index ? LVIS_FOCUSED : 0);
}

void StoreItemState(ListView& lv, int index, UINT state) {
    if (!lv.ownerData) {
        lv.items[static_cast<size_t>(index)].state = state;
    } else if ((state & LVIS_SELECTED) != 0) {
        lv.virtualSelection.insert(index);
    } else {
        lv.virtualSelection.erase(index);
    }
}

LPARAM ItemParam(const ListView& lv, int index) {
    return lv.ownerData || !IsValidItem(lv, index) ? 0 : lv.items[static_cast<size_t>(index)].lParam;
}

std::u16string_view CellText(ListView& lv, int index, int subItem, std::u16string& scratch) {
    if (!lv.ownerData) {
        std::u16string_view stored = SubItemText(lv, lv.items[static_cast<size_t>(index)], subItem);
        if (stored != kCallbackText) {
            return stored;
        }
    }
    WCHAR buffer[kDisplayBuffer] = {};
    NMLVDISPINFOW info{};
    info.item.mask = LVIF_TEXT;
    info.item.iItem = index;
    info.item.iSubItem = subItem;
    info.item.pszText = buffer;
    info.item.cchTextMax = kDisplayBuffer;
    info.item.lParam = ItemParam(lv, index);
    HWND hwnd = lv.hwnd;
    Notify(lv, LVN_GETDISPINFOW, &info.hdr);
    scratch.clear();
    if (!StillAlive(hwnd, &lv)) {
        return scratch;
    }
    const WCHAR* text = info.item.pszText;
    if (text != nullptr && text != LPSTR_TEXTCALLBACKW) {
        size_t limit = text == buffer ? static_cast<size_t>(kDisplayBuffer - 1) : kLongestParentText;
        size_t length = 0;
        while (length < limit && text[length] != 0) {
            ++length;
        }
        scratch.assign(text, length);
    }
    if ((info.item.mask & LVIF_DI_SETITEM) != 0 && !lv.ownerData && IsValidItem(lv, index)) {
        lv.texts.Set(lv.items[static_cast<size_t>(index)].texts, subItem, scratch);
    }
    return scratch;
}

LRESULT GetItemState(ListView& lv, int index, UINT mask) {
    if (!IsValidItem(lv, index)) {
        return 0;
    }
    UINT own = ItemState(lv, index) & mask & ~lv.callbackMask;
    UINT asked = mask & lv.callbackMask;
    if (asked == 0) {
        return own;
    }
    NMLVDISPINFOW info{};
    info.item.mask = LVIF_STATE;
    info.item.iItem = index;
    info.item.stateMask = asked;
    info.item.lParam = ItemParam(lv, index);
    Notify(lv, LVN_GETDISPINFOW, &info.hdr);
    return own | (info.item.state & asked);
}

void HintCache(ListView& lv, int from, int to) {
    if (!lv.ownerData || from > to) {
        return;
    }
    NMLVCACHEHINT hint{};
    hint.iFrom = from;
    hint.iTo = to;
    Notify(lv, LVN_ODCACHEHINT, &hint.hdr);
}

// An ordinary list only makes room; a virtual list takes the count, forgetting selection,
// focus and mark beyond it, and redraws all (or, with LVSICF_NOINVALIDATEALL, what changed).
LRESULT SetItemCount(ListView& lv, WPARAM count, LPARAM flags) {
    if (!lv.ownerData) {
        lv.items.reserve(static_cast<size_t>(count));
        return TRUE;
    }
    int old = lv.virtualCount;
    int now = static_cast<int>(std::min<WPARAM>(count, 0x7FFFFFFF));
    lv.virtualCount = now;
    lv.virtualSelection.erase(lv.virtualSelection.lower_bound(now), lv.virtualSelection.end());
    lv.selectedCount = static_cast<int>(lv.virtualSelection.size());
    if (lv.focusedItem >= now) {
        lv.focusedItem = -1;
    }
    if (lv.selectionMark >= now) {
        lv.selectionMark = -1;
    }
    UpdateScrollBars(lv);
    if ((flags & LVSICF_NOINVALIDATEALL) != 0) {
        InvalidateFrom(lv, std::min(old, now));
    } else {
        InvalidateAll(lv);
    }
    return TRUE;
}

// From the item after `start` (-1: the first) to the end, and round from the top with
// LVFI_WRAP. LVFI_PARAM compares the data; otherwise LVFI_STRING the whole label and
// LVFI_PARTIAL its beginning, both regardless of case.
LRESULT FindItem(ListView& lv, int start, const LVFINDINFOW* find) {
    if (find == nullptr) {
        return -1;
    }
    if (lv.ownerData) {
        NMLVFINDITEMW request{};
        request.iStart = start;
        request.lvfi = *find;
        return Notify(lv, LVN_ODFINDITEMW, &request.hdr);
    }
    bool byParam = (find->flags & LVFI_PARAM) != 0;
    bool byText = (find->flags & (LVFI_STRING | LVFI_PARTIAL)) != 0;
    if ((!byParam && !byText) || (byText && !byParam && find->psz == nullptr)) {
        return -1;
    }
    std::u16string_view wanted = byText && find->psz != nullptr ? std::u16string_view(find->psz) : u"";
    int count = ItemCount(lv);
    int first = std::clamp(start + 1, 0, count);
    int steps = (find->flags & LVFI_WRAP) != 0 ? count : count - first;
    HWND hwnd = lv.hwnd;
    std::u16string scratch;
    for (int n = 0; n < steps; ++n) {
        int index = (first + n) % std::max(count, 1);
        if (byParam) {
            if (lv.items[static_cast<size_t>(index)].lParam == find->lParam) {
                return index;
            }
            continue;
        }
        std::u16string_view label = CellText(lv, index, 0, scratch);
        if (!StillAlive(hwnd, &lv)) {
            return -1;
        }
        if (MatchesText(label, wanted, (find->flags & LVFI_PARTIAL) != 0)) {
            return index;
        }
        count = ItemCount(lv); // a parent asked for a text may have changed the list
        if (count == 0) {
            return -1;
        }
    }
    return -1;
}

} // namespace device::listview
