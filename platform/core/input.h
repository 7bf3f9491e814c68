// User input as the back end hands it to the core: routed to a window and
// delivered as Windows delivers it (see headless.h for the rules).
#pragma once

#include "platform/api/windows.h"

#include <optional>

namespace layer::input {

enum class MouseButton { Left, Right, Middle };

void MouseMovedTo(POINT screen);
void MouseButtonChanged(MouseButton button, bool down);
void KeyChanged(UINT key, bool down, bool alt);
// WM_ACTIVATEAPP to every top-level window.
void AppActivated(bool active);
// WM_POWER or WM_POWERBROADCAST to every top-level window.
void PowerEvent(UINT message, WPARAM code);
// The registered "QueryCancelAutoPlay" message to the foreground window;
// its answer, or nullopt when there is no foreground window.
std::optional<LRESULT> QueryCancelAutoPlay();

// The window mouse input at this screen point goes to, and its hit-test code.
HWND MouseTarget(POINT screen, int* hitCode);
// A window appeared under the cursor: at the next look at the queue the
// cursor is routed anew (WM_SETCURSOR and a WM_MOUSEMOVE without movement).
void RequestMouseRefresh();
// Does the refresh requested, if any.
void FlushMouseRefresh();
void ResetInput();

}  // namespace layer::input
