// TPointerList: growth steps, insertion and deletion by moving entries.
#include "pointer_list.h"

#include <algorithm>
#include <cstring>

TPointerList* NewList() {
    TPointerList* list = NewObject<TPointerList>();
    list->GrowBy = 4;
    return list;
}

TPointerList::~TPointerList() { delete[] Items; }

void TPointerList::Destroy() {
    Clear();
    TRefObject::Destroy();
}

void TPointerList::Add(void* item) {
    if (Capacity <= Count) {
        LONG step = GrowBy > 0 ? GrowBy : std::min<LONG>(1000, Count / 4 + 1);
        SetCapacity(Count + step);
    }
    Items[Count] = item;
    ++Count;
}

void TPointerList::Insert(LONG index, void* item) {
    Add(nullptr);
    if (index < 0) {
        index = 0; // a negative index would write before the array
    }
    if (index < Count) {
        std::memmove(Items + index + 1, Items + index, sizeof(void*) * static_cast<size_t>(Count - 1 - index));
        Items[index] = item;
    } else {
        Items[Count - 1] = item; // past the end: appended rather than lost
    }
}

void TPointerList::DeleteRange(LONG index, LONG n) {
    if (n <= 0 || index < 0 || index >= Count) {
        return;
    }
    n = std::min(n, Count - index);
    std::memmove(Items + index, Items + index + n, sizeof(void*) * static_cast<size_t>(Count - index - n));
    Count -= n;
}

LONG TPointerList::IndexOf(const void* item) const {
    for (LONG i = 0; i < Count; ++i) {
        if (Items[i] == item) {
            return i;
        }
    }
    return -1;
}

void TPointerList::Remove(const void* item) {
    LONG index = IndexOf(item);
    if (index >= 0) {
        Delete(index);
    }
}

void TPointerList::SetCapacity(LONG n) {
    n = std::max(n, Count);
    if (n == Capacity) {
        return;
    }
    void** items = n > 0 ? new void*[static_cast<size_t>(n)] : nullptr;
    if (Count > 0) {
        std::memcpy(items, Items, sizeof(void*) * static_cast<size_t>(Count));
    }
    delete[] Items;
    Items = items;
    Capacity = n;
}

void TPointerList::Clear() {
    delete[] Items;
    Items = nullptr;
    Count = 0;
    Capacity = 0;
}
