// GDI pixel surfaces: every top-level window that is drawn with GDI owns one,
// the size of its window rectangle (frame included). Child windows draw into
// their top-level window's surface through a device context whose origin and
// clip are the child's client area.
#pragma once

#include "platform/api/windows.h"

#include <cstdint>
#include <vector>

namespace layer {

// 32-bit pixels 0x00RRGGBB, top row first.
struct GdiSurface {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Where a device context draws: the surface, the client origin of its window
// on that surface, and the clip rectangle (surface coordinates) that keeps
// drawing inside the window's client area and those of its ancestors.
struct DrawTarget {
    GdiSurface* surface = nullptr;
    POINT origin{};
    RECT clip{};
};

// The surface of a top-level window, created or resized to its window
// rectangle on demand; null for anything that is not a live top-level window.
GdiSurface* SurfaceOf(HWND topLevel);
// The surface that exists for a window, without creating one.
const GdiSurface* ExistingSurfaceOf(HWND topLevel);
// Drops every surface (the layer is reset).
void ForgetAllSurfaces();
// The drawing target of a device context; false for the screen or a stale DC.
bool TargetOf(HDC dc, DrawTarget* target);
// The client area of a window on its top-level surface.
RECT ClientRectOnSurface(HWND window);

uint32_t PixelOf(COLORREF colour);
RECT Intersect(const RECT& a, const RECT& b);
bool IsEmpty(const RECT& r);

// Drawing in the device context's client coordinates, clipped.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
// A 1-pixel line rectangle outline.
void FrameSolid(HDC dc, const RECT& rect, COLORREF colour);
// The dotted focus rectangle: every other pixel of the outline inverted.
void DrawFocusDots(HDC dc, const RECT& rect);
// The bitmap at its own size with its top left at (x, y).
void DrawBitmapAt(HDC dc, HBITMAP bitmap, int x, int y);
// A classic push-button face: raised (or pressed) 3D edges, an extra black
// frame for the default button. Returns the rectangle inside the edges.
RECT DrawButtonFace(HDC dc, const RECT& rect, bool pressed, bool isDefault);
// The frame of a top-level window (WS_BORDER: one black pixel all round).
void DrawWindowFrame(HWND topLevel);

}  // namespace layer
