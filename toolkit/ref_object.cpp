// Holder counts, destruction and the auto-free list of TRefObject.
#include "ref_object.h"

#include "pointer_list.h"

namespace {

// The release procedure stored beside each auto-free object.
using TReleaseProc = void (*)(TRefObject*);

void* ProcEntry(TReleaseProc proc) { return reinterpret_cast<void*>(proc); }

} // namespace

void Free(TRefObject* object) {
    if (object == nullptr) {
        return;
    }
    --object->RefCount;
    if (object->RefCount < 0 && !object->m_destroyEntered) {
        object->m_destroyEntered = true;
        object->Destroy();
    }
}

void TRefObject::FireOnDestroy() {
    if (OnDestroy.IsSet()) {
        TOnEvent event = OnDestroy;
        event.Fire(this);
        OnDestroy = TOnEvent{};
    }
}

void TRefObject::FreeAutoFreeObjects() {
    // The newest pair is at the front, so taking pairs from the back frees the objects in
    // the order in which they were attached.
    while (AutoFreeList != nullptr && AutoFreeList->Count >= 2) {
        LONG count = AutoFreeList->Count;
        auto proc = reinterpret_cast<TReleaseProc>(AutoFreeList->Get(count - 2));
        auto* object = static_cast<TRefObject*>(AutoFreeList->Get(count - 1));
        AutoFreeList->DeleteRange(count - 2, 2);
        if (proc != nullptr) {
            proc(object);
        }
    }
}

void TRefObject::DropAutoFreeList() {
    TPointerList* list = AutoFreeList;
    AutoFreeList = nullptr;
    Free(list);
}

void TRefObject::Destroy() {
    FireOnDestroy();
    FreeAutoFreeObjects();
    DropAutoFreeList();
    delete this;
}

void AddToAutoFree(TRefObject* owner, TRefObject* object) {
    if (owner == nullptr) {
        return;
    }
    if (owner->AutoFreeList == nullptr) {
        owner->AutoFreeList = NewList();
    }
    owner->AutoFreeList->Insert(0, object);
    owner->AutoFreeList->Insert(0, ProcEntry(&Free));
}

void RemoveFromAutoFree(TRefObject* owner, TRefObject* object) {
    if (owner == nullptr || owner->AutoFreeList == nullptr) {
        return;
    }
    TPointerList* list = owner->AutoFreeList;
    LONG index = list->IndexOf(object);
    if (index < 0) {
        return;
    }
    list->DeleteRange(index & ~1, 2);
    if (list->Count == 0) {
        owner->AutoFreeList = nullptr;
        Free(list);
    }
}
