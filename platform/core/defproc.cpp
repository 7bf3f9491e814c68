// The default window procedure: what Windows does with a message that the
// window's own procedure passes on.
#include "platform/core/call_log.h"
#include "platform/core/gdi_surface.h"
#include "platform/core/reset.h"
#include "platform/core/window.h"

#include <algorithm>
#include <cstring>

using namespace layer;

namespace {

// System commands that reached the default handling, for the host to show.
CallLog<WPARAM>& SystemCommands() {
    static CallLog<WPARAM> log;
    static const bool hooked = (AddResetHook([] { log.Clear(); }), true);
    (void)hooked;
    return log;
}

bool IsChild(const Window* window) {
    return (window->style & WS_CHILD) != 0;
}

// The colour a class background brush paints: a stock brush, or a system
// colour given as COLOR_x + 1. False for the null brush and anything else.
bool BrushColour(HBRUSH brush, COLORREF* colour) {
    static const struct {
        int stock;
        COLORREF colour;
    } kStockBrushes[] = {{WHITE_BRUSH, RGB(255, 255, 255)},
                         {LTGRAY_BRUSH, RGB(192, 192, 192)},
                         {GRAY_BRUSH, RGB(128, 128, 128)},
                         {DKGRAY_BRUSH, RGB(64, 64, 64)},
                         {BLACK_BRUSH, RGB(0, 0, 0)}};
    for (const auto& stock : kStockBrushes) {
        if (brush == static_cast<HBRUSH>(GetStockObject(stock.stock))) {
            *colour = stock.colour;
            return true;
        }
    }
    auto value = reinterpret_cast<uintptr_t>(brush);
    if (value >= 1 && value <= 31) {
        *colour = GetSysColor(static_cast<int>(value - 1));
        return true;
    }
    return false;
}

}  // namespace

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
        case WM_SETCURSOR: {
            // The parent decides first; then the class cursor of the window
            // under the mouse, over its client area.
            if (IsChild(window)) {
                HWND parent = window->parent;
                if (IsWindow(parent) && SendMessageA(parent, WM_SETCURSOR, wParam, lParam) != 0) {
                    return TRUE;
                }
                if ((window = FindWindowObject(handle)) == nullptr) {
                    return FALSE;
                }
            }
            if (reinterpret_cast<HWND>(wParam) == handle && static_cast<SHORT>(LOWORD(lParam)) == HTCLIENT &&
                window->windowClass != nullptr && window->windowClass->cursor != nullptr) {
                SetCursor(window->windowClass->cursor);
            }
            return FALSE;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            if (BeginPaint(handle, &paint) != nullptr) {
                EndPaint(handle, &paint);
            } else {
                ValidateWindow(handle);
            }
            return 0;
        }
        case WM_ERASEBKGND: {
            // The class brush fills the client area where GDI draws the
            // window; a GL window has no GDI surface and keeps its frame.
            COLORREF colour = 0;
            if (window->windowClass == nullptr || !BrushColour(window->windowClass->background, &colour)) {
                return FALSE;
            }
            if (wParam != 0 && ExistingSurfaceOf(RootOf(handle)) != nullptr) {
                SIZE size = ClientSize(window);
                FillSolid(reinterpret_cast<HDC>(wParam), RECT{0, 0, size.cx, size.cy}, colour);
            }
            return TRUE;
        }
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
        case WM_NCHITTEST: {
            RECT area = ScreenRectOf(window);
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            bool inside = point.x >= area.left && point.x < area.right && point.y >= area.top && point.y < area.bottom;
            return inside ? HTCLIENT : HTNOWHERE;
        }
        case WM_MOUSEACTIVATE:
            if (IsChild(window) && IsWindow(window->parent)) {
                LRESULT answer = SendMessageA(window->parent, WM_MOUSEACTIVATE, wParam, lParam);
                if (answer != 0) {
                    return answer;
                }
            }
            return MA_ACTIVATE;
        case WM_SYSCOMMAND:
            // Windows reads only the command: its low four bits are its own.
            SystemCommands().Add(wParam & 0xFFF0);
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                SendMessageA(handle, WM_CLOSE, 0, 0);
            }
            return 0;
        case WM_SYSKEYDOWN:
            // Alt+F4 closes the top-level window.
            if (wParam == VK_F4 && (lParam & (1L << 29)) != 0) {
                HWND root = RootOf(handle);
                PostMessageA(root, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        default:
            return 0;
    }
}

namespace layer {

const std::vector<WPARAM>& DefaultSystemCommands() {
    return SystemCommands().Entries();
}

}  // namespace layer
