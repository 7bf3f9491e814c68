// The mouse cursor: position, current shape, display counter and cursor
// objects (the system's shared ones and those made with CreateCursor).
#include "platform/core/cursor.h"

#include "platform/core/call_log.h"
#include "platform/core/host.h"
#include "platform/core/input.h"

#include <algorithm>
#include <map>

using namespace layer;

namespace layer {
namespace {

struct CursorState {
    POINT position{};
    HCURSOR current = nullptr;
    int showCount = 0;
    CallLog<HCURSOR> setCursorLog;
};

POINT ScreenCentre() {
    SIZE screen = host::ScreenSize();
    return POINT{screen.cx / 2, screen.cy / 2};
}

CursorState& State() {
    static CursorState state = [] {
        CursorState initial;
        initial.position = ScreenCentre();
        return initial;
    }();
    return state;
}

// The system's cursors and icons, made on first use and shared for the life
// of the process. All show the same small arrow.
HCURSOR SharedCursor(WORD id) {
    static std::map<WORD, HCURSOR> shared;
    auto it = shared.find(id);
    if (it != shared.end() && Find<Cursor>(it->second) != nullptr) {
        return it->second;
    }
    auto* cursor = new Cursor();
    cursor->width = 32;
    cursor->height = 32;
    cursor->shared = true;
    int row = CursorRowBytes(32);
    cursor->andPlane.assign(static_cast<size_t>(row) * 32, 0xFF);
    cursor->xorPlane.assign(static_cast<size_t>(row) * 32, 0x00);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x <= y; ++x) {
            size_t at = static_cast<size_t>(y * row + x / 8);
            BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            cursor->andPlane[at] &= static_cast<BYTE>(~bit);  // drawn: black edge, white inside
            if (x != 0 && x != y && y != 15) {
                cursor->xorPlane[at] |= bit;
            }
        }
    }
    HCURSOR handle = reinterpret_cast<HCURSOR>(AddObject(cursor));
    shared[id] = handle;
    return handle;
}

bool IsSystemCursorId(WORD id) {
    return (id >= 32512 && id <= 32517) || (id >= 32640 && id <= 32651);
}

}  // namespace

int CursorRowBytes(int width) {
    return (width + 15) / 16 * 2;
}

POINT CursorPoint() {
    return State().position;
}

void SetCursorPoint(POINT point) {
    SIZE screen = host::ScreenSize();
    point.x = std::clamp<LONG>(point.x, 0, std::max<LONG>(screen.cx - 1, 0));
    point.y = std::clamp<LONG>(point.y, 0, std::max<LONG>(screen.cy - 1, 0));
    State().position = point;
}

HCURSOR CurrentCursor() {
    return State().current;
}

const std::vector<HCURSOR>& SetCursorLog() {
    return State().setCursorLog.Entries();
}

int CursorShowCount() {
    return State().showCount;
}

void ResetCursorState() {
    State() = CursorState{};
    State().position = ScreenCentre();
}

}  // namespace layer

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (point == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *point = CursorPoint();
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    POINT before = CursorPoint();
    SetCursorPoint(POINT{x, y});
    POINT after = CursorPoint();
    if (after.x != before.x || after.y != before.y) {
        input::RequestMouseRefresh();  // the mouse moved as far as windows can tell
    }
    return TRUE;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    CursorState& state = State();
    state.setCursorLog.Add(cursor);
    if (cursor != nullptr && Find<Cursor>(cursor) == nullptr) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return nullptr;
    }
    HCURSOR previous = state.current;
    state.current = cursor;
    return previous;
}

int WINAPI ShowCursor(BOOL show) {
    CursorState& state = State();
    state.showCount += show ? 1 : -1;
    return state.showCount;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    // The executable holds no cursor resources: only the system's cursors load.
    if (instance == nullptr && IS_INTRESOURCE(name) && IsSystemCursorId(LOWORD(name))) {
        return SharedCursor(LOWORD(name));
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    // Likewise no icon resources; the system's icons are shared images.
    if (instance == nullptr && IS_INTRESOURCE(name) && LOWORD(name) >= 32512 && LOWORD(name) <= 32517) {
        return SharedCursor(static_cast<WORD>(LOWORD(name) + 0x100));
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HCURSOR WINAPI CreateCursor(HINSTANCE, int hotX, int hotY, int width, int height, const void* andPlane,
                            const void* xorPlane) {
    if (width <= 0 || height <= 0 || width > 256 || height > 256 || andPlane == nullptr || xorPlane == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* cursor = new Cursor();
    cursor->hotX = hotX;
    cursor->hotY = hotY;
    cursor->width = width;
    cursor->height = height;
    size_t bytes = static_cast<size_t>(CursorRowBytes(width)) * static_cast<size_t>(height);
    const BYTE* andBytes = static_cast<const BYTE*>(andPlane);
    const BYTE* xorBytes = static_cast<const BYTE*>(xorPlane);
    cursor->andPlane.assign(andBytes, andBytes + bytes);
    cursor->xorPlane.assign(xorBytes, xorBytes + bytes);
    return reinterpret_cast<HCURSOR>(AddObject(cursor));
}

BOOL WINAPI DestroyCursor(HCURSOR handle) {
    const Cursor* cursor = Find<Cursor>(handle);
    if (cursor == nullptr) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    // Shared cursors live as long as the process; the cursor on show stays
    // until another one replaces it.
    if (cursor->shared || handle == State().current) {
        return FALSE;
    }
    RemoveObject(reinterpret_cast<uintptr_t>(handle));
    return TRUE;
}
