// One-shot failures that tests arm to reach the system's failure paths.
#include "platform/core/failures.h"

#include <array>
#include <cstddef>

namespace layer {
namespace {

std::array<bool, static_cast<size_t>(Failure::Count)>& Armed() {
    static std::array<bool, static_cast<size_t>(Failure::Count)> armed{};
    return armed;
}

}  // namespace

void FailNext(Failure call) {
    Armed()[static_cast<size_t>(call)] = true;
}

bool TakeFailure(Failure call) {
    bool& armed = Armed()[static_cast<size_t>(call)];
    bool fail = armed;
    armed = false;
    return fail;
}

void ResetFailures() {
    Armed().fill(false);
}

}  // namespace layer
