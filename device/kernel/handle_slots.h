// A table of objects behind opaque handles that carry a slot number and the slot's generation,
// so that a destroyed or made-up handle finds nothing instead of reaching another object.
// Image lists and icons use it; GDI objects have a table of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace device {

template <typename Object>
class HandleSlots {
public:
    HandleSlots() : m_slots(1) {} // slot 0 is never handed out, so no handle is null

    // Stores object; 0 when every slot is taken.
    uintptr_t Insert(Object object) {
        size_t index = 0;
        if (!m_free.empty()) {
            index = m_free.back();
            m_free.pop_back();
        } else {
            if (m_slots.size() > kMaxSlots) {
                return 0;
            }
            index = m_slots.size();
            m_slots.emplace_back();
        }
        Slot& slot = m_slots[index];
        slot.object.emplace(std::move(object));
        return (static_cast<uintptr_t>(slot.generation) << 16) | index;
    }

    // The live object behind handle, or null.
    Object* Find(uintptr_t handle) {
        const size_t index = handle & 0xFFFF;
        const auto generation = static_cast<uint16_t>((handle >> 16) & 0xFFFF);
        if (index == 0 || index >= m_slots.size() || (handle >> 32) != 0) {
            return nullptr;
        }
        Slot& slot = m_slots[index];
        return slot.object.has_value() && slot.generation == generation ? &*slot.object : nullptr;
    }

    // Frees the object and retires its handle; false when handle names none.
    bool Erase(uintptr_t handle) {
        if (Find(handle) == nullptr) {
            return false;
        }
        const size_t index = handle & 0xFFFF;
        Slot& slot = m_slots[index];
        slot.object.reset();
        // Generation 0 is skipped so that a handle never looks like a bare index.
        slot.generation = static_cast<uint16_t>(slot.generation + 1);
        if (slot.generation == 0) {
            slot.generation = 1;
        }
        m_free.push_back(index);
        return true;
    }

private:
    static constexpr size_t kMaxSlots = 0xFFFF;

    struct Slot {
        std::optional<Object> object;
        uint16_t generation = 1;
    };

    std::vector<Slot> m_slots;
    std::vector<size_t> m_free;
};

} // namespace device
