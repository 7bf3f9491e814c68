// The cost of one frame of the tower field on the headless host, beside a
// bare baseline in the same binary: the same geometry and state changes sent
// with plain GL calls outside our code. The ratio of the two is what our
// code adds; the absolute figures are the software renderer's.
#include "scene/scene_state.h"
#include "tools/offscreen_scene.h"

#include <benchmark/benchmark.h>

#include <utility>

namespace {

// The same frame, written the obvious way.
void BaselineFrame(HDC dc, const GLuint textures[3]) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(sceneState.eyeX, sceneState.eyeY, sceneState.eyeZ, sceneState.targetX, 0.0, sceneState.targetZ, 0, 1,
              0);
    for (int row = 0; row < 40; ++row) {
        for (int column = 0; column < 40; ++column) {
            float x0 = 3.0f * column - 0.5f, x1 = 3.0f * column + 0.5f;
            float z0 = 3.0f * row - 0.5f, z1 = 3.0f * row + 0.5f;
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            glBindTexture(GL_TEXTURE_2D, textures[0]);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0); glVertex3f(x0, 0, z1); glTexCoord2f(1, 0); glVertex3f(x1, 0, z1);
            glTexCoord2f(1, 1); glVertex3f(x1, 1, z1); glTexCoord2f(0, 1); glVertex3f(x0, 1, z1);
            glTexCoord2f(1, 0); glVertex3f(x0, 0, z0); glTexCoord2f(1, 1); glVertex3f(x0, 1, z0);
            glTexCoord2f(0, 1); glVertex3f(x1, 1, z0); glTexCoord2f(0, 0); glVertex3f(x1, 0, z0);
            glTexCoord2f(0, 1); glVertex3f(x0, 1, z0); glTexCoord2f(0, 0); glVertex3f(x0, 1, z1);
            glTexCoord2f(1, 0); glVertex3f(x1, 1, z1); glTexCoord2f(1, 1); glVertex3f(x1, 1, z0);
            glTexCoord2f(0.1f, 0.1f); glVertex3f(x0, -1, z0); glTexCoord2f(0, 0.1f); glVertex3f(x1, -1, z0);
            glTexCoord2f(0, 0); glVertex3f(x1, -1, z1); glTexCoord2f(0.1f, 0); glVertex3f(x0, -1, z1);
            glTexCoord2f(1, 0); glVertex3f(x1, 0, z0); glTexCoord2f(1, 1); glVertex3f(x1, 1, z0);
            glTexCoord2f(0, 1); glVertex3f(x1, 1, z1); glTexCoord2f(0, 0); glVertex3f(x1, 0, z1);
            glTexCoord2f(0, 0); glVertex3f(x0, 0, z0); glTexCoord2f(1, 0); glVertex3f(x0, 0, z1);
            glTexCoord2f(1, 1); glVertex3f(x0, 1, z1); glTexCoord2f(0, 1); glVertex3f(x0, 1, z0);
            glEnd();
            glEnable(GL_DEPTH_TEST);
            glDisable(GL_BLEND);
            glEnable(GL_BLEND);
            glDisable(GL_DEPTH_TEST);
            glBlendFunc(GL_ONE, GL_ONE);
            glBindTexture(GL_TEXTURE_2D, textures[1]);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0); glVertex3f(x0, -1, z1); glTexCoord2f(1, 0); glVertex3f(x1, -1, z1);
            glTexCoord2f(1, 1); glVertex3f(x1, 0, z1); glTexCoord2f(0, 1); glVertex3f(x0, 0, z1);
            glTexCoord2f(1, 0); glVertex3f(x0, -1, z0); glTexCoord2f(1, 1); glVertex3f(x0, 0, z0);
            glTexCoord2f(0, 1); glVertex3f(x1, 0, z0); glTexCoord2f(0, 0); glVertex3f(x1, -1, z0);
            glTexCoord2f(1, 0); glVertex3f(x1, -1, z0); glTexCoord2f(1, 1); glVertex3f(x1, 0, z0);
            glTexCoord2f(0, 1); glVertex3f(x1, 0, z1); glTexCoord2f(0, 0); glVertex3f(x1, -1, z1);
            glTexCoord2f(0, 0); glVertex3f(x0, -1, z0); glTexCoord2f(1, 0); glVertex3f(x0, -1, z1);
            glTexCoord2f(1, 1); glVertex3f(x0, 0, z1); glTexCoord2f(0, 1); glVertex3f(x0, 0, z0);
            glEnd();
        }
    }
    glEnable(GL_DEPTH_TEST);
    AdvanceCamera();
    glBindTexture(GL_TEXTURE_2D, textures[2]);
    glDisable(GL_BLEND);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ONE);
    glBegin(GL_QUADS);
    glTexCoord2f(20, 20); glVertex3f(-1.4f, -1.01f, -1.4f);
    glTexCoord2f(0, 20); glVertex3f(58.6f, -1.01f, -1.4f);
    glTexCoord2f(0, 0); glVertex3f(58.6f, -1.01f, 58.6f);
    glTexCoord2f(20, 0); glVertex3f(-1.4f, -1.01f, 58.6f);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glFinish();
    SwapBuffers(dc);
}

// Both sides start from the same camera position, 200 frames in, where
// towers near and far fill the picture, and drift alike from there. A few
// frames drawn first and then taken back warm the renderer's caches, so that
// neither side pays for them.
template <class DrawFrame>
void RunFrames(benchmark::State& state, DrawFrame drawFrame) {
    sceneState = SceneState{};
    OffscreenScene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    scene.SkipFrames(199);
    SceneState start = sceneState;
    for (int i = 0; i < 5; ++i) {
        drawFrame();
    }
    sceneState = start;
    for (auto _ : state) {
        drawFrame();
    }
}

void OurFrameBench(benchmark::State& state) {
    RunFrames(state, [] { DrawTowerFrame(sceneState.windowDC); });
}

void BaselineFrameBench(benchmark::State& state) {
    RunFrames(state, [] { BaselineFrame(sceneState.windowDC, sceneState.textureNames); });
}

// Each size runs ours and then the baseline, one right after the other, so
// that the load of a shared machine falls on both alike.
const bool registered = [] {
    const int sizes[][2] = {
        {16, 16},  // the vertices alone: almost nothing to fill
        {152, 112}, {640, 480}, {1280, 720}, {1920, 1080}};
    for (const auto& size : sizes) {
        for (auto [name, function] : {std::pair{"OurFrame", &OurFrameBench}, std::pair{"BaselineFrame", &BaselineFrameBench}}) {
            benchmark::RegisterBenchmark(name, function)
                ->Args({size[0], size[1]})
                ->Unit(benchmark::kMillisecond)
                ->MinTime(1.0)
                ->UseRealTime();
        }
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
