// The headless back end's own state, shared by its files.
#pragma once

#include "platform/core/call_log.h"
#include "platform/headless/headless.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace headless::detail {

struct ScriptedEvent {
    uint64_t at = 0;  // on the never-going-back clock
    InputEvent event;
};

struct HostState {
    SIZE screen{1024, 768};
    uint64_t now = 0;       // milliseconds since Reset; never goes back
    DWORD tickOffset = 0;   // GetTickCount = now + tickOffset, modulo 2^32
    uint64_t runLimitAt = 60000;
    RunEnd lastRunEnd = RunEnd::None;
    std::vector<ScriptedEvent> script;  // in the order scheduled
    std::optional<LRESULT> autoPlayAnswer;
    layer::CallLog<DWORD> sleeps;
    layer::CallLog<ShellExecuteCall> shellExecutes;
    bool exitThrows = false;
};

HostState& Host();
void ResetHost(DWORD ticks);
// Hands one event to the core's input functions now.
void Deliver(const InputEvent& event);
void DeliverDueEvents();
void MoveClockTo(uint64_t when);

}  // namespace headless::detail
