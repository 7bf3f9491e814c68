// The display connection: opening it, the GL visual, error handling, and
// other programs' windows as layer windows.
#include "platform/x11/x11_display.h"

#include "platform/core/cursor.h"
#include "platform/core/window.h"
#include "platform/x11/x11_state.h"

#include <GL/glx.h>

#include <unistd.h>

namespace x11 {
namespace {

const char kForeignClass[] = "OstrelForeignWindow";

// Requests on windows that vanish under us (a preview parent closed by its
// owner) fail; the failure is expected and harmless, so it is only ignored.
int IgnoreError(Display*, XErrorEvent*) {
    return 0;
}

// The server went away: nothing can be shown any more. Xlib requires that
// this handler does not return.
int ConnectionLost(Display*) {
    _exit(255);
}

XVisualInfo* ChooseGLVisual(Display* display, int screen) {
    int major = 0;
    int minor = 0;
    if (!glXQueryExtension(display, &major, &minor)) {
        return nullptr;
    }
    int withDepth24[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                         GLX_DEPTH_SIZE, 24, None};
    int withDepth16[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 4, GLX_GREEN_SIZE, 4, GLX_BLUE_SIZE, 4,
                         GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* info = glXChooseVisual(display, screen, withDepth24);
    return info != nullptr ? info : glXChooseVisual(display, screen, withDepth16);
}

::Cursor MakeInvisibleCursor(Display* display, ::Window root) {
    char empty[1] = {0};
    Pixmap blank = XCreateBitmapFromData(display, root, empty, 1, 1);
    XColor black{};
    ::Cursor cursor = XCreatePixmapCursor(display, blank, blank, &black, &black, 0, 0);
    XFreePixmap(display, blank);
    return cursor;
}

LRESULT CALLBACK ForeignWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
        case WM_PAINT:
            layer::ValidateWindow(window);  // another program draws it
            return message == WM_ERASEBKGND ? 1 : 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

Connection& X() {
    static Connection connection;
    return connection;
}

HWND WindowOfX(::Window xid) {
    for (auto& [window, native] : X().windows) {
        if (native.xid == xid && !native.gone) {
            return window;
        }
    }
    return nullptr;
}

NativeWindow* NativeOf(HWND window) {
    auto it = X().windows.find(window);
    return it != X().windows.end() && !it->second.gone ? &it->second : nullptr;
}

bool OpenDisplay(const char* name) {
    Connection& x = X();
    x.display = XOpenDisplay(name);
    if (x.display == nullptr) {
        return false;
    }
    XSetErrorHandler(IgnoreError);
    XSetIOErrorHandler(ConnectionLost);
    x.screen = DefaultScreen(x.display);
    x.root = RootWindow(x.display, x.screen);
    x.glVisual = ChooseGLVisual(x.display, x.screen);
    if (x.glVisual != nullptr) {
        x.visual = x.glVisual->visual;
        x.depth = x.glVisual->depth;
        x.colormap = XCreateColormap(x.display, x.root, x.visual, AllocNone);
    } else {
        x.visual = DefaultVisual(x.display, x.screen);
        x.depth = DefaultDepth(x.display, x.screen);
        x.colormap = DefaultColormap(x.display, x.screen);
    }
    x.invisibleCursor = MakeInvisibleCursor(x.display, x.root);
    x.protocols = XInternAtom(x.display, "WM_PROTOCOLS", False);
    x.deleteWindow = XInternAtom(x.display, "WM_DELETE_WINDOW", False);

    // GetCursorPos must read the real pointer from the start: the saver
    // measures movement from there.
    ::Window rootReturn = 0;
    ::Window childReturn = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned mask = 0;
    if (XQueryPointer(x.display, x.root, &rootReturn, &childReturn, &rootX, &rootY, &winX, &winY, &mask)) {
        layer::SetCursorPoint(POINT{rootX, rootY});
    }
    return true;
}

uint64_t RootWindowId() {
    return X().root;
}

HWND WrapForeignWindow(uint64_t xid) {
    Connection& x = X();
    XWindowAttributes attributes;
    if (x.display == nullptr || xid == 0 || !XGetWindowAttributes(x.display, xid, &attributes)) {
        return nullptr;
    }
    int left = 0;
    int top = 0;
    ::Window child = 0;
    XTranslateCoordinates(x.display, xid, x.root, 0, 0, &left, &top, &child);
    if (layer::FindClass(kForeignClass) == nullptr) {
        WNDCLASSA foreignClass{};
        foreignClass.lpfnWndProc = ForeignWindowProc;
        foreignClass.lpszClassName = kForeignClass;
        layer::RegisterBuiltInClass(foreignClass);
    }
    x.pendingForeign = xid;
    HWND window = CreateWindowExA(0, kForeignClass, "", WS_POPUP, left, top, attributes.width, attributes.height,
                                  nullptr, nullptr, nullptr, nullptr);
    x.pendingForeign = 0;
    if (layer::Window* record = layer::FindWindowObject(window)) {
        // Visible as far as the layer can tell, without being shown or
        // activated by us.
        record->style |= WS_VISIBLE;
    }
    // Its end (the owner closes it) ends the windows inside it.
    XSelectInput(x.display, xid, StructureNotifyMask);
    return window;
}

}  // namespace x11
