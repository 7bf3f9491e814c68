// WGL on the headless host: pixel formats, contexts and buffer swaps over
// OSMesa. Each window that gets a pixel format owns an offscreen surface: a
// back buffer that GL draws into and a presented copy that SwapBuffers fills
// and tests read back.
#include "platform/core/gdi_objects.h"
#include "platform/core/host.h"
#include "platform/core/window.h"
#include "platform/headless/headless.h"

#include <GL/osmesa.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <unordered_map>

using namespace layer;

namespace {

struct PixelFormat {
    DWORD flags;
    BYTE colourBits;
    BYTE depthBits;
    BYTE stencilBits;
};

// What a typical driver offers, best first. Every format is RGBA with eight
// bits a channel; OSMesa draws them all.
constexpr PixelFormat kFormats[] = {
    {PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 24, 24, 8},
    {PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 24, 16, 0},
    {PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 24, 0, 0},
    {PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL, 24, 24, 8},
    {PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL, 24, 0, 0},
};
constexpr int kFormatCount = static_cast<int>(std::size(kFormats));

struct Surface {
    int pixelFormat = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> back;       // RGBA, bottom row first (OSMesa's default)
    std::vector<uint8_t> presented;  // the same layout, copied by SwapBuffers
    int presentedWidth = 0;
    int presentedHeight = 0;
    uint64_t presents = 0;
};

struct GLContext : Object {
    static constexpr ObjectKind kKind = ObjectKind::GLContext;
    GLContext() : Object(kKind) {}
    ~GLContext() override {
        if (context != nullptr) {
            OSMesaDestroyContext(context);
        }
    }
    OSMesaContext context = nullptr;
    int pixelFormat = 0;
};

struct WglState {
    std::unordered_map<HWND, Surface> surfaces;
    HGLRC current = nullptr;
    HDC currentDC = nullptr;
    HWND currentWindow = nullptr;
    bool formatsAvailable = true;
};

WglState& State() {
    static WglState state;
    return state;
}

// The window behind a device context; null for the screen or a bad handle.
HWND WindowOf(HDC dc) {
    const DeviceContext* context = Find<DeviceContext>(dc);
    return context != nullptr && IsWindow(context->window) ? context->window : nullptr;
}

Surface* SurfaceOf(HDC dc) {
    HWND window = WindowOf(dc);
    if (window == nullptr) {
        return nullptr;
    }
    auto it = State().surfaces.find(window);
    return it == State().surfaces.end() ? nullptr : &it->second;
}

void DescribeFormat(int index, PIXELFORMATDESCRIPTOR* out) {
    const PixelFormat& format = kFormats[index - 1];
    *out = PIXELFORMATDESCRIPTOR{};
    out->nSize = sizeof(PIXELFORMATDESCRIPTOR);
    out->nVersion = 1;
    out->dwFlags = format.flags;
    out->iPixelType = PFD_TYPE_RGBA;
    out->cColorBits = format.colourBits;
    out->cRedBits = 8;
    out->cRedShift = 16;
    out->cGreenBits = 8;
    out->cGreenShift = 8;
    out->cBlueBits = 8;
    out->cBlueShift = 0;
    out->cDepthBits = format.depthBits;
    out->cStencilBits = format.stencilBits;
    out->iLayerType = PFD_MAIN_PLANE;
}

}  // namespace

namespace headless {

void SetPixelFormatsAvailable(bool available) {
    State().formatsAvailable = available;
}

bool ReadPresentedFrame(HWND window, Frame* frame) {
    auto it = State().surfaces.find(window);
    if (it == State().surfaces.end() || it->second.presents == 0) {
        return false;
    }
    const Surface& surface = it->second;
    frame->width = surface.presentedWidth;
    frame->height = surface.presentedHeight;
    frame->rgb.resize(static_cast<size_t>(frame->width) * frame->height * 3);
    for (int y = 0; y < frame->height; ++y) {
        const uint8_t* source = surface.presented.data() + static_cast<size_t>(frame->height - 1 - y) * frame->width * 4;
        uint8_t* target = frame->Pixel(0, y);
        for (int x = 0; x < frame->width; ++x) {
            target[3 * x + 0] = source[4 * x + 0];
            target[3 * x + 1] = source[4 * x + 1];
            target[3 * x + 2] = source[4 * x + 2];
        }
    }
    return true;
}

uint64_t PresentCount(HWND window) {
    auto it = State().surfaces.find(window);
    return it == State().surfaces.end() ? 0 : it->second.presents;
}

}  // namespace headless

namespace layer::host {

void ForgetWindowSurface(HWND window) {
    WglState& state = State();
    auto it = state.surfaces.find(window);
    if (it == state.surfaces.end()) {
        return;
    }
    if (state.current != nullptr && state.currentWindow == window) {
        wglMakeCurrent(nullptr, nullptr);  // never leave GL drawing into freed memory
    }
    state.surfaces.erase(it);
}

}  // namespace layer::host

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request) {
    if (request == nullptr || Find<DeviceContext>(dc) == nullptr || !State().formatsAvailable) {
        return 0;
    }
    if (request->iPixelType != PFD_TYPE_RGBA) {
        return 0;
    }
    int best = 0;
    long bestScore = 0;
    for (int i = 1; i <= kFormatCount; ++i) {
        const PixelFormat& format = kFormats[i - 1];
        if ((request->dwFlags & PFD_SUPPORT_OPENGL) != 0 && (format.flags & PFD_SUPPORT_OPENGL) == 0) {
            continue;
        }
        long score = 0;
        if ((request->dwFlags & PFD_DOUBLEBUFFER) != (format.flags & PFD_DOUBLEBUFFER)) {
            score += 100000;
        }
        score += 1000L * std::max(0, request->cColorBits - format.colourBits);
        score += 100L * std::max(0, request->cDepthBits - format.depthBits);
        score += 10L * std::max(0, request->cStencilBits - format.stencilBits);
        if (best == 0 || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

int WINAPI DescribePixelFormat(HDC dc, int format, UINT bytes, LPPIXELFORMATDESCRIPTOR descriptor) {
    if (Find<DeviceContext>(dc) == nullptr) {
        return 0;
    }
    if (format >= 1 && format <= kFormatCount && descriptor != nullptr && bytes >= sizeof(PIXELFORMATDESCRIPTOR)) {
        DescribeFormat(format, descriptor);
    }
    return State().formatsAvailable ? kFormatCount : 0;
}

int WINAPI GetPixelFormat(HDC dc) {
    const Surface* surface = SurfaceOf(dc);
    return surface != nullptr ? surface->pixelFormat : 0;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
    HWND window = WindowOf(dc);
    if (window == nullptr || format < 1 || format > kFormatCount || !State().formatsAvailable) {
        return FALSE;
    }
    Surface& surface = State().surfaces[window];
    if (surface.pixelFormat != 0) {
        return surface.pixelFormat == format ? TRUE : FALSE;  // a window's format is set once
    }
    surface.pixelFormat = format;
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC dc) {
    const Surface* surface = SurfaceOf(dc);
    if (surface == nullptr || surface->pixelFormat == 0) {
        return nullptr;
    }
    const PixelFormat& format = kFormats[surface->pixelFormat - 1];
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, format.depthBits, format.stencilBits, 0, nullptr);
    if (context == nullptr) {
        return nullptr;
    }
    auto* object = new GLContext();
    object->context = context;
    object->pixelFormat = surface->pixelFormat;
    return reinterpret_cast<HGLRC>(AddObject(object));
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC handle) {
    WglState& state = State();
    if (handle == nullptr) {
        OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
        state.current = nullptr;
        state.currentDC = nullptr;
        state.currentWindow = nullptr;
        return TRUE;
    }
    GLContext* context = Find<GLContext>(handle);
    Surface* surface = SurfaceOf(dc);
    if (context == nullptr || surface == nullptr || surface->pixelFormat != context->pixelFormat) {
        return FALSE;
    }
    RECT client{};
    GetClientRect(WindowOf(dc), &client);
    // OSMesa needs at least one pixel; a collapsed window draws into that one.
    int width = std::max<int>(client.right, 1);
    int height = std::max<int>(client.bottom, 1);
    if (width != surface->width || height != surface->height) {
        surface->width = width;
        surface->height = height;
        surface->back.assign(static_cast<size_t>(width) * height * 4, 0);
    }
    if (!OSMesaMakeCurrent(context->context, surface->back.data(), GL_UNSIGNED_BYTE, width, height)) {
        return FALSE;
    }
    state.current = handle;
    state.currentDC = dc;
    state.currentWindow = WindowOf(dc);
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC handle) {
    if (Find<GLContext>(handle) == nullptr) {
        return FALSE;
    }
    if (State().current == handle) {
        wglMakeCurrent(nullptr, nullptr);
    }
    RemoveObject(reinterpret_cast<uintptr_t>(handle));
    return TRUE;
}

HGLRC WINAPI wglGetCurrentContext(void) {
    return State().current;
}

HDC WINAPI wglGetCurrentDC(void) {
    return State().currentDC;
}

BOOL WINAPI SwapBuffers(HDC dc) {
    Surface* surface = SurfaceOf(dc);
    if (surface == nullptr || surface->back.empty()) {
        return FALSE;
    }
    if (State().current != nullptr && State().currentWindow == WindowOf(dc)) {
        glFinish();
    }
    if (surface->presented.size() != surface->back.size()) {
        surface->presented.resize(surface->back.size());
    }
    std::memcpy(surface->presented.data(), surface->back.data(), surface->back.size());
    surface->presentedWidth = surface->width;
    surface->presentedHeight = surface->height;
    ++surface->presents;
    return TRUE;
}
