// The base of every toolkit object: a holder count, a destruction event, and the list of
// objects that are freed together with it (the auto-free list).
#pragma once

#include "windows.h"

class TRefObject;
class TPointerList;

// An event handler: Code(Data, sender), where sender is the object that fires it. An
// event whose Code is nil is not fired.
using TEventCode = void (*)(void* data, TRefObject* sender);

struct TOnEvent {
    TEventCode Code = nullptr;
    void* Data = nullptr;

    bool IsSet() const { return Code != nullptr; }
    void Fire(TRefObject* sender) const {
        if (Code != nullptr) {
            Code(Data, sender);
        }
    }
};

// Binds a typed handler to an event without casts at the call site: either a function
// `void F(Data*, Sender*)` or a member `void Data::F(Sender*)`, with the object as data.
template <class T>
struct TEventBinding;
template <class Object, class Sender>
struct TEventBinding<void (*)(Object*, Sender*)> {
    using Data = Object;
    template <auto Handler>
    static void Call(void* data, TRefObject* sender) {
        Handler(static_cast<Object*>(data), static_cast<Sender*>(sender));
    }
};
template <class Object, class Sender>
struct TEventBinding<void (Object::*)(Sender*)> {
    using Data = Object;
    template <auto Handler>
    static void Call(void* data, TRefObject* sender) {
        (static_cast<Object*>(data)->*Handler)(static_cast<Sender*>(sender));
    }
};

template <auto Handler>
TOnEvent MakeEvent(typename TEventBinding<decltype(Handler)>::Data* data) {
    using Binding = TEventBinding<decltype(Handler)>;
    return TOnEvent{&Binding::template Call<Handler>, data};
}

// The one door in: every toolkit class makes this its friend and keeps its constructor
// protected, so objects are made only through NewObject and the constructor functions.
struct ObjectAccess {
    template <class T>
    static T* Allocate() {
        return new T();
    }
};

class TRefObject {
public:
    // Extra holders of the object: 0 after creation, negative once destruction has begun.
    // A hold taken during the destruction (each message the window receives is held)
    // makes it non-negative again, so code asks DestructionBegun, not the sign.
    LONG RefCount = 0;
    TOnEvent OnDestroy;
    // (release procedure, object) pairs, newest pair first; nil until first used.
    TPointerList* AutoFreeList = nullptr;

    // Virtual operations in their fixed order.
    virtual void Init() {}

    // Destroy has been entered: the object is being torn down (or, inside its own
    // OnDestroy, about to be).
    bool DestructionBegun() const { return m_destroyEntered; }

protected:
    // Runs when the last holder lets go; ends by releasing the memory.
    virtual void Destroy();

    TRefObject() = default;
    virtual ~TRefObject() = default;
    TRefObject(const TRefObject&) = delete;
    TRefObject& operator=(const TRefObject&) = delete;

    // The three steps of the final cleanup, which every Destroy ends with.
    void FireOnDestroy();
    void FreeAutoFreeObjects();
    void DropAutoFreeList();

    friend struct ObjectAccess;
    friend void Free(TRefObject* object);

private:
    // Set when Destroy is entered, so that a Free reaching an object already being
    // destroyed (its count is negative) can never start a second destruction.
    bool m_destroyEntered = false;
};

// A zero-filled object whose Init has run.
template <class T>
T* NewObject() {
    T* object = ObjectAccess::Allocate<T>();
    object->Init();
    return object;
}

inline void AddRef(TRefObject* object) {
    if (object != nullptr) {
        ++object->RefCount;
    }
}
// Drops one holder; the object is destroyed when no holder is left. nil is ignored.
void Free(TRefObject* object);

// Clears the caller's variable before freeing the object, so code that runs during the
// teardown never reaches a half-destroyed object through it.
template <class T>
void FreeAndNil(T*& variable) {
    T* object = variable;
    variable = nullptr;
    Free(object);
}

// The object is freed together with the owner, in the order in which objects were
// attached.
void AddToAutoFree(TRefObject* owner, TRefObject* object);
// Detaches the object again without freeing it; nothing happens when it is not attached.
void RemoveFromAutoFree(TRefObject* owner, TRefObject* object);

// Holds an object for a scope (AddRef now, Free at the end, also while an exception
// passes), so that code which may free the object it runs on cannot pull it away
// underneath the caller.
class Hold {
public:
    explicit Hold(TRefObject* object) : m_object(object) { AddRef(m_object); }
    ~Hold() { Free(m_object); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    TRefObject* m_object;
};
