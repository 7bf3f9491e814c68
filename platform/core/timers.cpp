// SetTimer and KillTimer. A timer comes due `elapse` milliseconds after it
// was set or last retrieved; while due it has exactly one WM_TIMER pending,
// generated when the queue has nothing else (so ticks coalesce, as on
// Windows), and retrieving that message starts the next period.
#include "platform/core/timers.h"

#include "platform/core/failures.h"
#include "platform/core/host.h"
#include "platform/core/window.h"

#include <algorithm>

using namespace layer;

namespace layer {
namespace {

struct Timer {
    TimerRecord record;
    uint64_t start = 0;  // host::Now() when the period began
    uint64_t serial = 0;
    uint64_t Deadline() const { return start + record.elapse; }
};

struct TimerTable {
    std::vector<Timer> timers;
    uint64_t nextSerial = 1;
    UINT_PTR nextThreadId = 1;
};

TimerTable& Table() {
    static TimerTable table;
    return table;
}

Timer* FindTimer(HWND window, UINT_PTR id) {
    for (Timer& timer : Table().timers) {
        if (timer.record.window == window && timer.record.id == id) {
            return &timer;
        }
    }
    return nullptr;
}

bool Passes(HWND filter, HWND window) {
    if (filter == nullptr) {
        return true;
    }
    if (filter == reinterpret_cast<HWND>(static_cast<intptr_t>(-1))) {
        return window == nullptr;
    }
    return window != nullptr && IsSelfOrDescendant(filter, window);
}

}  // namespace

bool TakeDueTimer(HWND filter, bool remove, MSG* message) {
    uint64_t now = host::Now();
    Timer* first = nullptr;
    for (Timer& timer : Table().timers) {
        if (timer.Deadline() > now || !Passes(filter, timer.record.window)) {
            continue;
        }
        if (first == nullptr || timer.Deadline() < first->Deadline() ||
            (timer.Deadline() == first->Deadline() && timer.serial < first->serial)) {
            first = &timer;
        }
    }
    if (first == nullptr) {
        return false;
    }
    *message = MSG{first->record.window, WM_TIMER, first->record.id, reinterpret_cast<LPARAM>(first->record.proc),
                   0, POINT{}};
    if (remove) {
        first->start = now;
    }
    return true;
}

DWORD NextTimerDelay() {
    uint64_t now = host::Now();
    uint64_t best = INFINITE;
    for (const Timer& timer : Table().timers) {
        if (timer.Deadline() > now) {
            best = std::min(best, timer.Deadline() - now);
        }
    }
    return static_cast<DWORD>(best);
}

bool IsLiveTimerProc(HWND window, UINT_PTR id, TIMERPROC proc) {
    const Timer* timer = FindTimer(window, id);
    return timer != nullptr && proc != nullptr && timer->record.proc == proc;
}

void DropWindowTimers(HWND window) {
    std::erase_if(Table().timers, [window](const Timer& timer) { return timer.record.window == window; });
}

std::vector<TimerRecord> LiveTimers() {
    std::vector<TimerRecord> records;
    for (const Timer& timer : Table().timers) {
        records.push_back(timer.record);
    }
    return records;
}

void ResetTimers() {
    Table() = TimerTable{};
}

}  // namespace layer

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (window != nullptr && !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (TakeFailure(Failure::SetTimer)) {
        return 0;
    }
    elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    TimerTable& table = Table();
    if (window == nullptr) {
        // A thread timer: an id of the caller's is kept only when it names
        // an existing thread timer; otherwise the system picks one.
        if (id == 0 || FindTimer(nullptr, id) == nullptr) {
            do {
                id = table.nextThreadId++;
            } while (id == 0 || FindTimer(nullptr, id) != nullptr);
        }
    }
    Timer* timer = FindTimer(window, id);
    if (timer == nullptr) {
        table.timers.push_back(Timer{});
        timer = &table.timers.back();
        timer->record.window = window;
        timer->record.id = id;
    }
    // Setting an existing timer again starts its period afresh.
    timer->record.elapse = elapse;
    timer->record.proc = proc;
    timer->start = host::Now();
    timer->serial = table.nextSerial++;
    return window != nullptr && id == 0 ? 1 : id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    if (window != nullptr && !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto& timers = Table().timers;
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& timer) {
        return timer.record.window == window && timer.record.id == id;
    });
    if (it == timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    timers.erase(it);
    return TRUE;
}
