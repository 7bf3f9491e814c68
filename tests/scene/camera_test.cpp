// The camera drift and its random source, simulated without drawing.
#include "scene/scene_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override { sceneState = SceneState{}; }
};

// The generator value that the last re-draw took.
int LastDrawn() {
    return static_cast<int>((sceneState.randomSeed >> 16) & 0x7FFF);
}

// A generator state whose next value is r: the step inverted modulo 2^32.
uint32_t SeedGiving(int r) {
    uint32_t inverse = 214013u;  // Newton's iteration for the inverse of an odd number
    for (int i = 0; i < 5; ++i) {
        inverse *= 2u - 214013u * inverse;
    }
    uint32_t next = static_cast<uint32_t>(r) << 16;
    return (next - 2531011u) * inverse;
}

TEST_F(CameraTest, FirstStepFromTheStartingValues) {
    AdvanceCamera();
    EXPECT_EQ(sceneState.driftDirection, 0.0f);
    EXPECT_EQ(sceneState.driftAxis, 0.0f);
    EXPECT_EQ(sceneState.targetX, 40.0f);
    EXPECT_EQ(sceneState.targetZ, 39.990002f);
    EXPECT_EQ(sceneState.targetZ, static_cast<float>(40.0 - static_cast<double>(0.01f)));
    EXPECT_EQ(sceneState.orbitAngle, 0.01f);
    EXPECT_EQ(sceneState.switchClock, 0.001f);
    EXPECT_EQ(sceneState.eyeX, static_cast<float>(std::sin(static_cast<double>(0.01f)) + 40.0));
    EXPECT_NEAR(sceneState.eyeY, 0.99995f, 1e-6f);
    EXPECT_NEAR(sceneState.eyeZ, 40.98995f, 1e-4f);
    EXPECT_EQ(sceneState.lookHeight, 0.0f);
    EXPECT_EQ(sceneState.randomSeed, 1u);  // no re-draw yet
}

TEST_F(CameraTest, GeneratorSequenceFromStateOne) {
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) {
        EXPECT_EQ(NextRandom(), value);
    }
}

TEST_F(CameraTest, RandomBetweenZeroAndOneSplitsAtBit14) {
    struct Case {
        int generated;
        int expected;
    };
    const Case cases[] = {{0, 0}, {16383, 0}, {16384, 1}, {32767, 1}};
    for (const Case& c : cases) {
        sceneState.randomSeed = SeedGiving(c.generated);
        EXPECT_EQ(RandomBetween(0, 1), c.expected) << "generated " << c.generated;
    }
}

TEST_F(CameraTest, RandomBetweenStaysInItsRangeAndTakesOneValue) {
    struct Case {
        int low;
        int high;
    };
    const Case cases[] = {{0, 1}, {-5, 5}, {10, 10}, {0, 65536}, {-40000, 25536}};
    for (const Case& c : cases) {
        for (int r : {0, 1, 16383, 16384, 32766, 32767}) {
            sceneState.randomSeed = SeedGiving(r);
            int value = RandomBetween(c.low, c.high);
            EXPECT_GE(value, c.low);
            EXPECT_LE(value, c.high);
            int64_t product = int64_t{r} * (c.high - c.low + 1);
            EXPECT_EQ(value, c.low + static_cast<int>(product / 32768)) << c.low << ".." << c.high << " r " << r;
            EXPECT_EQ(sceneState.randomSeed, SeedGiving(r) * 214013u + 2531011u);
        }
    }
}

TEST_F(CameraTest, DriftDirectionFollowsTheTwoBounds) {
    struct Case {
        float x;
        float z;
        float before;
        float after;
    };
    const Case cases[] = {
        {20.0f, 25.0f, 0.0f, 1.0f},  // exactly 20 counts as reached
        {25.0f, 20.0f, 0.0f, 1.0f},
        {30.0f, 25.0f, 1.0f, 0.0f},  // exactly 30 likewise
        {25.0f, 30.0f, 1.0f, 0.0f},
        {19.0f, 31.0f, 1.0f, 0.0f},  // both apply: decreasing wins
        {25.0f, 25.0f, 1.0f, 1.0f},  // neither: kept
        {25.0f, 25.0f, 0.0f, 0.0f},
        {20.000002f, 29.999998f, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        sceneState = SceneState{};
        sceneState.targetX = c.x;
        sceneState.targetZ = c.z;
        sceneState.driftDirection = c.before;
        AdvanceCamera();
        EXPECT_EQ(sceneState.driftDirection, c.after) << c.x << ", " << c.z;
        // Axis Z drifts one step in the chosen direction; X stays.
        EXPECT_EQ(sceneState.targetX, c.x);
        float step = c.after != 0.0f ? 0.01f : -0.01f;
        EXPECT_EQ(sceneState.targetZ, static_cast<float>(static_cast<double>(c.z) + step));
    }
}

TEST_F(CameraTest, ClockIsTestedBeforeItsStep) {
    sceneState.switchClock = 0.9999907f;
    AdvanceCamera();
    EXPECT_EQ(sceneState.randomSeed, 1u);
    EXPECT_EQ(sceneState.switchClock, static_cast<float>(0.9999907f + static_cast<double>(0.001f)));

    sceneState = SceneState{};
    sceneState.switchClock = 1.0009907f;
    AdvanceCamera();
    EXPECT_NE(sceneState.randomSeed, 1u);
    EXPECT_EQ(LastDrawn(), 41);
    EXPECT_EQ(sceneState.switchClock, 0.001f);
}

TEST_F(CameraTest, DriftAxisMovesOnlyTargetX) {
    sceneState.driftAxis = 1.0f;
    sceneState.targetX = 25.0f;
    sceneState.targetZ = 25.0f;
    AdvanceCamera();
    EXPECT_EQ(sceneState.targetZ, 25.0f);
    EXPECT_EQ(sceneState.targetX, static_cast<float>(25.0 + static_cast<double>(0.01f)));
}

// The whole schedule from a fresh start: re-draws every 1001 frames with the
// generator's values, and the turning points between them.
TEST_F(CameraTest, ScheduleFromTheStart) {
    struct Draw {
        int value;
        float axis;
    };
    const Draw draws[] = {{41, 0},    {18467, 1}, {6334, 0},  {26500, 1}, {19169, 1}, {15724, 0}, {11478, 0},
                          {29358, 1}, {26962, 1}, {24464, 1}, {5705, 0},  {28145, 1}, {23281, 1}, {16827, 1},
                          {9961, 0},  {491, 0},   {2995, 0},  {11942, 0}, {4827, 0},  {5436, 0}};
    size_t nextDraw = 0;
    for (int frame = 1; frame <= 20 * 1001 + 1; ++frame) {
        uint32_t seed = sceneState.randomSeed;
        float directionBefore = sceneState.driftDirection;
        AdvanceCamera();
        bool drew = sceneState.randomSeed != seed;
        ASSERT_EQ(drew, frame >= 1002 && (frame - 1002) % 1001 == 0) << "frame " << frame;
        if (drew) {
            ASSERT_LT(nextDraw, std::size(draws));
            EXPECT_EQ(LastDrawn(), draws[nextDraw].value) << "frame " << frame;
            EXPECT_EQ(sceneState.driftAxis, draws[nextDraw].axis) << "frame " << frame;
            ++nextDraw;
        }
        switch (frame) {
            case 1000:
                EXPECT_GE(sceneState.targetZ, 30.0f);
                break;
            case 1001:
                EXPECT_NEAR(sceneState.targetZ, 29.9913f, 5e-5f);
                break;
            case 2001:
                EXPECT_NEAR(sceneState.targetZ, 19.9911f, 5e-5f);
                EXPECT_EQ(sceneState.driftDirection, 0.0f);  // X = 40 holds it at decreasing
                break;
            case 2003:
                EXPECT_EQ(sceneState.targetX, static_cast<float>(40.0 - static_cast<double>(0.01f)));
                EXPECT_NEAR(sceneState.targetZ, 19.9811f, 5e-5f);
                break;
            case 3003:
                EXPECT_NEAR(sceneState.targetX, 29.9913f, 5e-5f);
                EXPECT_EQ(sceneState.driftDirection, 0.0f);
                break;
            case 3004:
                EXPECT_EQ(directionBefore, 0.0f);
                EXPECT_EQ(sceneState.driftDirection, 1.0f);
                EXPECT_EQ(sceneState.driftAxis, 0.0f);
                EXPECT_GT(sceneState.targetZ, 19.9811f);
                break;
            default:
                break;
        }
    }
    EXPECT_EQ(nextDraw, std::size(draws));
}

TEST_F(CameraTest, TargetStaysBetweenTheBoundsForTenMillionFrames) {
    for (int frame = 1; frame < 3004; ++frame) {
        AdvanceCamera();
    }
    float low = 1e9f;
    float high = -1e9f;
    for (int frame = 3004; frame <= 10000000; ++frame) {
        AdvanceCamera();
        low = std::min({low, sceneState.targetX, sceneState.targetZ});
        high = std::max({high, sceneState.targetX, sceneState.targetZ});
    }
    EXPECT_NEAR(low, 19.991068f, 2e-6f);
    EXPECT_NEAR(high, 30.001297f, 2e-6f);
}

TEST_F(CameraTest, OrbitAngleGrowthShrinksToNothingAt262144) {
    struct Case {
        float angle;
        float growth;
    };
    const Case cases[] = {
        {std::nextafter(65536.0f, 0.0f), 0.01171875f},
        {std::nextafter(131072.0f, 0.0f), 0.0078125f},
        {std::nextafter(262144.0f, 0.0f), 0.015625f},
        {262144.0f, 0.0f},
    };
    for (const Case& c : cases) {
        sceneState = SceneState{};
        sceneState.orbitAngle = c.angle;
        AdvanceCamera();
        EXPECT_EQ(sceneState.orbitAngle - c.angle, c.growth) << c.angle;
    }
}

TEST_F(CameraTest, OrbitAngleReaches262144AfterItsFrameCountAndStays) {
    const int framesToLimit = 22918663;
    for (int frame = 1; frame < framesToLimit; ++frame) {
        AdvanceCamera();
    }
    EXPECT_LT(sceneState.orbitAngle, 262144.0f);
    AdvanceCamera();
    EXPECT_EQ(sceneState.orbitAngle, 262144.0f);
    float eyeOffsetX = sceneState.eyeX - sceneState.targetX;
    for (int frame = 0; frame < 2000; ++frame) {
        AdvanceCamera();
    }
    EXPECT_EQ(sceneState.orbitAngle, 262144.0f);
    // The eye keeps its offset from the point looked at, which still drifts.
    EXPECT_NEAR(sceneState.eyeX - sceneState.targetX, eyeOffsetX, 1e-5f);
}

}  // namespace
