// The headless back end's screen and clock.
#include "platform/core/host.h"
#include "platform/headless/headless.h"

namespace {

struct VirtualScreen {
    SIZE size{1024, 768};
    DWORD ticks = 0;
};

VirtualScreen& Screen() {
    static VirtualScreen screen;
    return screen;
}

}  // namespace

namespace headless {

void SetScreenSize(int width, int height) {
    Screen().size = SIZE{width, height};
}

DWORD Ticks() {
    return Screen().ticks;
}

void SetTicks(DWORD ticks) {
    Screen().ticks = ticks;
}

void AdvanceTicks(DWORD milliseconds) {
    Screen().ticks += milliseconds;  // wraps like the real tick count
}

}  // namespace headless

namespace layer::host {

SIZE ScreenSize() {
    return Screen().size;
}

DWORD Ticks() {
    return Screen().ticks;
}

}  // namespace layer::host
