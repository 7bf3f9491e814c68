// The process heap. Blocks come from malloc; the heap remembers them so
// that a free of something it never handed out (or a second free) is
// refused instead of corrupting memory.
#include "platform/core/failures.h"
#include "platform/core/system_state.h"

#include <cstdlib>
#include <cstring>
#include <unordered_set>

using namespace layer;

namespace layer {
namespace {

// Windows puts the process heap of a small program about here.
HANDLE const kProcessHeap = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x00140000));
// What a block that is not zero-filled holds, so that code relying on zeros shows up.
constexpr int kUninitialisedByte = 0xCD;

std::unordered_set<void*>& Blocks() {
    static std::unordered_set<void*> blocks;
    return blocks;
}

}  // namespace

size_t LiveHeapBlockCount() {
    return Blocks().size();
}

void ResetHeap() {
    for (void* block : Blocks()) {
        std::free(block);
    }
    Blocks().clear();
}

}  // namespace layer

HANDLE WINAPI GetProcessHeap(void) {
    return kProcessHeap;
}

LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    if (heap != kProcessHeap) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (TakeFailure(Failure::HeapAlloc)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* block = std::malloc(bytes != 0 ? bytes : 1);
    if (block == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::memset(block, (flags & HEAP_ZERO_MEMORY) != 0 ? 0 : kUninitialisedByte, bytes != 0 ? bytes : 1);
    Blocks().insert(block);
    return block;
}

BOOL WINAPI HeapFree(HANDLE heap, DWORD, LPVOID memory) {
    if (heap != kProcessHeap) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (memory == nullptr) {
        return TRUE;
    }
    if (Blocks().erase(memory) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::free(memory);
    return TRUE;
}
