// Reading back what GDI drew on the headless host: a window's client area
// and a screenshot of a whole top-level window, frame included.
#pragma once

#include "platform/headless/headless.h"

namespace headless {

// The client area of a window as drawn so far (a child: its part of its
// top-level window's surface). False for a bad handle or a window that has
// never been drawn.
bool ReadWindowSurface(HWND window, Frame* frame);
// The whole top-level window of `window`, frame included.
bool ReadWindowScreenshot(HWND window, Frame* frame);

}  // namespace headless
