// BeginPaint, EndPaint and UpdateWindow. Controls lie over their parent
// without clipping it, so a parent that paints covers its children: they are
// invalidated by the parent's BeginPaint and painted again, in paint order,
// as soon as the parent's EndPaint is done.
#include "platform/core/paint.h"

#include "platform/core/gdi_objects.h"
#include "platform/core/gdi_surface.h"
#include "platform/core/window.h"

#include <algorithm>
#include <cstring>

namespace layer {
namespace {

// Marks the children that overlap `area` (the parent's client coordinates).
void InvalidateChildrenUnder(const Window* parent, const RECT& area) {
    for (HWND child : parent->children) {
        const Window* c = FindWindowObject(child);
        if (c == nullptr || (c->style & WS_VISIBLE) == 0) {
            continue;
        }
        RECT overlap = Intersect(area, c->rect);
        if (IsEmpty(overlap)) {
            continue;
        }
        POINT origin = ClientOrigin(c);
        POINT parentOrigin = ClientOrigin(parent);
        LONG dx = origin.x - parentOrigin.x;
        LONG dy = origin.y - parentOrigin.y;
        RECT local{overlap.left - dx, overlap.top - dy, overlap.right - dx, overlap.bottom - dy};
        InvalidateRect(child, &local, TRUE);
    }
}

}  // namespace

std::vector<HWND> PaintOrder(HWND parent) {
    std::vector<HWND> order;
    const Window* window = FindWindowObject(parent);
    if (window == nullptr) {
        return order;
    }
    for (HWND child : window->children) {
        const Window* c = FindWindowObject(child);
        if (c != nullptr && (c->exStyle & WS_EX_TRANSPARENT) == 0) {
            order.push_back(child);
        }
    }
    for (auto it = window->children.rbegin(); it != window->children.rend(); ++it) {
        const Window* c = FindWindowObject(*it);
        if (c != nullptr && (c->exStyle & WS_EX_TRANSPARENT) != 0) {
            order.push_back(*it);
        }
    }
    return order;
}

void PaintChildrenNow(HWND parent) {
    for (HWND child : PaintOrder(parent)) {
        const Window* c = FindWindowObject(child);
        if (c == nullptr || !IsWindowVisible(child)) {
            continue;
        }
        if (c->needsPaint) {
            SendMessageA(child, WM_PAINT, 0, 0);
        }
        // Its own EndPaint painted its children; these are the ones that were
        // pending without it.
        if (FindWindowObject(child) != nullptr) {
            PaintChildrenNow(child);
        }
    }
}

}  // namespace layer

using namespace layer;

HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
    Window* window = FindWindowObject(handle);
    if (window == nullptr || paint == nullptr) {
        return nullptr;
    }
    SIZE size = ClientSize(window);
    RECT client{0, 0, size.cx, size.cy};
    RECT area = window->needsPaint ? Intersect(window->updateRect, client) : RECT{0, 0, 0, 0};
    bool erase = window->needsErase;
    ValidateWindow(handle);
    HDC dc = GetDC(handle);
    if ((window->style & WS_CHILD) == 0) {
        DrawWindowFrame(handle);
    }
    std::memset(paint, 0, sizeof *paint);
    paint->hdc = dc;
    paint->rcPaint = area;
    // fErase tells the window to erase for itself: its WM_ERASEBKGND did not.
    paint->fErase = erase && SendMessageA(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    if ((window = FindWindowObject(handle)) != nullptr && (window->style & WS_CLIPCHILDREN) == 0 && !IsEmpty(area)) {
        InvalidateChildrenUnder(window, area);
    }
    return dc;
}

BOOL WINAPI EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    if (paint == nullptr) {
        return FALSE;
    }
    ReleaseDC(handle, paint->hdc);
    if (FindWindowObject(handle) != nullptr) {
        PaintChildrenNow(handle);
    }
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND handle) {
    const Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (window->needsPaint && IsWindowVisible(handle)) {
        SendMessageA(handle, WM_PAINT, 0, 0);
    }
    if (FindWindowObject(handle) != nullptr) {
        PaintChildrenNow(handle);
    }
    return TRUE;
}
