// X events handed to the core: pointer, buttons and keys through
// layer::input, focus as application activation, and the windows' own
// comings and goings (exposure, moves, destruction, the close box).
#include "platform/core/cursor.h"
#include "platform/core/input.h"
#include "platform/core/window.h"
#include "platform/x11/x11_keys.h"
#include "platform/x11/x11_state.h"

namespace x11 {
namespace {

bool IsOurs(::Window xid) {
    HWND window = WindowOfX(xid);
    const NativeWindow* native = NativeOf(window);
    return native != nullptr && !native->foreign;
}

// The pointer may have moved without a motion event (a click right after a
// jump): the core sees the move first, as Windows reports it.
void PointerAt(int x, int y) {
    POINT now = layer::CursorPoint();
    if (now.x != x || now.y != y) {
        layer::input::MouseMovedTo(POINT{x, y});
    }
}

void OnButton(const XButtonEvent& event, bool down) {
    using layer::input::MouseButton;
    MouseButton button;
    switch (event.button) {
        case Button1:
            button = MouseButton::Left;
            break;
        case Button2:
            button = MouseButton::Middle;
            break;
        case Button3:
            button = MouseButton::Right;
            break;
        default:
            return;  // wheel steps
    }
    PointerAt(event.x_root, event.y_root);
    layer::input::MouseButtonChanged(button, down);
}

void OnKey(XKeyEvent& event, bool down) {
    KeySym keysym = XLookupKeysym(&event, 0);
    bool alt = (event.state & Mod1Mask) != 0;
    layer::input::KeyChanged(VirtualKeyOf(keysym), down, alt);
}

// A window of ours on screen: the one the layer brought forward takes the
// keyboard (there may be no window manager to give it).
void OnMapped(::Window xid) {
    HWND window = WindowOfX(xid);
    if (window != nullptr && IsOurs(xid) && window == GetForegroundWindow()) {
        XSetInputFocus(X().display, xid, RevertToParent, CurrentTime);
    }
}

void OnMoved(::Window xid) {
    HWND handle = WindowOfX(xid);
    layer::Window* window = layer::FindWindowObject(handle);
    if (window == nullptr || (window->style & WS_CHILD) != 0) {
        return;
    }
    int left = 0;
    int top = 0;
    ::Window child = 0;
    XTranslateCoordinates(X().display, xid, X().root, 0, 0, &left, &top, &child);
    LONG width = window->rect.right - window->rect.left;
    LONG height = window->rect.bottom - window->rect.top;
    window->rect = RECT{left, top, left + width, top + height};
}

void OnDestroyed(::Window xid) {
    HWND window = WindowOfX(xid);
    if (NativeWindow* native = NativeOf(window)) {
        native->gone = true;  // nothing left to destroy on the X side
        DestroyWindow(window);
    }
}

void Handle(XEvent& event, bool* focusLeft) {
    switch (event.type) {
        case MotionNotify:
            layer::input::MouseMovedTo(POINT{event.xmotion.x_root, event.xmotion.y_root});
            break;
        case ButtonPress:
        case ButtonRelease:
            OnButton(event.xbutton, event.type == ButtonPress);
            break;
        case KeyPress:
        case KeyRelease:
            OnKey(event.xkey, event.type == KeyPress);
            break;
        case FocusIn:
            if (event.xfocus.detail != NotifyPointer && IsOurs(event.xfocus.window) && !X().appActive) {
                X().appActive = true;
                layer::input::AppActivated(true);
            }
            break;
        case FocusOut:
            if (event.xfocus.detail != NotifyPointer && event.xfocus.detail != NotifyInferior &&
                event.xfocus.mode != NotifyGrab && event.xfocus.mode != NotifyUngrab) {
                *focusLeft = true;
            }
            break;
        case Expose:
            if (NativeOf(WindowOfX(event.xexpose.window)) != nullptr) {
                NativeOf(WindowOfX(event.xexpose.window))->needsPresent = true;
            }
            break;
        case MapNotify:
            OnMapped(event.xmap.window);
            break;
        case ConfigureNotify:
            OnMoved(event.xconfigure.window);
            break;
        case DestroyNotify:
            OnDestroyed(event.xdestroywindow.window);
            break;
        case ClientMessage:
            if (event.xclient.message_type == X().protocols &&
                static_cast<Atom>(event.xclient.data.l[0]) == X().deleteWindow) {
                PostMessageA(WindowOfX(event.xclient.window), WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            break;
        default:
            break;
    }
}

// Focus went somewhere: the application is inactive once it is on no window
// of ours (pointer-root focus is left alone).
void CheckStillActive() {
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(X().display, &focus, &revert);
    if (focus == PointerRoot || !X().appActive) {
        return;
    }
    for (::Window at = focus; at != 0 && at != X().root;) {
        if (IsOurs(at)) {
            return;
        }
        ::Window root = 0;
        ::Window parent = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(X().display, at, &root, &parent, &children, &count)) {
            break;
        }
        if (children != nullptr) {
            XFree(children);
        }
        at = parent;
    }
    X().appActive = false;
    layer::input::AppActivated(false);
}

}  // namespace

void DeliverPendingEvents() {
    Connection& x = X();
    if (x.display == nullptr) {
        return;
    }
    bool focusLeft = false;
    while (XPending(x.display) > 0) {
        XEvent event;
        XNextEvent(x.display, &event);
        Handle(event, &focusLeft);
    }
    if (focusLeft) {
        CheckStillActive();
    }
}

}  // namespace x11
