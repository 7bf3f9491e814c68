// LoadStringA: string tables in blocks of 16 counted UTF-16 strings, block
// id / 16 + 1 holding string id.
#include "platform/core/resources.h"

#include "platform/api/windows.h"

#include <cstring>

using namespace layer;

int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    ResourceData block;
    if (id > 0xFFFF || !IsMainInstance(instance) ||
        !FindResourceData(OSTREL_RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), &block)) {
        return 0;
    }
    size_t offset = 0;
    for (UINT index = 0; index <= id % 16; ++index) {
        WORD length;
        if (offset + sizeof length > block.size) {
            return 0;
        }
        std::memcpy(&length, block.data + offset, sizeof length);
        offset += sizeof length;
        if (length > (block.size - offset) / 2) {
            return 0;  // a string that runs past its block
        }
        if (index == id % 16) {
            int count = length < bufferMax - 1 ? length : bufferMax - 1;
            for (int i = 0; i < count; ++i) {
                WORD c;
                std::memcpy(&c, block.data + offset + 2 * static_cast<size_t>(i), sizeof c);
                buffer[i] = c < 0x100 ? static_cast<char>(c) : '?';
            }
            buffer[count] = '\0';
            return count;
        }
        offset += 2 * static_cast<size_t>(length);
    }
    return 0;
}
