// The tower field in an invisible window of the headless host: what the
// offscreen renderer, the tests and the benchmarks draw with.
#pragma once

#include "platform/headless/headless.h"

#include <cstdint>

class OffscreenScene {
public:
    // Creates a window of the given client size, its context, textures and
    // projection, exactly as the saver window gets them.
    OffscreenScene(int width, int height);
    ~OffscreenScene();
    OffscreenScene(const OffscreenScene&) = delete;
    OffscreenScene& operator=(const OffscreenScene&) = delete;

    HWND window() const { return window_; }
    bool hasContext() const;
    // Draws the next frame (frame 1 first).
    void DrawFrame();
    // Moves the camera as `count` frames would, without drawing them.
    void SkipFrames(uint64_t count);
    uint64_t framesDone() const { return framesDone_; }
    bool ReadFrame(headless::Frame* frame) const;

private:
    HWND window_ = nullptr;
    uint64_t framesDone_ = 0;
};
