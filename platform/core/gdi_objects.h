// GDI objects as the layer keeps them: device contexts and bitmaps.
#pragma once

#include "platform/api/windows.h"
#include "platform/core/handles.h"

#include <vector>

namespace layer {

struct DeviceContext : Object {
    static constexpr ObjectKind kKind = ObjectKind::DeviceContext;
    DeviceContext() : Object(kKind) {}

    HWND window = nullptr;  // null: the whole screen
    bool owned = false;     // CS_OWNDC: lives as long as its window, ReleaseDC keeps it
    int pixelFormat = 0;    // set once by SetPixelFormat
    COLORREF textColour = 0x00000000;
    COLORREF backColour = 0x00FFFFFF;
    int backMode = 2;  // OPAQUE
    HGDIOBJ font = nullptr;
    HGDIOBJ bitmap = nullptr;
};

// A device-independent bitmap: bottom-up rows of 24-bit BGR pixels, each row
// padded to a multiple of 4 bytes, as the bitmap resources store them.
struct Bitmap : Object {
    static constexpr ObjectKind kKind = ObjectKind::Bitmap;
    Bitmap() : Object(kKind) {}

    LONG width = 0;
    LONG height = 0;  // positive: bottom-up
    WORD bitsPerPixel = 24;
    LONG stride = 0;
    std::vector<BYTE> bits;
};

HDC CreateWindowDC(HWND window, bool owned);
void DestroyWindowDC(HDC dc);

}  // namespace layer
