// Sending messages, update regions and registered message numbers.
#include "platform/core/focus.h"
#include "platform/core/host.h"
#include "platform/core/queue.h"
#include "platform/core/timers.h"
#include "platform/core/window.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

using namespace layer;

namespace layer {
namespace {

// Nested sends deeper than this are refused: a procedure that keeps sending
// to itself gets a failed call instead of a blown stack.
constexpr int kMaxSendDepth = 1000;
int sendDepth = 0;

struct RegisteredMessages {
    std::vector<std::string> names;  // upper case; number = 0xC000 + index
};

RegisteredMessages& Registered() {
    static RegisteredMessages registered;
    return registered;
}

std::string UpperCase(LPCSTR text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

}  // namespace

void WindowDestroyed(HWND window) {
    DropQueuedMessages(window);
    DropWindowTimers(window);
    ForgetFocus(window);
    host::ForgetWindowSurface(window);
}

void ResetRegisteredMessages() {
    Registered().names.clear();
}

}  // namespace layer

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (window->proc == nullptr) {
        return 0;
    }
    if (sendDepth >= kMaxSendDepth) {
        SetLastError(ERROR_STACK_OVERFLOW);
        return 0;
    }
    struct DepthGuard {
        DepthGuard() { ++sendDepth; }
        ~DepthGuard() { --sendDepth; }
    } guard;
    return window->proc(handle, message, wParam, lParam);
}

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    if (handle == nullptr) {
        // Every window, as Windows does for a null window.
        for (HWND top : TopLevelWindows()) {
            InvalidateRect(top, nullptr, erase);
        }
        return TRUE;
    }
    Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    SIZE size = ClientSize(window);
    RECT area = rect != nullptr ? *rect : RECT{0, 0, size.cx, size.cy};
    area.left = std::max<LONG>(area.left, 0);
    area.top = std::max<LONG>(area.top, 0);
    area.right = std::min<LONG>(area.right, size.cx);
    area.bottom = std::min<LONG>(area.bottom, size.cy);
    if (area.left >= area.right || area.top >= area.bottom) {
        return TRUE;  // nothing of the client area
    }
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

BOOL WINAPI ValidateRect(HWND handle, const RECT* rect) {
    Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!window->needsPaint) {
        return TRUE;
    }
    if (rect == nullptr) {
        ValidateWindow(handle);
        return TRUE;
    }
    // The update region is one rectangle: it goes when the validated part
    // covers it, and shrinks when the part covers it across a whole side.
    RECT& update = window->updateRect;
    bool coversAcross = rect->left <= update.left && rect->right >= update.right;
    bool coversDown = rect->top <= update.top && rect->bottom >= update.bottom;
    if (coversAcross && coversDown) {
        ValidateWindow(handle);
    } else if (coversAcross && rect->top <= update.top && rect->bottom > update.top) {
        update.top = rect->bottom;
    } else if (coversAcross && rect->bottom >= update.bottom && rect->top < update.bottom) {
        update.bottom = rect->top;
    } else if (coversDown && rect->left <= update.left && rect->right > update.left) {
        update.left = rect->right;
    } else if (coversDown && rect->right >= update.right && rect->left < update.right) {
        update.right = rect->left;
    }
    return TRUE;
}

UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
    if (name == nullptr || name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string key = UpperCase(name);
    auto& names = Registered().names;
    auto it = std::find(names.begin(), names.end(), key);
    if (it != names.end()) {
        return 0xC000 + static_cast<UINT>(it - names.begin());
    }
    if (names.size() >= 0x4000) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;  // the range 0xC000 to 0xFFFF is used up
    }
    names.push_back(key);
    return 0xC000 + static_cast<UINT>(names.size() - 1);
}
