// The mouse cursor: its position, the shape set with SetCursor, the display
// counter of ShowCursor, and cursor objects.
#pragma once

#include "platform/api/windows.h"
#include "platform/core/handles.h"

#include <vector>

namespace layer {

struct Cursor : Object {
    static constexpr ObjectKind kKind = ObjectKind::Cursor;
    Cursor() : Object(kKind) {}

    int hotX = 0;
    int hotY = 0;
    int width = 0;
    int height = 0;
    std::vector<BYTE> andPlane;  // rows of ((width + 15) / 16) * 2 bytes
    std::vector<BYTE> xorPlane;
    bool shared = false;  // a system cursor: never destroyed
};

// Bytes in one row of a monochrome cursor plane (rows are WORD-aligned).
int CursorRowBytes(int width);
// The cursor position in screen coordinates.
POINT CursorPoint();
// Moves the cursor, kept inside the screen; no message.
void SetCursorPoint(POINT point);
HCURSOR CurrentCursor();
const std::vector<HCURSOR>& SetCursorLog();
int CursorShowCount();
void ResetCursorState();

}  // namespace layer
