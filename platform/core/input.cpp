// Delivering user input as Windows does: mouse messages to the window under
// the cursor, keys to the focus, activation and power events to every
// top-level window, the AutoPlay query to the foreground window.
#include "platform/core/input.h"

#include "platform/core/cursor.h"
#include "platform/core/queue.h"
#include "platform/core/window.h"

#include <array>
#include <cstdlib>

using namespace layer;

namespace layer::input {
namespace {

// Windows' defaults: double-click time and the box a second click must fall in.
constexpr DWORD kDoubleClickTime = 500;
constexpr LONG kDoubleClickReach = 2;

struct InputState {
    bool refreshMouse = false;
    WPARAM buttons = 0;  // MK_ flags of the buttons held
    std::array<bool, 256> keysDown{};
    // The last button press, for double clicks.
    HWND lastClickWindow = nullptr;
    UINT lastClickMessage = 0;
    DWORD lastClickTime = 0;
    POINT lastClickPoint{};
};

InputState& State() {
    static InputState state;
    return state;
}

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

RECT ClientRectOnScreen(const Window* window) {
    POINT origin = ClientOrigin(window);
    SIZE size = ClientSize(window);
    return RECT{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
}

// The deepest window at the point inside `handle` (whose rectangle holds
// it): children first, the first created on top; a window that answers
// HTTRANSPARENT lets the point through to what lies beneath.
HWND DeepestAt(HWND handle, POINT point, int* hitCode) {
    const Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        return nullptr;
    }
    if (Contains(ClientRectOnScreen(window), point)) {
        std::vector<HWND> children = window->children;
        for (HWND child : children) {
            const Window* c = FindWindowObject(child);
            if (c == nullptr || (c->style & WS_VISIBLE) == 0 || (c->style & WS_DISABLED) != 0 ||
                !Contains(ScreenRectOf(c), point)) {
                continue;
            }
            if (HWND found = DeepestAt(child, point, hitCode)) {
                return found;
            }
        }
    }
    LRESULT hit = SendMessageA(handle, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    if (!IsWindow(handle) || hit == HTTRANSPARENT) {
        return nullptr;
    }
    *hitCode = static_cast<int>(hit);
    return handle;
}

LPARAM ClientPoint(HWND window, POINT screen) {
    POINT point = screen;
    ScreenToClient(window, &point);
    return MAKELPARAM(point.x, point.y);
}

// WM_SETCURSOR, then the mouse message posted: client coordinates over the
// client area, the non-client message with screen coordinates elsewhere.
void DeliverMouse(UINT clientMessage, UINT nonClientMessage) {
    POINT point = CursorPoint();
    int hit = HTNOWHERE;
    HWND target = MouseTarget(point, &hit);
    if (target == nullptr) {
        return;
    }
    SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, clientMessage));
    if (!IsWindow(target)) {
        return;
    }
    if (hit == HTCLIENT) {
        PostInputMessage(target, clientMessage, State().buttons, ClientPoint(target, point));
    } else if (nonClientMessage != 0) {
        PostInputMessage(target, nonClientMessage, static_cast<WPARAM>(hit), MAKELPARAM(point.x, point.y));
    }
}

WPARAM ButtonFlag(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return MK_LBUTTON;
        case MouseButton::Right:
            return MK_RBUTTON;
        default:
            return MK_MBUTTON;
    }
}

UINT ButtonMessage(MouseButton button, bool down) {
    switch (button) {
        case MouseButton::Left:
            return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case MouseButton::Right:
            return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        default:
            return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
}

// A press becomes a double click when it repeats the last press of the same
// button on the same window soon enough and close enough, and that window's
// class asks for double clicks.
UINT PressMessage(MouseButton button, HWND target) {
    InputState& state = State();
    UINT message = ButtonMessage(button, true);
    POINT point = CursorPoint();
    DWORD now = GetTickCount();
    const Window* window = FindWindowObject(target);
    bool wantsDouble = window != nullptr && window->windowClass != nullptr &&
                       (window->windowClass->style & CS_DBLCLKS) != 0;
    bool repeat = state.lastClickWindow == target && state.lastClickMessage == message &&
                  now - state.lastClickTime <= kDoubleClickTime &&
                  std::labs(static_cast<long>(point.x - state.lastClickPoint.x)) <= kDoubleClickReach &&
                  std::labs(static_cast<long>(point.y - state.lastClickPoint.y)) <= kDoubleClickReach;
    if (wantsDouble && repeat) {
        state.lastClickWindow = nullptr;  // a third press starts afresh
        return message + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
    }
    state.lastClickWindow = target;
    state.lastClickMessage = message;
    state.lastClickTime = now;
    state.lastClickPoint = point;
    return message;
}

std::vector<HWND> LiveTopLevelWindows() {
    return TopLevelWindows();
}

}  // namespace

HWND MouseTarget(POINT screen, int* hitCode) {
    int unused = 0;
    int* hit = hitCode != nullptr ? hitCode : &unused;
    for (HWND top : ZOrder()) {
        const Window* window = FindWindowObject(top);
        if (window == nullptr || !Contains(ScreenRectOf(window), screen)) {
            continue;
        }
        if ((window->style & WS_DISABLED) != 0) {
            return nullptr;  // a modal dialog's owner: the click goes nowhere
        }
        if (HWND found = DeepestAt(top, screen, hit)) {
            return found;
        }
    }
    return nullptr;
}

void MouseMovedTo(POINT screen) {
    SetCursorPoint(screen);
    DeliverMouse(WM_MOUSEMOVE, WM_NCMOUSEMOVE);
}

void MouseButtonChanged(MouseButton button, bool down) {
    InputState& state = State();
    if (down) {
        state.buttons |= ButtonFlag(button);
    } else {
        state.buttons &= ~ButtonFlag(button);
    }
    POINT point = CursorPoint();
    int hit = HTNOWHERE;
    HWND target = MouseTarget(point, &hit);
    if (target == nullptr) {
        return;
    }
    UINT message = down ? PressMessage(button, target) : ButtonMessage(button, false);
    SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, message));
    if (IsWindow(target) && hit == HTCLIENT) {
        PostInputMessage(target, message, state.buttons, ClientPoint(target, point));
    }
}

void KeyChanged(UINT key, bool down, bool alt) {
    InputState& state = State();
    key &= 0xFF;
    bool wasDown = state.keysDown[key];
    state.keysDown[key] = down;
    HWND target = GetFocus();
    if (target == nullptr) {
        target = GetForegroundWindow();
    }
    if (target == nullptr || !IsWindowEnabled(target) || !IsWindowEnabled(RootOf(target))) {
        return;
    }
    bool system = alt || key == VK_MENU || key == VK_F10;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    // Repeat count 1; bit 29: Alt held; bit 30: the key was down; bit 31: released.
    DWORD flags = 1;
    if (alt) {
        flags |= 1u << 29;
    }
    if (wasDown) {
        flags |= 1u << 30;
    }
    if (!down) {
        flags |= 1u << 31;
    }
    PostInputMessage(target, message, key, static_cast<LPARAM>(flags));
}

void AppActivated(bool active) {
    for (HWND top : LiveTopLevelWindows()) {
        if (IsWindow(top)) {
            SendMessageA(top, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
        }
    }
}

void PowerEvent(UINT message, WPARAM code) {
    for (HWND top : LiveTopLevelWindows()) {
        if (IsWindow(top)) {
            SendMessageA(top, message, code, 0);
        }
    }
}

std::optional<LRESULT> QueryCancelAutoPlay() {
    UINT message = RegisterWindowMessageA("QueryCancelAutoPlay");
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr) {
        return std::nullopt;
    }
    return SendMessageA(foreground, message, 0, 0);
}

void RequestMouseRefresh() {
    State().refreshMouse = true;
}

void FlushMouseRefresh() {
    InputState& state = State();
    if (state.refreshMouse) {
        state.refreshMouse = false;
        DeliverMouse(WM_MOUSEMOVE, WM_NCMOUSEMOVE);
    }
}

void ResetInput() {
    State() = InputState{};
}

}  // namespace layer::input
