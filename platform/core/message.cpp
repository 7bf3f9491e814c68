// Sending messages and the default window procedure.
#include "platform/core/host.h"
#include "platform/core/window.h"

#include <algorithm>
#include <cstring>

using namespace layer;

namespace layer {

void WindowDestroyed(HWND window) {
    host::ForgetWindowSurface(window);
}

}  // namespace layer

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowObject(handle);
    if (window == nullptr || window->proc == nullptr) {
        return 0;
    }
    return window->proc(handle, message, wParam, lParam);
}

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        return FALSE;
    }
    SIZE size = ClientSize(window);
    RECT area = rect != nullptr ? *rect : RECT{0, 0, size.cx, size.cy};
    if (window->needsPaint) {
        window->updateRect.left = std::min(window->updateRect.left, area.left);
        window->updateRect.top = std::min(window->updateRect.top, area.top);
        window->updateRect.right = std::max(window->updateRect.right, area.right);
        window->updateRect.bottom = std::max(window->updateRect.bottom, area.bottom);
    } else {
        window->updateRect = area;
    }
    window->needsPaint = true;
    window->needsErase = window->needsErase || erase != 0;
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(handle);
            return 0;
        case WM_SETTEXT:
            window->text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
            return TRUE;
        case WM_GETTEXT: {
            if (wParam == 0 || lParam == 0) {
                return 0;
            }
            size_t count = std::min(window->text.size(), static_cast<size_t>(wParam) - 1);
            std::memcpy(reinterpret_cast<char*>(lParam), window->text.data(), count);
            reinterpret_cast<char*>(lParam)[count] = '\0';
            return static_cast<LRESULT>(count);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(window->text.size());
        default:
            return 0;
    }
}
