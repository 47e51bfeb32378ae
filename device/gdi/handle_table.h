// The table that GDI handles index. A handle carries a slot number and the slot's generation,
// so a handle kept after DeleteObject fails every lookup instead of reaching freed memory.
#pragma once

#include <cstddef>
#include <memory>

#include "gdi/objects.h"

namespace device::gdi {

// Stores object and returns its handle; 0 when every slot is taken.
HGDIOBJ InsertObject(std::unique_ptr<GdiObject> object);

// The live object behind handle, or null for 0, a stale handle or a value never issued.
GdiObject* FindObject(HGDIOBJ handle);

// Frees the object and retires the handle.
void EraseObject(HGDIOBJ handle);

// Live objects, stock ones included (tests use it to find leaks).
size_t LiveObjectCount();

template <typename T>
T* Find(HGDIOBJ handle) {
    GdiObject* object = FindObject(handle);
    return object != nullptr && object->kind == T::kKind ? static_cast<T*>(object) : nullptr;
}

// Like Find, but sets ERROR_INVALID_HANDLE when the handle names no such object.
template <typename T>
T* FindOrFail(HGDIOBJ handle);

// Selection bookkeeping: a DC state taking hold of an object, and letting it go. Letting go of
// the last hold of an object whose deletion was asked for frees it.
void Retain(HGDIOBJ handle);
void Release(HGDIOBJ handle);

void FailInvalidHandle();

template <typename T>
T* FindOrFail(HGDIOBJ handle) {
    T* object = Find<T>(handle);
    if (object == nullptr) {
        FailInvalidHandle();
    }
    return object;
}

} // namespace device::gdi
