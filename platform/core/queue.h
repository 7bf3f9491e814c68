// The thread's message queue: posted messages, the quit flag, and the
// messages generated on demand (WM_PAINT, WM_TIMER).
#pragma once

#include "platform/api/windows.h"

#include <vector>

namespace layer {

// Posts an input message; a WM_MOUSEMOVE for the same window as the last
// message in the queue replaces that one, as Windows coalesces movement.
BOOL PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Drops every posted message for the window.
void DropQueuedMessages(HWND window);
// The posted messages, oldest first.
std::vector<MSG> QueuedMessages();
void ResetQueue();

}  // namespace layer

namespace layer {

// Registered message numbers are forgotten (headless::Reset).
void ResetRegisteredMessages();

}  // namespace layer
