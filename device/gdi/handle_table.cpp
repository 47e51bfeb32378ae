// The GDI handle table: slots with generation counters, reused oldest-freed first so that a
// stale handle stays stale for as long as possible.
#include "gdi/handle_table.h"

#include <cstdint>
#include <deque>
#include <vector>

#include "gdi/verify.h"
#include "winbase.h"

namespace device::gdi {

namespace {

// Handle value = generation << 16 | slot. Slots start at 1 and generations stay within
// 1..0x3FFF, so every handle lies in 0x10001..0x3FFFFFFF: far from the small values that
// FillRect reads as system colours (index + 1, also with the CE flag 0x40000000), and inside
// 32 bits as Win32 GDI handles are.
constexpr uint32_t kSlotBits = 16;
constexpr uint32_t kMaxSlots = (1u << kSlotBits) - 1;
constexpr uint32_t kMaxGeneration = 0x3FFF;

struct Slot {
    std::unique_ptr<GdiObject> object;
    uint32_t generation = 1;
};

struct Table {
    std::vector<Slot> slots = std::vector<Slot>(1); // slot 0 is never used
    std::deque<uint32_t> freeSlots;
    size_t live = 0;
};

Table& TheTable() {
    static Table table;
    return table;
}

uintptr_t Encode(uint32_t slot, uint32_t generation) {
    return (static_cast<uintptr_t>(generation) << kSlotBits) | slot;
}

Slot* SlotOf(HGDIOBJ handle) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    const uint32_t slot = static_cast<uint32_t>(value & kMaxSlots);
    const uintptr_t generation = value >> kSlotBits;
    Table& table = TheTable();
    if (slot == 0 || slot >= table.slots.size() || generation == 0 ||
        generation > kMaxGeneration) {
        return nullptr;
    }
    Slot& entry = table.slots[slot];
    if (entry.generation != generation || !entry.object) {
        return nullptr;
    }
    return &entry;
}

} // namespace

HGDIOBJ InsertObject(std::unique_ptr<GdiObject> object) {
    GDI_VERIFY(object != nullptr);
    Table& table = TheTable();
    uint32_t slot = 0;
    if (!table.freeSlots.empty()) {
        slot = table.freeSlots.front();
        table.freeSlots.pop_front();
    } else if (table.slots.size() <= kMaxSlots) {
        slot = static_cast<uint32_t>(table.slots.size());
        table.slots.emplace_back();
    } else {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Slot& entry = table.slots[slot];
    GDI_VERIFY(!entry.object);
    entry.object = std::move(object);
    ++table.live;
    return reinterpret_cast<HGDIOBJ>(Encode(slot, entry.generation));
}

GdiObject* FindObject(HGDIOBJ handle) {
    Slot* entry = SlotOf(handle);
    return entry != nullptr ? entry->object.get() : nullptr;
}

void EraseObject(HGDIOBJ handle) {
    Slot* entry = SlotOf(handle);
    GDI_VERIFY(entry != nullptr);
    GDI_VERIFY(!entry->object->stock && entry->object->selections == 0);
    Table& table = TheTable();
    // Move the object out first: its destructor must not find itself in the table.
    std::unique_ptr<GdiObject> doomed = std::move(entry->object);
    entry->generation = entry->generation == kMaxGeneration ? 1 : entry->generation + 1;
    table.freeSlots.push_back(static_cast<uint32_t>(entry - table.slots.data()));
    --table.live;
}

size_t LiveObjectCount() { return TheTable().live; }

void Retain(HGDIOBJ handle) {
    GdiObject* object = FindObject(handle);
    GDI_VERIFY(object != nullptr);
    ++object->selections;
}

void Release(HGDIOBJ handle) {
    GdiObject* object = FindObject(handle);
    GDI_VERIFY(object != nullptr && object->selections > 0);
    if (--object->selections > 0) {
        return;
    }
    if (object->kind == ObjectKind::Bitmap) {
        static_cast<BitmapObject*>(object)->owner = nullptr;
    }
    if (object->deletePending && !object->stock) {
        EraseObject(handle);
    }
}

void FailInvalidHandle() { SetLastError(ERROR_INVALID_HANDLE); }

} // namespace device::gdi
