#include "platform/core/resources.h"

#include <cctype>
#include <cstring>

namespace layer {
namespace {

struct ResourceImage {
    const BYTE* bytes = nullptr;
    size_t size = 0;
};

ResourceImage& Image() {
    static ResourceImage image;
    return image;
}

DWORD ReadDword(const BYTE* p) {
    DWORD value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

WORD ReadWord(const BYTE* p) {
    WORD value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// A type or name field of a resource header: 0xFFFF and a number, or a
// zero-terminated UTF-16 string. Returns the offset just past it, or 0 when
// the field runs past `end`.
size_t SkipNameField(const BYTE* base, size_t offset, size_t end, WORD* id, const BYTE** text) {
    if (offset + 2 > end) {
        return 0;
    }
    if (ReadWord(base + offset) == 0xFFFF) {
        if (offset + 4 > end) {
            return 0;
        }
        *id = ReadWord(base + offset + 2);
        *text = nullptr;
        return offset + 4;
    }
    *id = 0;
    *text = base + offset;
    while (offset + 2 <= end) {
        WORD c = ReadWord(base + offset);
        offset += 2;
        if (c == 0) {
            return offset;
        }
    }
    return 0;
}

bool NameMatches(WORD id, const BYTE* text, LPCSTR name) {
    if (IS_INTRESOURCE(name)) {
        return text == nullptr && id == LOWORD(name);
    }
    if (text == nullptr) {
        // "#123" names an integer resource.
        if (name[0] == '#') {
            unsigned long value = 0;
            for (const char* p = name + 1; *p != '\0'; ++p) {
                if (*p < '0' || *p > '9') {
                    return false;
                }
                value = value * 10 + static_cast<unsigned long>(*p - '0');
                if (value > 0xFFFF) {
                    return false;
                }
            }
            return name[1] != '\0' && value == id;
        }
        return false;
    }
    for (size_t i = 0;; ++i) {
        WORD c = ReadWord(text + 2 * i);
        unsigned char n = static_cast<unsigned char>(name[i]);
        if (c == 0 || n == 0) {
            return c == 0 && n == 0;
        }
        if (c > 0x7F || std::toupper(c) != std::toupper(n)) {
            return false;
        }
    }
}

}  // namespace

void SetResourceImage(const BYTE* image, size_t size) {
    Image() = ResourceImage{image, size};
}

const BYTE* ResourceImageBytes(size_t* size) {
    *size = Image().size;
    return Image().bytes;
}

bool FindResourceData(WORD type, LPCSTR name, ResourceData* out) {
    const ResourceImage& image = Image();
    if (image.bytes == nullptr || name == nullptr) {
        return false;
    }
    size_t offset = 0;
    while (offset + 8 <= image.size) {
        DWORD dataSize = ReadDword(image.bytes + offset);
        DWORD headerSize = ReadDword(image.bytes + offset + 4);
        if (headerSize < 16 || headerSize > image.size - offset || dataSize > image.size - offset - headerSize) {
            return false;  // malformed: stop rather than read past the image
        }
        size_t headerEnd = offset + headerSize;
        WORD typeId = 0;
        WORD nameId = 0;
        const BYTE* typeText = nullptr;
        const BYTE* nameText = nullptr;
        size_t at = SkipNameField(image.bytes, offset + 8, headerEnd, &typeId, &typeText);
        if (at != 0) {
            at = SkipNameField(image.bytes, at, headerEnd, &nameId, &nameText);
        }
        if (at != 0 && typeText == nullptr && typeId == type && dataSize > 0 && NameMatches(nameId, nameText, name)) {
            out->data = image.bytes + headerEnd;
            out->size = dataSize;
            return true;
        }
        offset = (headerEnd + dataSize + 3) & ~static_cast<size_t>(3);
    }
    return false;
}

HINSTANCE MainInstance() {
    // Windows loads executables at 0x00400000; we use the same value so that
    // it reads familiarly in logs and on command lines.
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x00400000));
}

bool IsMainInstance(HINSTANCE instance) {
    return instance == nullptr || instance == MainInstance();
}

}  // namespace layer
