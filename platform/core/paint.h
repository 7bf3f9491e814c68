// Painting of GDI windows: the order in which siblings paint and the
// painting of a window's children after the window itself.
#pragma once

#include "platform/api/windows.h"

#include <vector>

namespace layer {

// The children of a window in the order they paint: the opaque ones from the
// top of the stack (the first created) down, so that lower siblings paint over
// upper ones as without WS_CLIPSIBLINGS; then the WS_EX_TRANSPARENT ones from
// the bottom up, each after all siblings beneath it, so those stay visible.
std::vector<HWND> PaintOrder(HWND parent);
// Sends WM_PAINT at once to every visible child (and their children) that has
// an update region, in paint order.
void PaintChildrenNow(HWND parent);

}  // namespace layer
