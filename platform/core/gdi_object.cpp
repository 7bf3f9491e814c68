// The generic GDI object calls: stock objects, GetObjectA, SelectObject,
// DeleteObject.
#include "platform/core/gdi_font.h"
#include "platform/core/gdi_objects.h"

#include <algorithm>
#include <cstring>

using namespace layer;

namespace {

// Stock objects are fixed small handle values below the handle table's range.
constexpr uintptr_t kStockBase = 0x1000;

}  // namespace

HGDIOBJ WINAPI GetStockObject(int index) {
    if (index < 0 || index > DEFAULT_GUI_FONT) {
        return nullptr;
    }
    return reinterpret_cast<HGDIOBJ>(kStockBase + 4 * static_cast<uintptr_t>(index));
}

int WINAPI GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
    if (const Bitmap* bitmap = Find<Bitmap>(object)) {
        if (buffer == nullptr) {
            return static_cast<int>(sizeof(BITMAP));
        }
        BITMAP info{0,
                    bitmap->width,
                    bitmap->height,
                    bitmap->stride,
                    1,
                    bitmap->bitsPerPixel,
                    const_cast<BYTE*>(bitmap->bits.data())};
        int count = std::clamp(size, 0, static_cast<int>(sizeof info));
        std::memcpy(buffer, &info, static_cast<size_t>(count));
        return count;
    }
    if (const Font* font = FontOf(object)) {
        if (buffer == nullptr) {
            return static_cast<int>(sizeof(LOGFONTA));
        }
        int count = std::clamp(size, 0, static_cast<int>(sizeof(LOGFONTA)));
        std::memcpy(buffer, &font->logFont, static_cast<size_t>(count));
        return count;
    }
    return 0;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext* context = Find<DeviceContext>(dc);
    if (context == nullptr || object == nullptr) {
        return nullptr;
    }
    // Fonts are the only objects a window's device context takes here.
    if (FontOf(object) != nullptr) {
        HGDIOBJ previous = context->font != nullptr ? context->font : GetStockObject(SYSTEM_FONT);
        context->font = object;
        return previous;
    }
    return nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    uintptr_t value = reinterpret_cast<uintptr_t>(object);
    if (value >= kStockBase && value < kStockBase + 4 * (DEFAULT_GUI_FONT + 1)) {
        return TRUE;  // stock objects are never deleted
    }
    Object* found = FindObject(value);
    if (found == nullptr) {
        return FALSE;
    }
    switch (found->kind) {
        case ObjectKind::Bitmap:
        case ObjectKind::Brush:
        case ObjectKind::Font:
        case ObjectKind::Pen:
            RemoveObject(value);
            return TRUE;
        default:
            return FALSE;
    }
}
