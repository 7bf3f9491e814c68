// Device contexts: a window's own (CS_OWNDC) or a common one, and the screen's.
#include "platform/core/gdi_objects.h"
#include "platform/core/host.h"
#include "platform/core/window.h"

using namespace layer;

namespace layer {

HDC CreateWindowDC(HWND window, bool owned) {
    auto* dc = new DeviceContext();
    dc->window = window;
    dc->owned = owned;
    return reinterpret_cast<HDC>(AddObject(dc));
}

void DestroyWindowDC(HDC dc) {
    if (Find<DeviceContext>(dc) != nullptr) {
        RemoveObject(reinterpret_cast<uintptr_t>(dc));
    }
}

}  // namespace layer

HDC WINAPI GetDC(HWND window) {
    if (window == nullptr) {
        return CreateWindowDC(nullptr, false);
    }
    const Window* w = FindWindowObject(window);
    if (w == nullptr) {
        return nullptr;
    }
    return w->ownDC != nullptr ? w->ownDC : CreateWindowDC(window, false);
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    DeviceContext* context = Find<DeviceContext>(dc);
    if (context == nullptr || context->window != window) {
        return 0;
    }
    if (!context->owned) {
        RemoveObject(reinterpret_cast<uintptr_t>(dc));
    }
    return 1;
}

int WINAPI GetClipBox(HDC dc, LPRECT rect) {
    const DeviceContext* context = Find<DeviceContext>(dc);
    if (context == nullptr || rect == nullptr) {
        return ERROR;
    }
    if (context->window == nullptr) {
        SIZE screen = host::ScreenSize();
        *rect = RECT{0, 0, screen.cx, screen.cy};
    } else if (!GetClientRect(context->window, rect)) {
        return ERROR;
    }
    return rect->right > rect->left && rect->bottom > rect->top ? SIMPLEREGION : NULLREGION;
}
