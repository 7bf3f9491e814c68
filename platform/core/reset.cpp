// Putting the layer back to the state of a fresh process.
#include "platform/core/reset.h"

#include "platform/core/cursor.h"
#include "platform/core/failures.h"
#include "platform/core/focus.h"
#include "platform/core/input.h"
#include "platform/core/queue.h"
#include "platform/core/system_state.h"
#include "platform/core/timers.h"
#include "platform/core/window.h"

#include <vector>

namespace layer {
namespace {

std::vector<void (*)()>& Hooks() {
    static std::vector<void (*)()> hooks;
    return hooks;
}

}  // namespace

void AddResetHook(void (*hook)()) {
    if (hook != nullptr) {
        Hooks().push_back(hook);
    }
}

void ResetLayer() {
    ForgetAllWindows();
    ResetQueue();
    ResetRegisteredMessages();
    ResetTimers();
    input::ResetInput();
    ResetCursorState();
    ResetFocus();
    ResetSystemState();
    ResetFailures();
    for (auto hook : Hooks()) {
        hook();
    }
}

}  // namespace layer
