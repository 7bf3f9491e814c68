// WGL over GLX. Every X window of ours is made with one GL visual (a
// double-buffered RGBA visual with depth, chosen when the display opens), so
// the one pixel format offered is that visual and SetPixelFormat only has to
// agree to it.
#include "platform/core/gdi_objects.h"
#include "platform/core/handles.h"
#include "platform/core/window.h"
#include "platform/x11/x11_state.h"
#include "platform/x11/x11_wgl.h"

#include <GL/glx.h>

namespace {

constexpr int kFormatCount = 1;

struct GLContextObject : layer::Object {
    static constexpr layer::ObjectKind kKind = layer::ObjectKind::GLContext;
    GLContextObject() : Object(kKind) {}
    ~GLContextObject() override {
        if (context != nullptr && x11::X().display != nullptr) {
            glXDestroyContext(x11::X().display, context);
        }
    }
    GLXContext context = nullptr;
};

struct WglState {
    HGLRC current = nullptr;
    HDC currentDC = nullptr;
    HWND currentWindow = nullptr;
};

WglState& State() {
    static WglState state;
    return state;
}

HWND WindowOf(HDC dc) {
    const layer::DeviceContext* context = layer::Find<layer::DeviceContext>(dc);
    return context != nullptr && IsWindow(context->window) ? context->window : nullptr;
}

bool HaveGL() {
    return x11::X().display != nullptr && x11::X().glVisual != nullptr;
}

int Config(int attribute) {
    int value = 0;
    glXGetConfig(x11::X().display, x11::X().glVisual, attribute, &value);
    return value;
}

void DescribeFormat(PIXELFORMATDESCRIPTOR* out) {
    *out = PIXELFORMATDESCRIPTOR{};
    out->nSize = sizeof(PIXELFORMATDESCRIPTOR);
    out->nVersion = 1;
    out->dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (Config(GLX_DOUBLEBUFFER) ? PFD_DOUBLEBUFFER : 0);
    out->iPixelType = PFD_TYPE_RGBA;
    out->cRedBits = static_cast<BYTE>(Config(GLX_RED_SIZE));
    out->cGreenBits = static_cast<BYTE>(Config(GLX_GREEN_SIZE));
    out->cBlueBits = static_cast<BYTE>(Config(GLX_BLUE_SIZE));
    out->cColorBits = static_cast<BYTE>(out->cRedBits + out->cGreenBits + out->cBlueBits);
    out->cAlphaBits = static_cast<BYTE>(Config(GLX_ALPHA_SIZE));
    out->cDepthBits = static_cast<BYTE>(Config(GLX_DEPTH_SIZE));
    out->cStencilBits = static_cast<BYTE>(Config(GLX_STENCIL_SIZE));
    out->iLayerType = PFD_MAIN_PLANE;
}

void Release() {
    glXMakeCurrent(x11::X().display, None, nullptr);
    State() = WglState{};
}

}  // namespace

namespace x11 {

void ForgetGLWindow(HWND window) {
    if (State().current != nullptr && State().currentWindow == window) {
        Release();
    }
}

}  // namespace x11

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request) {
    if (request == nullptr || layer::Find<layer::DeviceContext>(dc) == nullptr || !HaveGL()) {
        return 0;
    }
    return request->iPixelType == PFD_TYPE_RGBA ? 1 : 0;
}

int WINAPI DescribePixelFormat(HDC dc, int format, UINT bytes, LPPIXELFORMATDESCRIPTOR descriptor) {
    if (layer::Find<layer::DeviceContext>(dc) == nullptr || !HaveGL()) {
        return 0;
    }
    if (format == 1 && descriptor != nullptr && bytes >= sizeof(PIXELFORMATDESCRIPTOR)) {
        DescribeFormat(descriptor);
    }
    return kFormatCount;
}

int WINAPI GetPixelFormat(HDC dc) {
    const x11::NativeWindow* native = x11::NativeOf(WindowOf(dc));
    return native != nullptr ? native->pixelFormat : 0;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
    HWND window = WindowOf(dc);
    if (window == nullptr || format != 1 || !HaveGL()) {
        return FALSE;
    }
    x11::NativeWindow* native = x11::EnsureNativeWindow(window);
    if (native == nullptr || native->foreign) {
        return FALSE;
    }
    if (native->pixelFormat != 0) {
        return native->pixelFormat == format ? TRUE : FALSE;  // a window's format is set once
    }
    native->pixelFormat = format;
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC dc) {
    const x11::NativeWindow* native = x11::NativeOf(WindowOf(dc));
    if (native == nullptr || native->pixelFormat == 0) {
        return nullptr;
    }
    GLXContext context = glXCreateContext(x11::X().display, x11::X().glVisual, nullptr, True);
    if (context == nullptr) {
        return nullptr;
    }
    auto* object = new GLContextObject();
    object->context = context;
    return reinterpret_cast<HGLRC>(layer::AddObject(object));
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC handle) {
    if (!HaveGL()) {
        return handle == nullptr ? TRUE : FALSE;
    }
    if (handle == nullptr) {
        Release();
        return TRUE;
    }
    GLContextObject* context = layer::Find<GLContextObject>(handle);
    HWND window = WindowOf(dc);
    const x11::NativeWindow* native = x11::NativeOf(window);
    if (context == nullptr || native == nullptr || native->pixelFormat == 0) {
        return FALSE;
    }
    if (!glXMakeCurrent(x11::X().display, native->xid, context->context)) {
        return FALSE;
    }
    State().current = handle;
    State().currentDC = dc;
    State().currentWindow = window;
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC handle) {
    if (layer::Find<GLContextObject>(handle) == nullptr) {
        return FALSE;
    }
    if (State().current == handle) {
        Release();
    }
    layer::RemoveObject(reinterpret_cast<uintptr_t>(handle));
    return TRUE;
}

HGLRC WINAPI wglGetCurrentContext(void) {
    return State().current;
}

HDC WINAPI wglGetCurrentDC(void) {
    return State().currentDC;
}

BOOL WINAPI SwapBuffers(HDC dc) {
    const x11::NativeWindow* native = x11::NativeOf(WindowOf(dc));
    if (native == nullptr || native->pixelFormat == 0) {
        return FALSE;
    }
    glXSwapBuffers(x11::X().display, native->xid);
    return TRUE;
}
