// Image lists: ImageList_Create and friends. The device keeps each list's image size, flags
// and background colour in a small handle table; programs get handles with generation
// counters, so a destroyed or made-up handle fails instead of reaching another list.
//
// Not emulated: images themselves (ImageList_Add, ImageList_ReplaceIcon, ImageList_Draw
// and the rest do not exist on the device), so every list holds no image.
#include "commctrl.h"
#include "winbase.h"

#include <cstdint>
#include <vector>

namespace {

struct ImageList {
    int cx = 0; // the size of every image of the list
    int cy = 0;
    COLORREF background = CLR_NONE;
};

struct Slot {
    ImageList list;
    bool used = false;
    WORD generation = 1;
};

// Slot 0 is never handed out, so no handle is null.
std::vector<Slot> g_slots(1);
std::vector<size_t> g_freeSlots;

// A handle is the slot's index in the low 16 bits and its generation above them.
constexpr size_t kMaxSlots = 0xFFFF;

HIMAGELIST MakeHandle(size_t index, WORD generation) {
    auto value = (static_cast<uintptr_t>(generation) << 16) | index;
    return reinterpret_cast<HIMAGELIST>(value);
}

Slot* SlotOf(HIMAGELIST himl) {
    auto value = reinterpret_cast<uintptr_t>(himl);
    size_t index = value & 0xFFFF;
    auto generation = static_cast<WORD>((value >> 16) & 0xFFFF);
    if (index == 0 || index >= g_slots.size() || (value >> 32) != 0) {
        return nullptr;
    }
    Slot& slot = g_slots[index];
    return slot.used && slot.generation == generation ? &slot : nullptr;
}

ImageList* ListOrFail(HIMAGELIST himl) {
    Slot* slot = SlotOf(himl);
    if (slot == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &slot->list;
}

} // namespace

// The colour depth and mask (flags) and the growth figures matter only for storing images,
// which the device does not do.
HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow) {
    (void)flags;
    (void)cGrow;
    if (cx <= 0 || cy <= 0 || cInitial < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    size_t index;
    if (!g_freeSlots.empty()) {
        index = g_freeSlots.back();
        g_freeSlots.pop_back();
    } else {
        if (g_slots.size() > kMaxSlots) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        index = g_slots.size();
        g_slots.emplace_back();
    }
    Slot& slot = g_slots[index];
    slot.used = true;
    slot.list = ImageList{cx, cy, CLR_NONE};
    return MakeHandle(index, slot.generation);
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) {
    Slot* slot = SlotOf(himl);
    if (slot == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    slot->used = false;
    slot->list = ImageList{};
    // The next list in this slot gets another handle; generation 0 is skipped so that a
    // handle never looks like a bare index.
    slot->generation = static_cast<WORD>(slot->generation + 1);
    if (slot->generation == 0) {
        slot->generation = 1;
    }
    g_freeSlots.push_back(static_cast<size_t>(slot - g_slots.data()));
    return TRUE;
}

// Returns the previous colour; CLR_NONE for a bad handle.
COLORREF WINAPI ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr) {
        return CLR_NONE;
    }
    COLORREF previous = list->background;
    list->background = clrBk;
    return previous;
}

COLORREF WINAPI ImageList_GetBkColor(HIMAGELIST himl) {
    ImageList* list = ListOrFail(himl);
    return list != nullptr ? list->background : CLR_NONE;
}

// Nothing adds images on the device, so every list holds none; a bad handle answers 0 as
// well, with the error set.
int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
    (void)ListOrFail(himl);
    return 0;
}

BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr || cx == nullptr || cy == nullptr) {
        return FALSE;
    }
    *cx = list->cx;
    *cy = list->cy;
    return TRUE;
}
