// The camera: the point looked at drifts along one axis at a time between two
// bounds, the eye circles it on a small tilted orbit, and every 1001 frames
// the drifting axis is drawn anew. Fixed steps per frame, so the path is the
// same on every run.
#include "scene/scene_state.h"

#include <cmath>

namespace {

constexpr float kLowerBound = 20.0f;
constexpr float kUpperBound = 30.0f;
constexpr float kStep = 0.01f;        // drift and orbit step
constexpr float kClockStep = 0.001f;  // switch clock step
constexpr float kSwitchLevel = 1.0f;

// Sums are formed in double and rounded once to single precision when
// stored: exactly IEEE single addition, which the schedule depends on.
float Add(float a, double b) {
    return static_cast<float>(static_cast<double>(a) + b);
}

}  // namespace

void AdvanceCamera() {
    SceneState& s = sceneState;
    if (s.targetX <= kLowerBound || s.targetZ <= kLowerBound) {
        s.driftDirection = 1.0f;
    }
    // Tested second, so the upper bound wins when both apply.
    if (s.targetX >= kUpperBound || s.targetZ >= kUpperBound) {
        s.driftDirection = 0.0f;
    }
    if (s.switchClock >= kSwitchLevel) {
        s.driftAxis = static_cast<float>(RandomBetween(0, 1));
        s.switchClock = 0.0f;
    }
    float& drifting = s.driftAxis == 0.0f ? s.targetZ : s.targetX;
    drifting = s.driftDirection != 0.0f ? Add(drifting, kStep) : Add(drifting, -static_cast<double>(kStep));
    s.orbitAngle = Add(s.orbitAngle, kStep);
    double angle = s.orbitAngle;
    s.eyeX = static_cast<float>(std::sin(angle) + s.targetX);
    s.eyeY = static_cast<float>(std::cos(angle) + s.lookHeight);
    s.eyeZ = static_cast<float>(std::cos(angle) + s.targetZ);
    s.switchClock = Add(s.switchClock, kClockStep);
}

int NextRandom() {
    sceneState.randomSeed = sceneState.randomSeed * 214013u + 2531011u;
    return static_cast<int>((sceneState.randomSeed >> 16) & 0x7FFF);
}

int RandomBetween(int low, int high) {
    int r = NextRandom();
    // Callers keep the range to at most 65537 values, so this fits in 32 bits.
    int32_t product = r * (high - low + 1);
    return low - static_cast<int>(static_cast<double>(product) * (-1.0 / 32768.0));
}
