// Focus, the foreground window and the z-order of top-level windows.
#pragma once

#include "platform/api/windows.h"

#include <vector>

namespace layer {

// A new top-level window takes its place at the front of its band (topmost
// or not).
void AddToZOrder(HWND window);
// Sets the foreground window as the user would: no message (null: another
// program's window).
void SetForegroundSilently(HWND window);
// Every SetForegroundWindow call, in order.
const std::vector<HWND>& ForegroundRequests();
// A window is going away: it loses focus, foreground and its z-order place.
void ForgetFocus(HWND window);
void ResetFocus();

}  // namespace layer
