// A frame allocates nothing: every vertex comes from the loop counters and
// the swap copies into a buffer kept from the first frame.
#include "scene/scene_state.h"
#include "tools/offscreen_scene.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

TEST(FrameAllocation, FramesAllocateNothingAfterTheFirst) {
    sceneState = SceneState{};
    OffscreenScene scene(160, 120);
    scene.DrawFrame();  // the first swap sizes the presented buffer
    long before = allocations.load();
    for (int i = 0; i < 20; ++i) {
        scene.DrawFrame();
    }
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_EQ(headless::PresentCount(scene.window()), 21u);
}

}  // namespace
