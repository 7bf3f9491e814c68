// Bitmaps loaded from the executable's resources, kept as DIB sections.
#include "platform/core/gdi_objects.h"
#include "platform/core/resources.h"

#include <cstring>

using namespace layer;

namespace {

constexpr DWORD kInfoHeaderSize = 40;

// Builds a bitmap from a packed DIB (info header, colour table, pixels), or
// returns null when the data is not a 24-bit uncompressed picture that fits.
Bitmap* BitmapFromPackedDib(const BYTE* data, DWORD size) {
    if (size < kInfoHeaderSize) {
        return nullptr;
    }
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    if (header.biSize < kInfoHeaderSize || header.biSize > size || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biPlanes != 1 || header.biBitCount != 24 || header.biCompression != BI_RGB) {
        return nullptr;
    }
    int64_t width = header.biWidth;
    int64_t height = header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight;
    int64_t stride = (width * 3 + 3) & ~int64_t{3};
    int64_t pixelBytes = stride * height;
    int64_t offset = header.biSize + int64_t{4} * header.biClrUsed;
    if (width > 32767 || height > 32767 || offset + pixelBytes > size) {
        return nullptr;
    }
    auto* bitmap = new Bitmap();
    bitmap->width = static_cast<LONG>(width);
    bitmap->height = static_cast<LONG>(height);
    bitmap->bitsPerPixel = 24;
    bitmap->stride = static_cast<LONG>(stride);
    bitmap->bits.resize(static_cast<size_t>(pixelBytes));
    const BYTE* pixels = data + offset;
    if (header.biHeight > 0) {
        std::memcpy(bitmap->bits.data(), pixels, static_cast<size_t>(pixelBytes));
    } else {
        // Top-down source: keep our bottom-up layout.
        for (int64_t row = 0; row < height; ++row) {
            std::memcpy(bitmap->bits.data() + (height - 1 - row) * stride, pixels + row * stride,
                        static_cast<size_t>(stride));
        }
    }
    return bitmap;
}

}  // namespace

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int, int, UINT flags) {
    if (type != IMAGE_BITMAP || (flags & LR_LOADFROMFILE) != 0 || !IsMainInstance(instance)) {
        return nullptr;
    }
    ResourceData resource;
    if (!FindResourceData(OSTREL_RT_BITMAP, name, &resource)) {
        return nullptr;
    }
    Bitmap* bitmap = BitmapFromPackedDib(resource.data, resource.size);
    if (bitmap == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HANDLE>(AddObject(bitmap));
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR name) {
    return static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}
