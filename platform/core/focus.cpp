// Keyboard focus, the foreground window and the z-order of top-level
// windows. One thread, one virtual screen: the foreground window is simply
// the one the user (or a SetForegroundWindow call) brought forward last.
#include "platform/core/focus.h"

#include "platform/core/call_log.h"
#include "platform/core/window.h"

#include <algorithm>

namespace layer {
namespace {

struct FocusState {
    HWND focus = nullptr;
    HWND foreground = nullptr;
    std::vector<HWND> zOrder;  // top-level windows, front first
    CallLog<HWND> foregroundRequests;
};

FocusState& State() {
    static FocusState state;
    return state;
}

bool IsTopmost(HWND handle) {
    const Window* window = FindWindowObject(handle);
    return window != nullptr && (window->exStyle & WS_EX_TOPMOST) != 0;
}

// Puts a window at the front of its band: topmost windows stay above the rest.
void MoveToFront(HWND handle) {
    auto& order = State().zOrder;
    order.erase(std::remove(order.begin(), order.end(), handle), order.end());
    auto at = order.begin();
    if (!IsTopmost(handle)) {
        at = std::find_if(order.begin(), order.end(), [](HWND other) { return !IsTopmost(other); });
    }
    order.insert(at, handle);
}

}  // namespace

void AddToZOrder(HWND window) {
    MoveToFront(window);
}

std::vector<HWND> ZOrder() {
    std::vector<HWND> visible;
    for (HWND handle : State().zOrder) {
        if (IsWindowVisible(handle)) {
            visible.push_back(handle);
        }
    }
    return visible;
}

void ActivateWindow(HWND handle) {
    HWND root = RootOf(handle);
    if (root == nullptr) {
        return;
    }
    State().foreground = root;
    MoveToFront(root);
    HWND focus = State().focus;
    if (focus == nullptr || !IsSelfOrDescendant(root, focus)) {
        SetFocus(root);
    }
}

void SetForegroundSilently(HWND window) {
    HWND root = RootOf(window);
    State().foreground = root;
    if (root != nullptr) {
        MoveToFront(root);
    }
}

const std::vector<HWND>& ForegroundRequests() {
    return State().foregroundRequests.Entries();
}

void ForgetFocus(HWND window) {
    FocusState& state = State();
    if (state.focus == window) {
        state.focus = nullptr;
    }
    if (state.foreground == window) {
        state.foreground = nullptr;
    }
    state.zOrder.erase(std::remove(state.zOrder.begin(), state.zOrder.end(), window), state.zOrder.end());
}

void ResetFocus() {
    State() = FocusState{};
}

}  // namespace layer

using namespace layer;

HWND WINAPI SetFocus(HWND window) {
    FocusState& state = State();
    if (window != nullptr) {
        const Window* target = FindWindowObject(window);
        if (target == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        if ((target->style & WS_DISABLED) != 0) {
            return nullptr;
        }
    }
    HWND previous = state.focus;
    if (previous == window) {
        return previous;
    }
    if (previous != nullptr && IsWindow(previous)) {
        SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    if (window != nullptr && !IsWindow(window)) {
        return previous;  // went away while the old focus let go
    }
    state.focus = window;
    if (window != nullptr) {
        HWND root = RootOf(window);
        if (state.foreground != root) {
            state.foreground = root;
            MoveToFront(root);
        }
        SendMessageA(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND WINAPI GetFocus(void) {
    HWND focus = State().focus;
    return IsWindow(focus) ? focus : nullptr;
}

BOOL WINAPI SetForegroundWindow(HWND window) {
    State().foregroundRequests.Add(window);
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    ActivateWindow(window);
    return TRUE;
}

HWND WINAPI GetForegroundWindow(void) {
    HWND foreground = State().foreground;
    return IsWindow(foreground) ? foreground : nullptr;
}
