// The X11 back end's own state, shared by its files: the display connection,
// the visual every window is made with, and the X window behind each layer
// window that has one.
#pragma once

#include "platform/api/windows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace x11 {

struct NativeWindow {
    ::Window xid = 0;
    bool foreign = false;    // another program's window, wrapped: never changed or destroyed here
    bool mapped = false;
    bool gone = false;       // destroyed behind our back (e.g. with a foreign parent)
    int pixelFormat = 0;     // set once by SetPixelFormat; such a window shows GL, not GDI
    bool needsPresent = true;
    std::vector<uint32_t> presented;  // the GDI pixels last put on screen
};

struct Connection {
    Display* display = nullptr;
    int screen = 0;
    ::Window root = 0;
    XVisualInfo* glVisual = nullptr;  // double-buffered RGBA with depth; null without GLX
    Visual* visual = nullptr;         // the visual windows are made with
    int depth = 0;
    Colormap colormap = 0;
    ::Cursor invisibleCursor = 0;
    Atom deleteWindow = 0;
    Atom protocols = 0;
    std::unordered_map<HWND, NativeWindow> windows;
    HCURSOR shownCursor = nullptr;  // what the X windows show now
    bool cursorHidden = false;
    bool cursorKnown = false;
    bool appActive = false;
    ::Window pendingForeign = 0;  // WindowCreated takes this window instead of making one
};

Connection& X();
// The layer window whose X window this is, or null.
HWND WindowOfX(::Window xid);
NativeWindow* NativeOf(HWND window);
// Makes an X window for a layer window that has none (a child that wants GL).
NativeWindow* EnsureNativeWindow(HWND window);

// Per look at the queue: puts changed GDI surfaces on screen, applies the
// cursor, flushes the connection.
void PresentChanges();
// Reads every X event that has arrived and hands it to the core.
void DeliverPendingEvents();
// Turns a layer cursor into an X cursor (cached).
::Cursor XCursorOf(HCURSOR cursor);

}  // namespace x11
