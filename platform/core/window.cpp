// Window classes and windows: registration, creation, destruction, lookup
// and geometry.
#include "platform/core/window.h"

#include "platform/core/failures.h"
#include "platform/core/focus.h"
#include "platform/core/gdi_objects.h"
#include "platform/core/host.h"
#include "platform/core/input.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace layer {
namespace {

struct ClassRegistry {
    std::vector<std::unique_ptr<WindowClass>> classes;
    ATOM nextAtom = 0xC000;
};

ClassRegistry& Classes() {
    static ClassRegistry registry;
    return registry;
}

std::vector<HWND>& CreationOrder() {
    static std::vector<HWND> order;
    return order;
}

bool SameName(const std::string& a, LPCSTR b) {
    if (b == nullptr) {
        return false;
    }
    size_t length = std::char_traits<char>::length(b);
    if (a.size() != length) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

const WindowClass* FindClass(LPCSTR name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (auto& c : Classes().classes) {
        if (IS_INTRESOURCE(name) ? c->atom == LOWORD(name) : SameName(c->name, name)) {
            return c.get();
        }
    }
    return nullptr;
}

Window* FindWindowObject(HWND window) {
    return Find<Window>(window);
}

SIZE ClientSize(const Window* window) {
    if (window->isDesktop) {
        return host::ScreenSize();
    }
    LONG inset = (window->style & WS_BORDER) ? 2 : 0;
    SIZE size{window->rect.right - window->rect.left - inset, window->rect.bottom - window->rect.top - inset};
    size.cx = std::max<LONG>(size.cx, 0);
    size.cy = std::max<LONG>(size.cy, 0);
    return size;
}

POINT ClientOrigin(const Window* window) {
    LONG inset = (window->style & WS_BORDER) ? 1 : 0;
    POINT origin{window->rect.left + inset, window->rect.top + inset};
    if ((window->style & WS_CHILD) != 0) {
        if (const Window* parent = FindWindowObject(window->parent)) {
            POINT parentOrigin = ClientOrigin(parent);
            origin.x += parentOrigin.x;
            origin.y += parentOrigin.y;
        }
    }
    return origin;
}

RECT ScreenRectOf(const Window* window) {
    if (window->isDesktop) {
        SIZE screen = host::ScreenSize();
        return RECT{0, 0, screen.cx, screen.cy};
    }
    RECT rect = window->rect;
    if ((window->style & WS_CHILD) != 0) {
        if (const Window* parent = FindWindowObject(window->parent)) {
            POINT origin = ClientOrigin(parent);
            rect.left += origin.x;
            rect.right += origin.x;
            rect.top += origin.y;
            rect.bottom += origin.y;
        }
    }
    return rect;
}

HWND RootOf(HWND handle) {
    const Window* window = FindWindowObject(handle);
    while (window != nullptr && (window->style & WS_CHILD) != 0) {
        const Window* parent = FindWindowObject(window->parent);
        if (parent == nullptr) {
            break;
        }
        handle = window->parent;
        window = parent;
    }
    return window != nullptr ? handle : nullptr;
}

bool IsSelfOrDescendant(HWND ancestor, HWND handle) {
    for (const Window* window = FindWindowObject(handle); window != nullptr;) {
        if (handle == ancestor) {
            return true;
        }
        if ((window->style & WS_CHILD) == 0) {
            return false;
        }
        handle = window->parent;
        window = FindWindowObject(handle);
    }
    return false;
}

void ValidateWindow(HWND handle) {
    if (Window* window = FindWindowObject(handle)) {
        window->needsPaint = false;
        window->needsErase = false;
        window->updateRect = RECT{};
    }
}

void ForgetAllWindows() {
    std::vector<HWND> order = CreationOrder();
    CreationOrder().clear();
    for (HWND handle : order) {
        Window* window = FindWindowObject(handle);
        if (window == nullptr) {
            continue;
        }
        WindowDestroyed(handle);
        if (window->ownDC != nullptr) {
            DestroyWindowDC(window->ownDC);
        }
        RemoveObject(reinterpret_cast<uintptr_t>(handle));
    }
    auto& classes = Classes().classes;
    classes.erase(std::remove_if(classes.begin(), classes.end(), [](const auto& c) { return !c->builtIn; }),
                  classes.end());
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> result;
    for (HWND handle : CreationOrder()) {
        const Window* window = FindWindowObject(handle);
        if (window != nullptr && (window->style & WS_CHILD) == 0) {
            result.push_back(handle);
        }
    }
    return result;
}

}  // namespace layer

using namespace layer;

namespace layer {
namespace {

ATOM AddClass(const WNDCLASSA* windowClass, bool builtIn) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr || windowClass->lpfnWndProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (IS_INTRESOURCE(windowClass->lpszClassName) || FindClass(windowClass->lpszClassName) != nullptr) {
        return 0;  // already registered
    }
    auto c = std::make_unique<WindowClass>();
    c->name = windowClass->lpszClassName;
    c->atom = Classes().nextAtom++;
    c->style = windowClass->style;
    c->proc = windowClass->lpfnWndProc;
    c->classExtra = windowClass->cbClsExtra;
    c->windowExtra = windowClass->cbWndExtra;
    c->instance = windowClass->hInstance;
    c->icon = windowClass->hIcon;
    c->cursor = windowClass->hCursor;
    c->background = windowClass->hbrBackground;
    c->builtIn = builtIn;
    ATOM atom = c->atom;
    Classes().classes.push_back(std::move(c));
    return atom;
}

}  // namespace

ATOM RegisterBuiltInClass(const WNDCLASSA& windowClass) {
    return AddClass(&windowClass, true);
}

}  // namespace layer

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (TakeFailure(Failure::RegisterClass)) {
        return 0;
    }
    return AddClass(windowClass, false);
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    auto& classes = Classes().classes;
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if (IS_INTRESOURCE(className) ? (*it)->atom == LOWORD(className) : SameName((*it)->name, className)) {
            for (HWND handle : CreationOrder()) {
                const Window* window = FindWindowObject(handle);
                if (window != nullptr && window->windowClass == it->get()) {
                    return FALSE;  // still in use
                }
            }
            classes.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL WINAPI GetClassInfoA(HINSTANCE, LPCSTR className, LPWNDCLASSA out) {
    const WindowClass* c = FindClass(className);
    if (c == nullptr || out == nullptr) {
        return FALSE;
    }
    *out = WNDCLASSA{c->style,    c->proc,     c->classExtra, c->windowExtra, c->instance,
                     c->icon,     c->cursor,   c->background, nullptr,        c->name.c_str()};
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    const WindowClass* c = FindClass(className);
    if (c == nullptr || TakeFailure(Failure::CreateWindow)) {
        return nullptr;
    }
    Window* parentWindow = nullptr;
    if (parent != nullptr) {
        parentWindow = FindWindowObject(parent);
        if (parentWindow == nullptr) {
            return nullptr;
        }
    } else if ((style & WS_CHILD) != 0) {
        return nullptr;  // a child needs a parent
    }
    auto* window = new Window();
    window->windowClass = c;
    window->proc = c->proc;
    // Created hidden: WM_CREATE comes before the window becomes visible.
    window->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    window->exStyle = exStyle;
    window->text = windowName != nullptr ? windowName : "";
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = 640;
        height = 480;
    }
    window->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    window->instance = instance;
    window->extra.assign(static_cast<size_t>(std::max(c->windowExtra, 0) + 7) / 8, 0);
    if ((style & WS_CHILD) != 0) {
        window->parent = parent;
        window->id = static_cast<int>(reinterpret_cast<intptr_t>(menu));
    } else {
        window->owner = parent;
    }
    HWND handle = reinterpret_cast<HWND>(AddObject(window));
    CreationOrder().push_back(handle);
    if ((c->style & CS_OWNDC) != 0) {
        window->ownDC = CreateWindowDC(handle, true);
    }
    if (parentWindow != nullptr && (style & WS_CHILD) != 0) {
        parentWindow->children.push_back(handle);
    } else {
        AddToZOrder(handle);
    }
    host::WindowCreated(handle);
    CREATESTRUCTA create{param,  instance, menu, parent, height, width, y, x, static_cast<LONG>(style),
                         windowName, className, exStyle};
    LPARAM createArg = reinterpret_cast<LPARAM>(&create);
    if (!SendMessageA(handle, WM_NCCREATE, 0, createArg)) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (SendMessageA(handle, WM_CREATE, 0, createArg) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!IsWindow(handle)) {
        return nullptr;  // destroyed during creation
    }
    if ((style & WS_VISIBLE) != 0) {
        ShowWindow(handle, SW_SHOW);
    }
    return IsWindow(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* window = FindWindowObject(handle);
    if (window == nullptr || window->destroying || window->isDesktop) {
        if (window == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        }
        return FALSE;
    }
    window->destroying = true;
    SendMessageA(handle, WM_DESTROY, 0, 0);
    // Children go after their parent has seen WM_DESTROY, the last created first.
    if ((window = FindWindowObject(handle)) != nullptr) {
        std::vector<HWND> children = window->children;
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            DestroyWindow(*it);
        }
    }
    // Owned popups go too.
    for (HWND other : TopLevelWindows()) {
        const Window* w = FindWindowObject(other);
        if (w != nullptr && w->owner == handle) {
            DestroyWindow(other);
        }
    }
    SendMessageA(handle, WM_NCDESTROY, 0, 0);
    window = FindWindowObject(handle);
    if (window == nullptr) {
        return TRUE;
    }
    if (Window* parent = FindWindowObject(window->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    }
    WindowDestroyed(handle);
    if (window->ownDC != nullptr) {
        DestroyWindowDC(window->ownDC);
    }
    auto& order = CreationOrder();
    order.erase(std::remove(order.begin(), order.end(), handle), order.end());
    RemoveObject(reinterpret_cast<uintptr_t>(handle));
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND handle, int command) {
    Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
    bool show = command != SW_HIDE;
    if (show != (wasVisible != 0)) {
        SendMessageA(handle, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if ((window = FindWindowObject(handle)) == nullptr) {
            return wasVisible;
        }
        if (show) {
            window->style |= WS_VISIBLE;
            host::WindowShown(handle, true);
            InvalidateRect(handle, nullptr, TRUE);
            POINT cursor;
            GetCursorPos(&cursor);
            RECT area = ScreenRectOf(window);
            if (cursor.x >= area.left && cursor.x < area.right && cursor.y >= area.top && cursor.y < area.bottom) {
                input::RequestMouseRefresh();
            }
        } else {
            window->style &= ~static_cast<DWORD>(WS_VISIBLE);
            host::WindowShown(handle, false);
            if (HWND focus = GetFocus(); focus != nullptr && IsSelfOrDescendant(handle, focus)) {
                SetFocus(nullptr);
            }
        }
    }
    bool activates = command != SW_HIDE && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                     command != SW_SHOWMINNOACTIVE;
    if (activates && IsWindow(handle) && (window->style & WS_CHILD) == 0) {
        ActivateWindow(handle);
    }
    return wasVisible;
}

HWND WINAPI GetDesktopWindow(void) {
    static HWND desktop = nullptr;
    if (FindWindowObject(desktop) == nullptr) {
        static WindowClass desktopClass;
        desktopClass.name = "#32769";
        desktopClass.proc = DefWindowProcA;
        desktopClass.builtIn = true;
        auto* window = new Window();
        window->windowClass = &desktopClass;
        window->proc = DefWindowProcA;
        window->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
        window->isDesktop = true;
        desktop = reinterpret_cast<HWND>(AddObject(window));
    }
    return desktop;
}

BOOL WINAPI IsWindow(HWND window) {
    return FindWindowObject(window) != nullptr ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND handle) {
    for (const Window* window = FindWindowObject(handle); window != nullptr;
         window = FindWindowObject(window->parent)) {
        if ((window->style & WS_VISIBLE) == 0) {
            return FALSE;
        }
        if ((window->style & WS_CHILD) == 0) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
    const Window* window = FindWindowObject(handle);
    return window != nullptr && (window->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
    Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        return FALSE;
    }
    BOOL wasDisabled = (window->style & WS_DISABLED) != 0;
    if (enable) {
        window->style &= ~static_cast<DWORD>(WS_DISABLED);
    } else {
        window->style |= WS_DISABLED;
    }
    if (wasDisabled == (enable != 0)) {
        SendMessageA(handle, WM_ENABLE, enable != 0, 0);
    }
    return wasDisabled;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    const WindowClass* c = className != nullptr ? FindClass(className) : nullptr;
    if (className != nullptr && c == nullptr) {
        return nullptr;
    }
    for (HWND handle : TopLevelWindows()) {
        const Window* window = FindWindowObject(handle);
        if (window->destroying) {
            continue;
        }
        if (c != nullptr && window->windowClass != c) {
            continue;
        }
        if (windowName != nullptr && window->text != windowName) {
            continue;
        }
        return handle;
    }
    return nullptr;
}

HWND WINAPI GetParent(HWND handle) {
    const Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        return nullptr;
    }
    return (window->style & WS_CHILD) != 0 ? window->parent : window->owner;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    const Window* window = FindWindowObject(dialog);
    if (window == nullptr) {
        return nullptr;
    }
    for (HWND child : window->children) {
        const Window* c = FindWindowObject(child);
        if (c != nullptr && c->id == id) {
            return child;
        }
    }
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND handle) {
    const Window* window = FindWindowObject(handle);
    return window != nullptr && (window->style & WS_CHILD) != 0 ? window->id : 0;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
    const Window* window = FindWindowObject(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    SIZE size = ClientSize(window);
    *rect = RECT{0, 0, size.cx, size.cy};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
    const Window* window = FindWindowObject(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = ScreenRectOf(window);
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND handle, LPPOINT point) {
    const Window* window = FindWindowObject(handle);
    if (window == nullptr || point == nullptr) {
        return FALSE;
    }
    POINT origin = ClientOrigin(window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND handle, LPPOINT point) {
    const Window* window = FindWindowObject(handle);
    if (window == nullptr || point == nullptr) {
        return FALSE;
    }
    POINT origin = ClientOrigin(window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    return IsWindow(window) ? static_cast<BOOL>(SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)))
                            : FALSE;
}

int WINAPI GetWindowTextA(HWND window, LPSTR buffer, int maxCount) {
    if (buffer == nullptr || maxCount <= 0 || !IsWindow(window)) {
        return 0;
    }
    return static_cast<int>(SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int WINAPI GetWindowTextLengthA(HWND window) {
    return IsWindow(window) ? static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

LONG_PTR WINAPI GetWindowLongA(HWND handle, int index) {
    const Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (index) {
        case GWL_WNDPROC:
            return reinterpret_cast<LONG_PTR>(window->proc);
        case GWL_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(window->instance);
        case GWL_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(GetParent(handle));
        case GWL_STYLE:
            return static_cast<LONG>(window->style);
        case GWL_EXSTYLE:
            return static_cast<LONG>(window->exStyle);
        case GWL_USERDATA:
            return window->userData;
        case GWL_ID:
            return window->id;
        default:
            if (index >= 0 && static_cast<size_t>(index / 8) < window->extra.size() && index % 8 == 0) {
                return window->extra[static_cast<size_t>(index / 8)];
            }
            SetLastError(1413);  // ERROR_INVALID_INDEX
            return 0;
    }
}

LONG_PTR WINAPI SetWindowLongA(HWND handle, int index, LONG_PTR value) {
    Window* window = FindWindowObject(handle);
    if (window == nullptr) {
        return 0;
    }
    LONG_PTR previous = GetWindowLongA(handle, index);
    switch (index) {
        case GWL_WNDPROC:
            if (value == 0) {
                return 0;
            }
            window->proc = reinterpret_cast<WNDPROC>(value);
            break;
        case GWL_STYLE:
            window->style = static_cast<DWORD>(value);
            break;
        case GWL_EXSTYLE:
            window->exStyle = static_cast<DWORD>(value);
            break;
        case GWL_USERDATA:
            window->userData = value;
            break;
        case GWL_ID:
            window->id = static_cast<int>(value);
            break;
        default:
            if (index >= 0 && static_cast<size_t>(index / 8) < window->extra.size() && index % 8 == 0) {
                window->extra[static_cast<size_t>(index / 8)] = value;
                break;
            }
            return 0;
    }
    return previous;
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc != nullptr ? proc(window, message, wParam, lParam) : 0;
}
