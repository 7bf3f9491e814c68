// The X11 back end: a real clock, the X connection's events and a real
// desktop to open documents on.
#include "platform/core/host.h"
#include "platform/core/shell_open.h"
#include "platform/x11/x11_state.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>
#include <poll.h>
#include <sched.h>

namespace {

uint64_t MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

}  // namespace

namespace layer::host {

SIZE ScreenSize() {
    const x11::Connection& x = x11::X();
    if (x.display == nullptr) {
        return SIZE{1, 1};
    }
    return SIZE{DisplayWidth(x.display, x.screen), DisplayHeight(x.display, x.screen)};
}

uint64_t Now() {
    static const uint64_t start = MonotonicMilliseconds();
    return MonotonicMilliseconds() - start;
}

DWORD Ticks() {
    return static_cast<DWORD>(MonotonicMilliseconds());
}

void PollEvents() {
    x11::PresentChanges();
    x11::DeliverPendingEvents();
}

bool WaitEvents(DWORD timeout, WPARAM* quitCode) {
    x11::Connection& x = x11::X();
    x11::PresentChanges();
    if (x.display == nullptr) {
        if (timeout == INFINITE) {
            *quitCode = 0;
            return false;  // nothing could ever arrive
        }
        Sleep(timeout);
        return true;
    }
    if (XPending(x.display) == 0) {
        pollfd connection{ConnectionNumber(x.display), POLLIN, 0};
        int wait = timeout == INFINITE ? -1 : static_cast<int>(std::min<DWORD>(timeout, INT_MAX));
        poll(&connection, 1, wait);
    }
    x11::DeliverPendingEvents();
    return true;
}

bool EndSpinningLoop(WPARAM*) {
    return false;  // a real clock never stands still long enough to tell
}

void Sleep(DWORD milliseconds) {
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

HINSTANCE ShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT) {
    return layer::OpenDocument(verb, file);
}

void ProcessExiting(UINT) {
    if (x11::X().display != nullptr) {
        XFlush(x11::X().display);
    }
}

}  // namespace layer::host
