// The headless back end: a virtual screen and clock, scripted input, and the
// ends of runs that would otherwise wait for ever.
#include <algorithm>
#include <cstdio>

#include "platform/core/call_log.h"
#include "platform/core/host.h"
#include "platform/core/input.h"
#include "platform/core/shell_open.h"
#include "platform/headless/headless.h"
#include "platform/headless/host_state.h"

namespace headless::detail {
namespace {

constexpr DWORD kDefaultRunLimit = 60000;

}  // namespace

HostState& Host() {
    static HostState state;
    return state;
}

void ResetHost(DWORD ticks) {
    HostState& host = Host();
    host = HostState{};
    host.tickOffset = ticks;
    host.runLimitAt = kDefaultRunLimit;
}

void Deliver(const InputEvent& event) {
    using layer::input::MouseButton;
    auto button = [](Button b) {
        return b == Button::Left ? MouseButton::Left : b == Button::Right ? MouseButton::Right : MouseButton::Middle;
    };
    switch (event.kind) {
        case InputKind::KeyDown:
        case InputKind::KeyUp:
            layer::input::KeyChanged(event.key, event.kind == InputKind::KeyDown, event.alt);
            break;
        case InputKind::MouseMove:
            layer::input::MouseMovedTo(event.point);
            break;
        case InputKind::ButtonDown:
        case InputKind::ButtonUp:
            layer::input::MouseButtonChanged(button(event.button), event.kind == InputKind::ButtonDown);
            break;
        case InputKind::ActivateApp:
            layer::input::AppActivated(event.wParam != 0);
            break;
        case InputKind::Power:
            layer::input::PowerEvent(WM_POWER, event.wParam);
            break;
        case InputKind::PowerBroadcast:
            layer::input::PowerEvent(WM_POWERBROADCAST, event.wParam);
            break;
        case InputKind::AutoPlay:
            Host().autoPlayAnswer = layer::input::QueryCancelAutoPlay();
            break;
    }
}

// Hands over the scripted events that are due, in order. An event may run
// code that schedules more; those wait for the next look.
void DeliverDueEvents() {
    HostState& host = Host();
    std::vector<ScriptedEvent> due;
    auto split = std::stable_partition(host.script.begin(), host.script.end(),
                                       [&](const ScriptedEvent& e) { return e.at <= host.now; });
    due.assign(host.script.begin(), split);
    host.script.erase(host.script.begin(), split);
    std::stable_sort(due.begin(), due.end(),
                     [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.at < b.at; });
    for (const ScriptedEvent& event : due) {
        Deliver(event.event);
    }
}

void MoveClockTo(uint64_t when) {
    if (when > Host().now) {
        Host().now = when;
    }
}

}  // namespace headless::detail

using headless::detail::Host;
using headless::detail::HostState;

namespace layer::host {

SIZE ScreenSize() { return Host().screen; }

uint64_t Now() { return Host().now; }

DWORD Ticks() { return static_cast<DWORD>(Host().now) + Host().tickOffset; }

// Nothing to show on the virtual screen: windows exist only in the layer.
void WindowCreated(HWND) {}

void WindowShown(HWND, bool) {}

void PollEvents() { headless::detail::DeliverDueEvents(); }

bool WaitEvents(DWORD timeout, WPARAM* quitCode) {
    HostState& host = Host();
    uint64_t next = UINT64_MAX;
    for (const auto& event : host.script) {
        next = std::min(next, event.at);
    }
    if (timeout != INFINITE) {
        next = std::min(next, host.now + timeout);
    }
    if (next == UINT64_MAX) {
        host.lastRunEnd = headless::RunEnd::NothingToWaitFor;
        *quitCode = headless::kRunEndedQuitCode;
        return false;
    }
    if (next > host.runLimitAt) {
        headless::detail::MoveClockTo(host.runLimitAt);
        host.lastRunEnd = headless::RunEnd::TimeLimit;
        *quitCode = headless::kRunEndedQuitCode;
        return false;
    }
    headless::detail::MoveClockTo(next);
    headless::detail::DeliverDueEvents();
    return true;
}

bool EndSpinningLoop(WPARAM* quitCode) {
    Host().lastRunEnd = headless::RunEnd::Spinning;
    *quitCode = headless::kRunEndedQuitCode;
    return true;
}

void Sleep(DWORD milliseconds) {
    Host().sleeps.Add(milliseconds);  // the virtual clock does not move
}

HINSTANCE ShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    auto text = [](LPCSTR s) { return s != nullptr ? std::optional<std::string>(s) : std::nullopt; };
    Host().shellExecutes.Add(
        headless::ShellExecuteCall{owner, text(verb), text(file), text(parameters), text(directory), show});
    int error = CheckShellOpen(verb, file);
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(error != 0 ? error : 42));
}

void ProcessExiting(UINT exitCode) {
    if (Host().exitThrows) {
        throw headless::ProcessExit{exitCode};
    }
}

}  // namespace layer::host
