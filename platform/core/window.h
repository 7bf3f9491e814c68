// Window classes and windows as the layer keeps them.
#pragma once

#include "platform/api/windows.h"
#include "platform/core/handles.h"

#include <string>
#include <vector>

namespace layer {

struct WindowClass {
    std::string name;  // compared without regard to case
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    bool builtIn = false;  // the layer's own (controls, dialogs): survives headless::Reset
};

struct DeviceContext;

struct Window : Object {
    static constexpr ObjectKind kKind = ObjectKind::Window;
    Window() : Object(kKind) {}

    const WindowClass* windowClass = nullptr;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;  // for WS_CHILD windows
    HWND owner = nullptr;   // for popups with an owner
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;
    RECT rect{};  // window rectangle: parent client coordinates for children, screen otherwise
    int id = 0;   // control id (the menu argument of a child)
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    std::vector<LONG_PTR> extra;  // cbWndExtra, as LONG_PTR slots
    std::vector<HWND> children;   // in creation order
    HDC ownDC = nullptr;          // CS_OWNDC: the window's private device context
    bool destroying = false;
    // Painting: the update region is kept as one rectangle (client coordinates).
    bool needsPaint = false;
    bool needsErase = false;
    RECT updateRect{};
    void* hostData = nullptr;  // the back end's own record for this window
    bool isDesktop = false;    // GetDesktopWindow's: the whole screen, no parent
};

// The window behind a handle, or null when the handle is not a live window.
Window* FindWindowObject(HWND window);
// Client rectangle size of a window: its window rectangle less a one-pixel
// frame for WS_BORDER. The layer draws no captions.
SIZE ClientSize(const Window* window);
// Top-left of the client area in screen coordinates.
POINT ClientOrigin(const Window* window);
// All live top-level windows, in creation order.
std::vector<HWND> TopLevelWindows();
// A registered class by name or atom, or null.
const WindowClass* FindClass(LPCSTR name);
// Called as a window goes away, after WM_NCDESTROY: drops its timers and
// queued messages, focus, foreground and z-order place, and lets the back
// end forget it.
void WindowDestroyed(HWND window);

// Clears the window's update region, as BeginPaint does, so no WM_PAINT is
// generated for it until it is invalidated again.
void ValidateWindow(HWND window);
// The system commands (masked to the command) that reached DefWindowProcA.
const std::vector<WPARAM>& DefaultSystemCommands();
// Registers a class that belongs to the layer itself (controls, the dialog
// class): unlike the system's classes it survives headless::Reset. Returns
// the atom, 0 when the name is taken.
ATOM RegisterBuiltInClass(const WNDCLASSA& windowClass);
// The top-level window a window belongs to (itself for a top-level window).
HWND RootOf(HWND window);
// Whether `window` is `ancestor` or one of its children, at any depth.
bool IsSelfOrDescendant(HWND ancestor, HWND window);
// The window's rectangle on the screen.
RECT ScreenRectOf(const Window* window);
// Visible top-level windows front to back: topmost ones first, then the
// most recently activated or created.
std::vector<HWND> ZOrder();
// Makes a top-level window the active (foreground) one: to the front of the
// z-order and, unless the focus is already inside it, the focus. Sends
// WM_KILLFOCUS / WM_SETFOCUS, no activation messages.
void ActivateWindow(HWND window);
// Forgets every window without sending a message, and every class that is
// not built in (headless::Reset).
void ForgetAllWindows();

}  // namespace layer
