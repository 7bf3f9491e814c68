// Window and thread timers. They run on the host's never-going-back clock;
// a timer that has come due has one WM_TIMER pending until it is retrieved.
#pragma once

#include "platform/api/windows.h"

#include <vector>

namespace layer {

struct TimerRecord {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
};

// The due timer that comes first (earliest deadline, then oldest) among
// those whose messages pass the window filter (as GetMessageA takes it);
// with `remove`, it starts counting again from now.
bool TakeDueTimer(HWND filter, bool remove, MSG* message);
// Milliseconds until the next timer comes due; INFINITE when none will.
DWORD NextTimerDelay();
// Whether a live timer has this window, id and procedure (DispatchMessageA
// calls a WM_TIMER's procedure only then).
bool IsLiveTimerProc(HWND window, UINT_PTR id, TIMERPROC proc);
void DropWindowTimers(HWND window);
std::vector<TimerRecord> LiveTimers();
void ResetTimers();

}  // namespace layer
