// The growable array of pointer-sized entries that the toolkit uses for children, handler
// chains and auto-free lists.
#pragma once

#include "ref_object.h"

class TPointerList final : public TRefObject {
public:
    // Entries are pointer-sized on this build (object pointers, procedure pointers or small
    // integers); the counts stay 32-bit.
    void** Items = nullptr; // nil when Capacity is 0
    LONG Count = 0;
    LONG Capacity = 0;
    LONG GrowBy = 0; // NewList sets 4; 0 grows by a quarter of Count (at most 1000)

    void Add(void* item);
    void Insert(LONG index, void* item);
    void DeleteRange(LONG index, LONG n);
    void Delete(LONG index) { DeleteRange(index, 1); }
    LONG IndexOf(const void* item) const;
    void Remove(const void* item);
    // Inline: the handler chain reads it for every message of every window.
    void* Get(LONG index) const { return index >= 0 && index < Count ? Items[index] : nullptr; }
    void SetCapacity(LONG n);
    void Clear();

protected:
    TPointerList() = default;
    ~TPointerList() override;
    void Destroy() override;
    friend struct ObjectAccess;
};

TPointerList* NewList();
