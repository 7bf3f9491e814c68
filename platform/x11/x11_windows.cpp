// Real X windows for the layer's windows: made, shown and destroyed as the
// core's windows are, GDI surfaces put on screen, the cursor applied.
#include "platform/core/cursor.h"
#include "platform/core/gdi_surface.h"
#include "platform/core/host.h"
#include "platform/core/window.h"
#include "platform/x11/x11_state.h"
#include "platform/x11/x11_wgl.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <map>

namespace x11 {
namespace {

constexpr long kOwnWindowEvents = ExposureMask | StructureNotifyMask | PointerMotionMask | ButtonPressMask |
                                  ButtonReleaseMask | KeyPressMask | KeyReleaseMask | FocusChangeMask;

::Window MakeXWindow(::Window parent, const RECT& area, bool overrideRedirect, long events) {
    Connection& x = X();
    XSetWindowAttributes attributes{};
    attributes.colormap = x.colormap;
    attributes.border_pixel = 0;
    attributes.background_pixel = BlackPixel(x.display, x.screen);
    attributes.override_redirect = overrideRedirect ? True : False;
    attributes.event_mask = events;
    unsigned width = static_cast<unsigned>(std::max<LONG>(area.right - area.left, 1));
    unsigned height = static_cast<unsigned>(std::max<LONG>(area.bottom - area.top, 1));
    return XCreateWindow(x.display, parent, area.left, area.top, width, height, 0, x.depth, InputOutput, x.visual,
                         CWColormap | CWBorderPixel | CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
}

// A window manager, if any, is asked to keep the place and size the layer gave.
void DescribeToWindowManager(::Window xid, const layer::Window* window, const RECT& area) {
    Connection& x = X();
    XStoreName(x.display, xid, window->text.c_str());
    XSizeHints* hints = XAllocSizeHints();
    if (hints != nullptr) {
        hints->flags = USPosition | PPosition | PMinSize | PMaxSize;
        hints->x = area.left;
        hints->y = area.top;
        hints->min_width = hints->max_width = std::max<LONG>(area.right - area.left, 1);
        hints->min_height = hints->max_height = std::max<LONG>(area.bottom - area.top, 1);
        XSetWMNormalHints(x.display, xid, hints);
        XFree(hints);
    }
    XSetWMProtocols(x.display, xid, &x.deleteWindow, 1);
}

void PutSurface(NativeWindow& native, const layer::GdiSurface& surface) {
    Connection& x = X();
    native.presented = surface.pixels;
    XImage image{};
    image.width = surface.width;
    image.height = surface.height;
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(native.presented.data());
    image.byte_order = LSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = LSBFirst;
    image.bitmap_pad = 32;
    image.depth = x.depth;
    image.bytes_per_line = surface.width * 4;
    image.bits_per_pixel = 32;
    image.red_mask = 0xFF0000;
    image.green_mask = 0x00FF00;
    image.blue_mask = 0x0000FF;
    std::vector<uint32_t> converted;
    if (x.visual->red_mask != 0xFF0000 || x.visual->green_mask != 0x00FF00 || x.visual->blue_mask != 0x0000FF) {
        // Another TrueColor layout: place each channel under the visual's mask.
        auto place = [](uint32_t value, unsigned long mask) -> uint32_t {
            if (mask == 0) {
                return 0;
            }
            int shift = __builtin_ctzl(mask);
            int bits = __builtin_popcountl(mask);
            return static_cast<uint32_t>(((value >> (8 - std::min(bits, 8))) << shift) & mask);
        };
        converted.resize(surface.pixels.size());
        for (size_t i = 0; i < converted.size(); ++i) {
            uint32_t p = surface.pixels[i];
            converted[i] = place((p >> 16) & 0xFF, x.visual->red_mask) | place((p >> 8) & 0xFF, x.visual->green_mask) |
                           place(p & 0xFF, x.visual->blue_mask);
        }
        image.data = reinterpret_cast<char*>(converted.data());
        image.red_mask = x.visual->red_mask;
        image.green_mask = x.visual->green_mask;
        image.blue_mask = x.visual->blue_mask;
    }
    if (!XInitImage(&image)) {
        return;
    }
    GC gc = XCreateGC(x.display, native.xid, 0, nullptr);
    XPutImage(x.display, native.xid, gc, &image, 0, 0, 0, 0, static_cast<unsigned>(surface.width),
              static_cast<unsigned>(surface.height));
    XFreeGC(x.display, gc);
    native.needsPresent = false;
}

void ApplyCursor() {
    Connection& x = X();
    if (layer::SetCursorLog().empty()) {
        return;  // nobody has set a cursor: the X default stays
    }
    HCURSOR wanted = layer::CurrentCursor();
    bool hidden = wanted == nullptr || layer::CursorShowCount() < 0;
    if (x.cursorKnown && hidden == x.cursorHidden && (hidden || wanted == x.shownCursor)) {
        return;
    }
    ::Cursor cursor = hidden ? x.invisibleCursor : XCursorOf(wanted);
    for (auto& [window, native] : x.windows) {
        if (!native.foreign && !native.gone) {
            XDefineCursor(x.display, native.xid, cursor);
        }
    }
    x.cursorKnown = true;
    x.cursorHidden = hidden;
    x.shownCursor = wanted;
}

}  // namespace

NativeWindow* EnsureNativeWindow(HWND handle) {
    if (NativeWindow* native = NativeOf(handle)) {
        return native;
    }
    const layer::Window* window = layer::FindWindowObject(handle);
    if (window == nullptr || X().display == nullptr) {
        return nullptr;
    }
    // A child drawn into its top-level window so far: it gets an X window of
    // its own inside the nearest ancestor that has one.
    HWND ancestor = window->parent;
    while (ancestor != nullptr && NativeOf(ancestor) == nullptr) {
        const layer::Window* a = layer::FindWindowObject(ancestor);
        ancestor = a != nullptr && (a->style & WS_CHILD) != 0 ? a->parent : nullptr;
    }
    NativeWindow* parent = ancestor != nullptr ? NativeOf(ancestor) : nullptr;
    if (parent == nullptr) {
        return nullptr;
    }
    RECT area = layer::ScreenRectOf(window);
    RECT parentArea = layer::ScreenRectOf(layer::FindWindowObject(ancestor));
    area = RECT{area.left - parentArea.left, area.top - parentArea.top, area.right - parentArea.left,
                area.bottom - parentArea.top};
    NativeWindow& native = X().windows[handle];
    native.xid = MakeXWindow(parent->xid, area, false, ExposureMask | StructureNotifyMask);
    if ((window->style & WS_VISIBLE) != 0) {
        XMapWindow(X().display, native.xid);
        native.mapped = true;
    }
    X().cursorKnown = false;
    return &native;
}

::Cursor XCursorOf(HCURSOR handle) {
    static std::map<HCURSOR, ::Cursor> made;
    Connection& x = X();
    auto it = made.find(handle);
    if (it != made.end()) {
        return it->second;
    }
    const layer::Cursor* cursor = layer::Find<layer::Cursor>(handle);
    if (cursor == nullptr) {
        return None;
    }
    // Windows planes: AND 1 / XOR 0 lets the screen through, XOR 1 is white,
    // AND 0 / XOR 0 black. X wants a shape mask and a white-or-black source,
    // rows of whole bytes, the first pixel in the lowest bit.
    int rowIn = layer::CursorRowBytes(cursor->width);
    int rowOut = (cursor->width + 7) / 8;
    std::vector<char> source(static_cast<size_t>(rowOut) * cursor->height, 0);
    std::vector<char> mask(source.size(), 0);
    for (int y = 0; y < cursor->height; ++y) {
        for (int px = 0; px < cursor->width; ++px) {
            size_t in = static_cast<size_t>(y * rowIn + px / 8);
            int bit = 0x80 >> (px % 8);
            bool andBit = in < cursor->andPlane.size() && (cursor->andPlane[in] & bit) != 0;
            bool xorBit = in < cursor->xorPlane.size() && (cursor->xorPlane[in] & bit) != 0;
            size_t out = static_cast<size_t>(y * rowOut + px / 8);
            if (!andBit || xorBit) {
                mask[out] = static_cast<char>(mask[out] | (1 << (px % 8)));
            }
            if (xorBit) {
                source[out] = static_cast<char>(source[out] | (1 << (px % 8)));
            }
        }
    }
    Pixmap sourceMap = XCreateBitmapFromData(x.display, x.root, source.data(), static_cast<unsigned>(cursor->width),
                                             static_cast<unsigned>(cursor->height));
    Pixmap maskMap = XCreateBitmapFromData(x.display, x.root, mask.data(), static_cast<unsigned>(cursor->width),
                                           static_cast<unsigned>(cursor->height));
    XColor white{};
    white.red = white.green = white.blue = 0xFFFF;
    XColor black{};
    int hotX = std::clamp(cursor->hotX, 0, cursor->width - 1);
    int hotY = std::clamp(cursor->hotY, 0, cursor->height - 1);
    ::Cursor result = XCreatePixmapCursor(x.display, sourceMap, maskMap, &white, &black, static_cast<unsigned>(hotX),
                                          static_cast<unsigned>(hotY));
    XFreePixmap(x.display, sourceMap);
    XFreePixmap(x.display, maskMap);
    made[handle] = result;
    return result;
}

void PresentChanges() {
    Connection& x = X();
    if (x.display == nullptr) {
        return;
    }
    ApplyCursor();
    for (auto& [window, native] : x.windows) {
        if (native.foreign || native.gone || !native.mapped || native.pixelFormat != 0 ||
            layer::RootOf(window) != window) {
            continue;
        }
        const layer::GdiSurface* surface = layer::ExistingSurfaceOf(window);
        if (surface == nullptr || surface->pixels.empty()) {
            continue;
        }
        if (native.needsPresent || native.presented != surface->pixels) {
            PutSurface(native, *surface);
        }
    }
    XFlush(x.display);
}

}  // namespace x11

namespace layer::host {

void WindowCreated(HWND handle) {
    using namespace x11;
    Connection& x = X();
    const layer::Window* window = layer::FindWindowObject(handle);
    if (x.display == nullptr || window == nullptr) {
        return;
    }
    if (x.pendingForeign != 0) {
        NativeWindow& native = x.windows[handle];
        native.xid = x.pendingForeign;
        native.foreign = true;
        native.mapped = true;
        return;
    }
    RECT area = layer::ScreenRectOf(window);
    if ((window->style & WS_CHILD) != 0) {
        // Inside another program's window (a preview) a child needs an X
        // window; inside our own it is drawn into its top-level surface.
        const NativeWindow* parent = NativeOf(window->parent);
        if (parent == nullptr || !parent->foreign) {
            return;
        }
        RECT inParent = window->rect;
        NativeWindow& native = x.windows[handle];
        native.xid = MakeXWindow(parent->xid, inParent, parent->xid == x.root, ExposureMask | StructureNotifyMask);
        x.cursorKnown = false;
        return;
    }
    bool fullScreen = (window->style & WS_POPUP) != 0 && (window->exStyle & WS_EX_TOPMOST) != 0;
    NativeWindow& native = x.windows[handle];
    native.xid = MakeXWindow(x.root, area, fullScreen, kOwnWindowEvents);
    DescribeToWindowManager(native.xid, window, area);
    x.cursorKnown = false;
}

void WindowShown(HWND handle, bool visible) {
    using namespace x11;
    NativeWindow* native = NativeOf(handle);
    if (native == nullptr || native->foreign) {
        return;
    }
    if (visible) {
        XMapRaised(X().display, native->xid);
        native->needsPresent = true;
    } else {
        XUnmapWindow(X().display, native->xid);
    }
    native->mapped = visible;
    XFlush(X().display);
}

void ForgetWindowSurface(HWND handle) {
    using namespace x11;
    ForgetGLWindow(handle);
    auto it = X().windows.find(handle);
    if (it == X().windows.end()) {
        return;
    }
    if (!it->second.foreign && !it->second.gone) {
        XDestroyWindow(X().display, it->second.xid);
        XFlush(X().display);
    }
    X().windows.erase(it);
}

}  // namespace layer::host
