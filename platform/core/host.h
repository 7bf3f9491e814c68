// What the portable core asks of its back end (headless, X11): the parts of
// the system that depend on a display, a clock or the outside world.
#pragma once

#include "platform/api/types.h"

#include <cstdint>

namespace layer::host {

// Size of the (virtual or real) screen in pixels.
SIZE ScreenSize();
// Milliseconds since an arbitrary start, never going back: timers run on it.
uint64_t Now();
// Milliseconds since an arbitrary start, wrapping at 2^32 like GetTickCount.
DWORD Ticks();
// A window is going away: drop whatever drawing surface (and native window)
// the back end kept for it.
void ForgetWindowSurface(HWND window);
// Native windows, for a back end that shows them. A window's record is
// complete and WM_NCCREATE not yet sent; a window was shown or hidden.
void WindowCreated(HWND window);
void WindowShown(HWND window, bool visible);

// Events, in the manner of GLFW. The back end hands input to the core
// through platform/core/input.h.
// Delivers the input that has arrived by now. Called by GetMessageA and
// PeekMessageA before they look at the queue.
void PollEvents();
// The queue is empty: waits until input arrives (and delivers it) or
// `timeout` milliseconds pass (INFINITE: no timeout). Returns false when the
// back end ends the run instead; GetMessageA then returns WM_QUIT with
// *quitCode as its wParam.
bool WaitEvents(DWORD timeout, WPARAM* quitCode);
// GetMessageA has handed out a great many messages while the clock stood
// still. True (with *quitCode) ends the run as WaitEvents does.
bool EndSpinningLoop(WPARAM* quitCode);

// Sleep: gives up the time slice (a real back end sleeps).
void Sleep(DWORD milliseconds);
// ShellExecuteA: opens a document (a real back end through OpenDocument in
// shell_open.h).
HINSTANCE ShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
// ExitProcess is about to end the process; the back end may throw instead.
void ProcessExiting(UINT exitCode);

}  // namespace layer::host
