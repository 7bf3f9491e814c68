// GDI pixel surfaces of top-level windows and the plain drawing primitives
// that controls and the dialog manager paint with.
#include "platform/core/gdi_surface.h"

#include "platform/core/gdi_objects.h"
#include "platform/core/window.h"

#include <algorithm>
#include <unordered_map>

namespace layer {
namespace {

std::unordered_map<HWND, GdiSurface>& Surfaces() {
    static std::unordered_map<HWND, GdiSurface> surfaces;
    return surfaces;
}

// Handles are never reused, so surfaces of windows that are gone are simply
// dropped the next time a surface is made.
void DropStaleSurfaces() {
    auto& surfaces = Surfaces();
    for (auto it = surfaces.begin(); it != surfaces.end();) {
        it = FindWindowObject(it->first) == nullptr ? surfaces.erase(it) : std::next(it);
    }
}

void FillOnSurface(const DrawTarget& target, RECT area, uint32_t pixel) {
    area = Intersect(area, target.clip);
    for (LONG y = area.top; y < area.bottom; ++y) {
        uint32_t* row = target.surface->pixels.data() + static_cast<size_t>(y) * target.surface->width;
        std::fill(row + area.left, row + area.right, pixel);
    }
}

RECT OnSurface(const DrawTarget& target, const RECT& rect) {
    return RECT{rect.left + target.origin.x, rect.top + target.origin.y, rect.right + target.origin.x,
                rect.bottom + target.origin.y};
}

// Top-left and bottom-right 1-pixel edges of a rectangle in two colours.
void Edges(const DrawTarget& target, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    if (IsEmpty(r)) {
        return;
    }
    uint32_t light = PixelOf(topLeft);
    uint32_t dark = PixelOf(bottomRight);
    FillOnSurface(target, RECT{r.left, r.top, r.right - 1, r.top + 1}, light);
    FillOnSurface(target, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, light);
    FillOnSurface(target, RECT{r.left, r.bottom - 1, r.right, r.bottom}, dark);
    FillOnSurface(target, RECT{r.right - 1, r.top, r.right, r.bottom}, dark);
}

RECT Inset(const RECT& r, LONG by) {
    return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

}  // namespace

uint32_t PixelOf(COLORREF colour) {
    return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (static_cast<uint32_t>(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (IsEmpty(r)) {
        r = RECT{0, 0, 0, 0};
    }
    return r;
}

bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

GdiSurface* SurfaceOf(HWND topLevel) {
    const Window* window = FindWindowObject(topLevel);
    if (window == nullptr || (window->style & WS_CHILD) != 0) {
        return nullptr;
    }
    int width = std::max<LONG>(window->rect.right - window->rect.left, 0);
    int height = std::max<LONG>(window->rect.bottom - window->rect.top, 0);
    auto& surfaces = Surfaces();
    auto it = surfaces.find(topLevel);
    if (it == surfaces.end()) {
        DropStaleSurfaces();
        it = surfaces.emplace(topLevel, GdiSurface{}).first;
    }
    GdiSurface& surface = it->second;
    if (surface.width != width || surface.height != height) {
        surface.width = width;
        surface.height = height;
        surface.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    }
    return &surface;
}

void ForgetAllSurfaces() {
    Surfaces().clear();
}

const GdiSurface* ExistingSurfaceOf(HWND topLevel) {
    if (FindWindowObject(topLevel) == nullptr) {
        return nullptr;
    }
    auto it = Surfaces().find(topLevel);
    return it != Surfaces().end() ? &it->second : nullptr;
}

RECT ClientRectOnSurface(HWND handle) {
    const Window* window = FindWindowObject(handle);
    const Window* top = FindWindowObject(RootOf(handle));
    if (window == nullptr || top == nullptr) {
        return RECT{0, 0, 0, 0};
    }
    POINT origin = ClientOrigin(window);
    SIZE size = ClientSize(window);
    LONG x = origin.x - top->rect.left;
    LONG y = origin.y - top->rect.top;
    return RECT{x, y, x + size.cx, y + size.cy};
}

bool TargetOf(HDC dc, DrawTarget* target) {
    const DeviceContext* context = Find<DeviceContext>(dc);
    if (context == nullptr || FindWindowObject(context->window) == nullptr) {
        return false;
    }
    HWND top = RootOf(context->window);
    GdiSurface* surface = SurfaceOf(top);
    if (surface == nullptr) {
        return false;
    }
    RECT client = ClientRectOnSurface(context->window);
    RECT clip = Intersect(client, RECT{0, 0, surface->width, surface->height});
    // A child is clipped by the client areas of all its ancestors.
    HWND handle = context->window;
    for (int depth = 0; handle != top && depth < 64; ++depth) {
        handle = FindWindowObject(handle)->parent;
        clip = Intersect(clip, ClientRectOnSurface(handle));
    }
    *target = DrawTarget{surface, POINT{client.left, client.top}, clip};
    return true;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    DrawTarget target;
    if (TargetOf(dc, &target)) {
        FillOnSurface(target, OnSurface(target, rect), PixelOf(colour));
    }
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF colour) {
    DrawTarget target;
    if (TargetOf(dc, &target)) {
        Edges(target, OnSurface(target, rect), colour, colour);
    }
}

void DrawFocusDots(HDC dc, const RECT& rect) {
    DrawTarget target;
    if (!TargetOf(dc, &target)) {
        return;
    }
    RECT r = OnSurface(target, rect);
    if (IsEmpty(r)) {
        return;
    }
    auto invert = [&](LONG x, LONG y) {
        if (x >= target.clip.left && x < target.clip.right && y >= target.clip.top && y < target.clip.bottom) {
            uint32_t& p = target.surface->pixels[static_cast<size_t>(y) * target.surface->width + x];
            p ^= 0x00FFFFFF;
        }
    };
    // Dots on the pixel grid, so that neighbouring edges share the pattern.
    for (LONG x = r.left; x < r.right; ++x) {
        if (((x + r.top) & 1) == 0) {
            invert(x, r.top);
        }
        if (r.bottom - 1 > r.top && ((x + r.bottom - 1) & 1) == 0) {
            invert(x, r.bottom - 1);
        }
    }
    for (LONG y = r.top + 1; y < r.bottom - 1; ++y) {
        if (((r.left + y) & 1) == 0) {
            invert(r.left, y);
        }
        if (r.right - 1 > r.left && ((r.right - 1 + y) & 1) == 0) {
            invert(r.right - 1, y);
        }
    }
}

void DrawBitmapAt(HDC dc, HBITMAP handle, int x, int y) {
    DrawTarget target;
    const Bitmap* bitmap = Find<Bitmap>(handle);
    if (bitmap == nullptr || bitmap->bitsPerPixel != 24 || !TargetOf(dc, &target)) {
        return;
    }
    RECT dest = OnSurface(target, RECT{x, y, x + bitmap->width, y + bitmap->height});
    RECT visible = Intersect(dest, target.clip);
    for (LONG sy = visible.top; sy < visible.bottom; ++sy) {
        // The bitmap keeps its rows bottom-up.
        LONG row = bitmap->height - 1 - (sy - dest.top);
        const BYTE* source = bitmap->bits.data() + static_cast<size_t>(row) * bitmap->stride;
        uint32_t* out = target.surface->pixels.data() + static_cast<size_t>(sy) * target.surface->width;
        for (LONG sx = visible.left; sx < visible.right; ++sx) {
            const BYTE* bgr = source + static_cast<size_t>(sx - dest.left) * 3;
            out[sx] = (static_cast<uint32_t>(bgr[2]) << 16) | (static_cast<uint32_t>(bgr[1]) << 8) | bgr[0];
        }
    }
}

RECT DrawButtonFace(HDC dc, const RECT& rect, bool pressed, bool isDefault) {
    DrawTarget target;
    if (!TargetOf(dc, &target)) {
        return rect;
    }
    RECT r = OnSurface(target, rect);
    FillOnSurface(target, r, PixelOf(GetSysColor(COLOR_BTNFACE)));
    if (isDefault) {
        Edges(target, r, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DDKSHADOW));
        r = Inset(r, 1);
    }
    if (pressed) {
        Edges(target, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
        r = Inset(r, 1);
    } else {
        Edges(target, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
        r = Inset(r, 1);
        Edges(target, r, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_BTNSHADOW));
        r = Inset(r, 1);
    }
    return RECT{r.left - target.origin.x, r.top - target.origin.y, r.right - target.origin.x,
                r.bottom - target.origin.y};
}

void DrawWindowFrame(HWND topLevel) {
    const Window* window = FindWindowObject(topLevel);
    GdiSurface* surface = SurfaceOf(topLevel);
    if (window == nullptr || surface == nullptr || (window->style & WS_BORDER) == 0) {
        return;
    }
    DrawTarget target{surface, POINT{0, 0}, RECT{0, 0, surface->width, surface->height}};
    Edges(target, target.clip, 0x00000000, 0x00000000);
}

}  // namespace layer
