#include "scene/scene_state.h"

#include <gtest/gtest.h>

TEST(Camera, Placeholder) {
    sceneState = SceneState{};
    AdvanceCamera();
    EXPECT_FLOAT_EQ(sceneState.targetZ, 39.99f);
}
