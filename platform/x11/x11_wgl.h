// What the X11 back end's window code asks of its WGL part.
#pragma once

#include "platform/api/windows.h"

namespace x11 {

// A window is going away: GL must not stay current on it.
void ForgetGLWindow(HWND window);

}  // namespace x11
