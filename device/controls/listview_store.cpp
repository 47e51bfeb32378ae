// The list view's items and sub-items: inserting, reading, changing and deleting them.
// Appending, setting a text, counting and clearing cost O(1) per item and allocate nothing
// per row (the texts go into the packed pool), so 100,000 rows stay quick and small.
#include "controls/listview_state.h"

#include <algorithm>

namespace device::listview {
namespace {

// LPSTR_TEXTCALLBACKW: the parent is asked for the text whenever it is needed.
const WCHAR* const kTextCallback = reinterpret_cast<const WCHAR*>(static_cast<INT_PTR>(-1));

bool IsValidIndex(const ListView& lv, WPARAM index) { return index < lv.items.size(); }

// Sub-item 0 always exists; the others only as far as there are columns.
bool IsValidSubItem(const ListView& lv, int subItem) {
    return subItem >= 0 && static_cast<size_t>(subItem) < std::max<size_t>(lv.columns.size(), 1);
}

// Garbage left by moved and deleted texts is squeezed out once it outweighs the rest.
void CompactTextsIfWorthIt(ListView& lv) {
    if (!lv.texts.WantsCompaction()) {
        return;
    }
    TextPool fresh;
    for (Item& item : lv.items) {
        item.texts = fresh.Append(lv.texts, item.texts);
    }
    lv.texts = std::move(fresh);
}

// Case-insensitive order of labels for the sorted styles.
int CompareLabels(std::u16string_view a, std::u16string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t x = FoldCase(a[i]);
        char16_t y = FoldCase(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

size_t SortedPosition(const ListView& lv, std::u16string_view text, bool descending) {
    auto first = std::upper_bound(lv.items.begin(), lv.items.end(), text,
                                  [&lv, descending](std::u16string_view value, const Item& item) {
                                      int order = CompareLabels(value, SubItemText(lv, item, 0));
                                      return descending ? order > 0 : order < 0;
                                  });
    return static_cast<size_t>(first - lv.items.begin());
}

int ShiftedIndex(int index, int at) { return index >= at ? index + 1 : index; }

// The mark stays on its place: the item that moves up into it, or the new last one.
int MarkAfterRemoval(int mark, int removed, int remaining) {
    return mark > removed ? mark - 1 : mark == removed ? std::min(removed, remaining - 1) : mark;
}

int IndexAfterRemoval(int index, int removed) {
    return index == removed ? -1 : (index > removed ? index - 1 : index);
}

} // namespace

std::u16string_view TextFrom(const WCHAR* text) {
    if (text == kTextCallback) {
        return kCallbackText;
    }
    return text == nullptr ? std::u16string_view(u"") : std::u16string_view(text);
}

// ASCII, Latin-1 and Latin Extended-A (the Turkish Ş, Ğ among them) fold to upper case;
// the dotted and dotless I keep their own forms.
char16_t FoldCase(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return char16_t(c - 32);
    }
    bool evenUpper = (c >= 0x0100 && c <= 0x012F) || (c >= 0x0132 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177);
    bool oddUpper = (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
    if ((evenUpper && (c & 1) != 0) || (oddUpper && (c & 1) == 0)) {
        return char16_t(c - 1);
    }
    return c;
}

int CopyText(std::u16string_view text, WCHAR* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) {
        return 0;
    }
    size_t count = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::copy_n(text.begin(), count, buffer);
    buffer[count] = 0;
    return static_cast<int>(count);
}

std::u16string_view SubItemText(const ListView& lv, const Item& item, int subItem) {
    return lv.texts.Text(item.texts, subItem);
}

// --- Items --------------------------------------------------------------------------------

// The fields are set silently, except selection and focus: those bits of `state` apply
// whatever `stateMask` says and are announced (LVN_ITEMCHANGING, LVN_ITEMCHANGED, taking
// them from other items as a state change does) before the parent hears LVN_INSERTITEM.
LRESULT InsertItem(ListView& lv, const LVITEMW* item) {
    if (item == nullptr || item->iItem < 0 || item->iSubItem != 0) {
        return -1;
    }
    if (lv.ownerData) {
        // The parent keeps the items: the list only counts one more, at the end.
        int index = lv.virtualCount;
        SetItemCount(lv, static_cast<WPARAM>(index) + 1, LVSICF_NOINVALIDATEALL);
        return index;
    }
    Item added;
    const std::u16string_view label = (item->mask & LVIF_TEXT) != 0 ? TextFrom(item->pszText) : std::u16string_view();
    if (!lv.texts.Set(added.texts, 0, label)) {
        return -1;
    }
    constexpr UINT kAnnounced = LVIS_SELECTED | LVIS_FOCUSED;
    UINT announced = 0;
    if ((item->mask & LVIF_STATE) != 0) {
        added.state = item->state & item->stateMask & ~kAnnounced;
        announced = item->state & kAnnounced;
    }
    added.state = InsertedStateImage(lv, added.state);
    if ((item->mask & LVIF_PARAM) != 0) {
        added.lParam = item->lParam;
    }
    if ((item->mask & LVIF_IMAGE) != 0) {
        added.image = item->iImage;
    }
    if ((item->mask & LVIF_INDENT) != 0) {
        added.indent = item->iIndent;
    }
    DWORD style = StyleOf(lv);
    size_t at = std::min(static_cast<size_t>(item->iItem), lv.items.size());
    if ((style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) != 0) {
        at = SortedPosition(lv, label, (style & LVS_SORTDESCENDING) != 0);
    }
    int index = static_cast<int>(at);
    if (at == lv.items.size()) {
        lv.items.push_back(added);
    } else {
        lv.items.insert(lv.items.begin() + static_cast<std::ptrdiff_t>(at), added);
        lv.focusedItem = lv.focusedItem >= 0 ? ShiftedIndex(lv.focusedItem, index) : -1;
        lv.selectionMark = lv.selectionMark >= 0 ? ShiftedIndex(lv.selectionMark, index) : -1;
    }
    ItemsChangedFrom(lv, index);
    HWND hwnd = lv.hwnd;
    if (announced != 0 && !ChangeItemState(lv, index, announced, kAnnounced) && !StillAlive(hwnd, &lv)) {
        return -1;
    }
    NotifyItem(lv, LVN_INSERTITEM, index);
    return index;
}

// A changed label (sub-item 0) goes through LVN_ITEMCHANGING/LVN_ITEMCHANGED; the other
// sub-items change without a word.
LRESULT SetItemText(ListView& lv, WPARAM index, const LVITEMW* item) {
    if (item == nullptr || lv.ownerData || !IsValidIndex(lv, index) || !IsValidSubItem(lv, item->iSubItem)) {
        return FALSE;
    }
    const std::u16string_view text = TextFrom(item->pszText);
    if (item->iSubItem == 0 && text != SubItemText(lv, lv.items[index], 0)) {
        HWND hwnd = lv.hwnd;
        NMLISTVIEW change{};
        change.iItem = static_cast<int>(index);
        change.uChanged = LVIF_TEXT;
        change.lParam = lv.items[index].lParam;
        if (Notify(lv, LVN_ITEMCHANGING, &change.hdr) != 0 || !StillAlive(hwnd, &lv) || !IsValidIndex(lv, index)) {
            return FALSE;
        }
        const bool stored = lv.texts.Set(lv.items[index].texts, 0, text);
        CompactTextsIfWorthIt(lv);
        if (!stored) {
            return FALSE;
        }
        InvalidateItem(lv, static_cast<int>(index));
        change = NMLISTVIEW{};
        change.iItem = static_cast<int>(index);
        change.uChanged = LVIF_TEXT;
        change.lParam = lv.items[index].lParam;
        Notify(lv, LVN_ITEMCHANGED, &change.hdr);
        return TRUE;
    }
    const bool stored = lv.texts.Set(lv.items[index].texts, item->iSubItem, text);
    CompactTextsIfWorthIt(lv);
    InvalidateItem(lv, static_cast<int>(index));
    return stored ? TRUE : FALSE;
}

LRESULT GetItemText(ListView& lv, WPARAM index, LVITEMW* item) {
    if (item == nullptr || !IsValidItem(lv, static_cast<int>(index)) || !IsValidSubItem(lv, item->iSubItem)) {
        return 0;
    }
    std::u16string scratch;
    std::u16string_view text = CellText(lv, static_cast<int>(index), item->iSubItem, scratch);
    return CopyText(text, item->pszText, item->cchTextMax);
}

// Label, data, image and indent change under one LVN_ITEMCHANGING/LVN_ITEMCHANGED pair;
// the state follows with its own.
LRESULT SetItem(ListView& lv, const LVITEMW* item) {
    if (item != nullptr && lv.ownerData) {
        // Only the states are the list's own in a virtual list.
        if ((item->mask & ~LVIF_STATE) != 0 || !IsValidItem(lv, item->iItem)) {
            return FALSE;
        }
        return ChangeItemState(lv, item->iItem, item->state, item->stateMask) ? TRUE : FALSE;
    }
    if (item == nullptr || item->iItem < 0 || !IsValidIndex(lv, static_cast<WPARAM>(item->iItem)) ||
        !IsValidSubItem(lv, item->iSubItem)) {
        return FALSE;
    }
    size_t index = static_cast<size_t>(item->iItem);
    if (item->iSubItem != 0) {
        if ((item->mask & LVIF_TEXT) != 0) {
            const bool stored = lv.texts.Set(lv.items[index].texts, item->iSubItem, TextFrom(item->pszText));
            CompactTextsIfWorthIt(lv);
            InvalidateItem(lv, item->iItem);
            return stored ? TRUE : FALSE;
        }
        return TRUE;
    }
    Item& target = lv.items[index];
    UINT changed = 0;
    const std::u16string_view label = SubItemText(lv, target, 0);
    const std::u16string_view text = (item->mask & LVIF_TEXT) != 0 ? TextFrom(item->pszText) : label;
    changed |= text != label ? LVIF_TEXT : 0;
    changed |= (item->mask & LVIF_PARAM) != 0 && item->lParam != target.lParam ? LVIF_PARAM : 0;
    changed |= (item->mask & LVIF_IMAGE) != 0 && item->iImage != target.image ? LVIF_IMAGE : 0;
    changed |= (item->mask & LVIF_INDENT) != 0 && item->iIndent != target.indent ? LVIF_INDENT : 0;
    if (changed != 0) {
        HWND hwnd = lv.hwnd;
        NMLISTVIEW change{};
        change.iItem = item->iItem;
        change.uChanged = changed;
        change.lParam = target.lParam;
        if (Notify(lv, LVN_ITEMCHANGING, &change.hdr) != 0 || !StillAlive(hwnd, &lv) || !IsValidIndex(lv, index)) {
            return FALSE;
        }
        Item& now = lv.items[index];
        if ((changed & LVIF_TEXT) != 0) {
            lv.texts.Set(now.texts, 0, text);
        }
        if ((changed & LVIF_PARAM) != 0) {
            now.lParam = item->lParam;
        }
        if ((changed & LVIF_IMAGE) != 0) {
            now.image = item->iImage;
        }
        if ((changed & LVIF_INDENT) != 0) {
            now.indent = item->iIndent;
        }
        const LPARAM data = now.lParam;
        CompactTextsIfWorthIt(lv);
        InvalidateItem(lv, item->iItem);
        change.lParam = data;
        Notify(lv, LVN_ITEMCHANGED, &change.hdr);
        if (!StillAlive(hwnd, &lv) || !IsValidIndex(lv, index)) {
            return FALSE;
        }
    }
    if ((item->mask & LVIF_STATE) != 0 && item->stateMask != 0) {
        return ChangeItemState(lv, item->iItem, item->state, item->stateMask) ? TRUE : FALSE;
    }
    return TRUE;
}

LRESULT GetItem(ListView& lv, LVITEMW* item) {
    if (item == nullptr || !IsValidItem(lv, item->iItem) || !IsValidSubItem(lv, item->iSubItem)) {
        return FALSE;
    }
    if ((item->mask & LVIF_TEXT) != 0) {
        std::u16string scratch;
        HWND hwnd = lv.hwnd;
        std::u16string_view text = CellText(lv, item->iItem, item->iSubItem, scratch);
        if (!StillAlive(hwnd, &lv) || !IsValidItem(lv, item->iItem)) {
            return FALSE;
        }
        CopyText(text, item->pszText, item->cchTextMax);
    }
    if ((item->mask & LVIF_STATE) != 0) {
        item->state = ItemState(lv, item->iItem) & item->stateMask;
    }
    if ((item->mask & LVIF_PARAM) != 0) {
        item->lParam = ItemParam(lv, item->iItem);
    }
    if (lv.ownerData) {
        return TRUE;
    }
    const Item& source = lv.items[static_cast<size_t>(item->iItem)];
    if ((item->mask & LVIF_IMAGE) != 0) {
        item->iImage = source.image;
    }
    if ((item->mask & LVIF_INDENT) != 0) {
        item->iIndent = source.indent;
    }
    return TRUE;
}

namespace {

// Removes one item (the parent hears LVN_DELETEITEM while it is still there); selection and
// focus follow the items that move up.
bool RemoveItem(ListView& lv, size_t index) {
    HWND hwnd = lv.hwnd;
    NotifyItem(lv, LVN_DELETEITEM, static_cast<int>(index));
    if (!StillAlive(hwnd, &lv) || index >= lv.items.size()) {
        return false;
    }
    if ((lv.items[index].state & LVIS_SELECTED) != 0) {
        --lv.selectedCount;
    }
    int removed = static_cast<int>(index);
    lv.focusedItem = lv.focusedItem >= 0 ? IndexAfterRemoval(lv.focusedItem, removed) : -1;
    lv.selectionMark = MarkAfterRemoval(lv.selectionMark, removed, static_cast<int>(lv.items.size()) - 1);
    lv.texts.Release(lv.items[index].texts);
    if (index + 1 == lv.items.size()) {
        lv.items.pop_back();
    } else {
        lv.items.erase(lv.items.begin() + static_cast<std::ptrdiff_t>(index));
    }
    return true;
}

// The parent hears LVN_DELETEITEM; the selected rows below move up one.
bool RemoveVirtualItem(ListView& lv, int removed, bool hadFocus) {
    HWND hwnd = lv.hwnd;
    NotifyItem(lv, LVN_DELETEITEM, removed);
    if (!StillAlive(hwnd, &lv) || removed >= lv.virtualCount) {
        return false;
    }
    std::set<int> shifted;
    for (int selected : lv.virtualSelection) {
        if (selected != removed) {
            shifted.insert(shifted.end(), selected > removed ? selected - 1 : selected);
        }
    }
    lv.virtualSelection = std::move(shifted);
    lv.selectedCount = static_cast<int>(lv.virtualSelection.size());
    --lv.virtualCount;
    lv.focusedItem = lv.focusedItem > removed ? lv.focusedItem - 1 : lv.focusedItem;
    if (hadFocus && lv.virtualCount > 0) {
        lv.focusedItem = std::min(removed, lv.virtualCount - 1);
    }
    lv.selectionMark = MarkAfterRemoval(lv.selectionMark, removed, lv.virtualCount);
    UpdateScrollBars(lv);
    InvalidateFrom(lv, removed);
    return true;
}

} // namespace

// The item first lets go of its selection and focus with the usual pair of notifications,
// then the parent hears LVN_DELETEITEM. The focus passes silently to the item that takes its
// place (the new last one when it was last).
LRESULT DeleteItem(ListView& lv, WPARAM index) {
    if (!IsValidItem(lv, static_cast<int>(index))) {
        return FALSE;
    }
    HWND hwnd = lv.hwnd;
    int removed = static_cast<int>(index);
    bool hadFocus = lv.focusedItem == removed;
    if (!ChangeItemState(lv, removed, 0, LVIS_SELECTED | LVIS_FOCUSED) && !StillAlive(hwnd, &lv)) {
        return TRUE;
    }
    if (lv.ownerData) {
        return RemoveVirtualItem(lv, removed, hadFocus) ? TRUE : FALSE;
    }
    if (!IsValidIndex(lv, index)) {
        return FALSE;
    }
    if (!RemoveItem(lv, index)) {
        return StillAlive(hwnd, &lv) ? FALSE : TRUE;
    }
    if (hadFocus && lv.focusedItem == -1 && !lv.items.empty()) {
        lv.focusedItem = std::min(removed, static_cast<int>(lv.items.size()) - 1);
        lv.items[static_cast<size_t>(lv.focusedItem)].state |= LVIS_FOCUSED;
    }
    UpdateScrollBars(lv);
    InvalidateFrom(lv, removed);
    return TRUE;
}

// Selection and focus go silently; the parent hears LVN_DELETEALLITEMS (even for an empty
// list) and, unless it answers TRUE, LVN_DELETEITEM for each item from the last to the
// first. The columns stay.
LRESULT DeleteAllItems(ListView& lv) {
    HWND hwnd = lv.hwnd;
    ClearSelectionSilently(lv);
    lv.selectionMark = -1;
    NMLISTVIEW all{};
    all.iItem = -1;
    bool suppress = Notify(lv, LVN_DELETEALLITEMS, &all.hdr) != 0;
    if (!StillAlive(hwnd, &lv)) {
        return TRUE;
    }
    // A virtual list's rows are the parent's: it hears of no single one.
    lv.virtualCount = 0;
    if (!suppress) {
        while (!lv.items.empty()) {
            if (!RemoveItem(lv, lv.items.size() - 1)) {
                if (!StillAlive(hwnd, &lv)) {
                    return TRUE;
                }
            }
        }
    }
    std::vector<Item>().swap(lv.items);
    lv.texts.Clear();
    lv.selectedCount = 0;
    lv.focusedItem = -1;
    lv.topIndex = 0;
    if (!lv.destroying) {
        UpdateScrollBars(lv);
        InvalidateAll(lv);
    }
    return TRUE;
}

} // namespace device::listview
