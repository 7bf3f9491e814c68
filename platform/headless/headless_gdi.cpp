// Read-back of GDI surfaces for tests and screenshots.
#include "platform/headless/headless_gdi.h"

#include "platform/core/gdi_surface.h"
#include "platform/core/window.h"

using namespace layer;

namespace {

bool ReadArea(const GdiSurface* surface, const RECT& wanted, headless::Frame* frame) {
    if (surface == nullptr || frame == nullptr) {
        return false;
    }
    RECT area = Intersect(wanted, RECT{0, 0, surface->width, surface->height});
    frame->width = area.right - area.left;
    frame->height = area.bottom - area.top;
    frame->rgb.resize(static_cast<size_t>(frame->width) * frame->height * 3);
    for (int y = 0; y < frame->height; ++y) {
        for (int x = 0; x < frame->width; ++x) {
            uint32_t pixel = surface->pixels[static_cast<size_t>(area.top + y) * surface->width + area.left + x];
            uint8_t* out = frame->Pixel(x, y);
            out[0] = static_cast<uint8_t>(pixel >> 16);
            out[1] = static_cast<uint8_t>(pixel >> 8);
            out[2] = static_cast<uint8_t>(pixel);
        }
    }
    return true;
}

}  // namespace

namespace headless {

bool ReadWindowSurface(HWND window, Frame* frame) {
    return ReadArea(ExistingSurfaceOf(RootOf(window)), ClientRectOnSurface(window), frame);
}

bool ReadWindowScreenshot(HWND window, Frame* frame) {
    const GdiSurface* surface = ExistingSurfaceOf(RootOf(window));
    return surface != nullptr && ReadArea(surface, RECT{0, 0, surface->width, surface->height}, frame);
}

}  // namespace headless
