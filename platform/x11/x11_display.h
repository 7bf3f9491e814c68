// Opening the X display for the ostrel executable and wrapping other
// programs' windows as layer windows.
#pragma once

#include "platform/api/windows.h"

#include <cstdint>

namespace x11 {

// Opens the display (null name: $DISPLAY), picks the GL visual and sets the
// layer's cursor position from the pointer. False when there is no display.
bool OpenDisplay(const char* name);
// The root window of the display.
uint64_t RootWindowId();
// A layer window standing for another program's X window (a preview
// parent); null when the id is not a window.
HWND WrapForeignWindow(uint64_t xid);

}  // namespace x11
