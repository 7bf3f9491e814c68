// Putting the whole layer back to the state of a fresh process
// (headless::Reset).
#pragma once

namespace layer {

// Registers a function that resets some part of the layer's process-wide
// state; run by ResetLayer after the windows are gone.
void AddResetHook(void (*hook)());
// Forgets windows, classes, queue, timers, input, cursor state, focus,
// modules, registry, heap blocks, system settings and failure knobs, then
// runs the hooks.
void ResetLayer();

}  // namespace layer
