// What the portable core asks of its back end (headless, X11): the parts of
// the system that depend on a display or a clock.
#pragma once

#include "platform/api/types.h"

namespace layer::host {

// Size of the (virtual or real) screen in pixels.
SIZE ScreenSize();
// Milliseconds since an arbitrary start, wrapping at 2^32 like GetTickCount.
DWORD Ticks();
// A window is going away: drop whatever drawing surface the back end kept for it.
void ForgetWindowSurface(HWND window);

}  // namespace layer::host
