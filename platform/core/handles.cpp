#include "platform/core/handles.h"

#include <memory>
#include <unordered_map>

namespace layer {
namespace {

struct HandleTable {
    std::unordered_map<uintptr_t, std::unique_ptr<Object>> objects;
    // Win32 handle values are multiples of 4 well below 2^32; ours too, so
    // that a handle survives the trip through a decimal command line.
    uintptr_t next = 0x10004;
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

}  // namespace

uintptr_t AddObject(Object* object) {
    HandleTable& table = Table();
    uintptr_t value = table.next;
    table.next += 4;
    object->handle = value;
    table.objects.emplace(value, std::unique_ptr<Object>(object));
    return value;
}

Object* FindObject(uintptr_t handle) {
    HandleTable& table = Table();
    auto it = table.objects.find(handle);
    return it == table.objects.end() ? nullptr : it->second.get();
}

void RemoveObject(uintptr_t handle) {
    Table().objects.erase(handle);
}

}  // namespace layer
