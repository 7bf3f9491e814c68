// The layer's handle table. Every object the system code sees through a
// handle (window, device context, bitmap, font, cursor, module, key, GL
// context) lives here under a small number that is never reused, so a stale
// or made-up handle is simply not found.
#pragma once

#include "platform/api/types.h"

#include <cstdint>

namespace layer {

enum class ObjectKind : uint8_t {
    Window,
    DeviceContext,
    Bitmap,
    Brush,
    Font,
    Pen,
    Cursor,
    Module,
    RegistryKey,
    GLContext,
};

struct Object {
    explicit Object(ObjectKind k) : kind(k) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    const ObjectKind kind;
    uintptr_t handle = 0;
};

// Takes ownership; returns the new handle value (also stored in object->handle).
uintptr_t AddObject(Object* object);
// The object behind a handle value, or null when there is none.
Object* FindObject(uintptr_t handle);
// Forgets the handle and deletes the object.
void RemoveObject(uintptr_t handle);

template <class T>
T* Find(const void* handle) {
    Object* object = FindObject(reinterpret_cast<uintptr_t>(handle));
    return object != nullptr && object->kind == T::kKind ? static_cast<T*>(object) : nullptr;
}

template <class H>
H HandleOf(const Object* object) {
    return object != nullptr ? reinterpret_cast<H>(object->handle) : nullptr;
}

}  // namespace layer
