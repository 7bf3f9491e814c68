// One frame of the tower field: 40 by 40 two-tier towers added onto black,
// then the circuit floor, all in immediate mode. Vertices are computed from
// the loop counters as they are sent, so a frame allocates nothing.
#include "scene/scene_state.h"

namespace {

constexpr int kGridSize = 40;

// A tower corner: footprint corner 1 to 4 (1 low x high z, 2 high x high z,
// 3 high x low z, 4 low x low z) at a level y of -1, 0 or 1, with its
// texture coordinate.
struct QuadVertex {
    signed char corner;
    signed char level;
    float s;
    float t;
};

// Upper tier and bottom, textured with panel A: faces +z, -z, top, bottom, +x, -x.
constexpr QuadVertex kUpperTier[] = {
    {1, 0, 0, 0}, {2, 0, 1, 0}, {2, 1, 1, 1}, {1, 1, 0, 1},
    {4, 0, 1, 0}, {4, 1, 1, 1}, {3, 1, 0, 1}, {3, 0, 0, 0},
    {4, 1, 0, 1}, {1, 1, 0, 0}, {2, 1, 1, 0}, {3, 1, 1, 1},
    {4, -1, 0.1f, 0.1f}, {3, -1, 0, 0.1f}, {2, -1, 0, 0}, {1, -1, 0.1f, 0},
    {3, 0, 1, 0}, {3, 1, 1, 1}, {2, 1, 0, 1}, {2, 0, 0, 0},
    {4, 0, 0, 0}, {1, 0, 1, 0}, {1, 1, 1, 1}, {4, 1, 0, 1},
};

// Lower tier, textured with panel B: faces +z, -z, +x, -x.
constexpr QuadVertex kLowerTier[] = {
    {1, -1, 0, 0}, {2, -1, 1, 0}, {2, 0, 1, 1}, {1, 0, 0, 1},
    {4, -1, 1, 0}, {4, 0, 1, 1}, {3, 0, 0, 1}, {3, -1, 0, 0},
    {3, -1, 1, 0}, {3, 0, 1, 1}, {2, 0, 0, 1}, {2, -1, 0, 0},
    {4, -1, 0, 0}, {1, -1, 1, 0}, {1, 0, 1, 1}, {4, 0, 0, 1},
};

// The floor: one quad under grid rows and columns 0 to 19, its texture
// repeating once per grid cell.
constexpr float kFloorY = -1.01f;
constexpr float kFloorLow = -1.4f;
constexpr float kFloorHigh = 58.6f;
constexpr float kFloorRepeat = 20.0f;

template <size_t N>
void SendTier(const QuadVertex (&vertices)[N]) {
    const SceneState& s = sceneState;
    for (const QuadVertex& v : vertices) {
        bool highX = v.corner == 2 || v.corner == 3;
        bool highZ = v.corner == 1 || v.corner == 2;
        float x = static_cast<float>(3 * s.gridColumn) + (highX ? 0.5f : -0.5f);
        float z = static_cast<float>(3 * s.gridRow) + (highZ ? 0.5f : -0.5f);
        glTexCoord2f(v.s, v.t);
        glVertex3f(x, static_cast<float>(v.level), z);
    }
}

// Plain blending off, then, for additive drawing, blending on with ONE/ONE
// and the depth test off: every face is added whatever lies in front of it.
void BlendSwitch() {
    glDisable(GL_BLEND);
    if (sceneState.additiveBlend) {
        glEnable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        glBlendFunc(GL_ONE, GL_ONE);
    }
}

void DrawTower() {
    const SceneState& s = sceneState;
    if (s.additiveBlend) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
    }
    glBindTexture(GL_TEXTURE_2D, s.textureNames[0]);
    glBegin(GL_QUADS);
    SendTier(kUpperTier);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    BlendSwitch();
    glBindTexture(GL_TEXTURE_2D, s.textureNames[1]);
    glBegin(GL_QUADS);
    SendTier(kLowerTier);
    glEnd();
}

void DrawFloor() {
    glBindTexture(GL_TEXTURE_2D, sceneState.textureNames[2]);
    BlendSwitch();
    glBegin(GL_QUADS);
    glTexCoord2f(kFloorRepeat, kFloorRepeat);
    glVertex3f(kFloorLow, kFloorY, kFloorLow);
    glTexCoord2f(0.0f, kFloorRepeat);
    glVertex3f(kFloorHigh, kFloorY, kFloorLow);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(kFloorHigh, kFloorY, kFloorHigh);
    glTexCoord2f(kFloorRepeat, 0.0f);
    glVertex3f(kFloorLow, kFloorY, kFloorHigh);
    glEnd();
}

}  // namespace

void DrawTowerFrame(HDC windowDC) {
    SceneState& s = sceneState;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(s.eyeX, s.eyeY, s.eyeZ, s.targetX, s.lookHeight, s.targetZ, 0.0, 1.0, 0.0);
    for (s.gridRow = 0; s.gridRow < kGridSize; ++s.gridRow) {
        for (s.gridColumn = 0; s.gridColumn < kGridSize; ++s.gridColumn) {
            DrawTower();
        }
    }
    glEnable(GL_DEPTH_TEST);
    // The view of this frame is already set: the floor below is drawn in it,
    // and the moved camera shows from the next frame on.
    AdvanceCamera();
    DrawFloor();
    glEnable(GL_DEPTH_TEST);
    glFinish();
    SwapBuffers(windowDC);
}
