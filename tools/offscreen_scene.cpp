#include "tools/offscreen_scene.h"

#include "scene/scene_state.h"

namespace {

constexpr char kClassName[] = "OstrelOffscreen";

LRESULT CALLBACK OffscreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

OffscreenScene::OffscreenScene(int width, int height) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = OffscreenProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    window_ = CreateWindowExA(0, kClassName, "Ostrel", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetupRenderContext(window_, &sceneState.windowDC, &sceneState.renderContext);
    ResizeView(width, height);
}

OffscreenScene::~OffscreenScene() {
    ReleaseRenderContext(window_, sceneState.windowDC, sceneState.renderContext);
    sceneState.windowDC = nullptr;
    sceneState.renderContext = nullptr;
    DestroyWindow(window_);
}

bool OffscreenScene::hasContext() const {
    return sceneState.renderContext != nullptr;
}

void OffscreenScene::DrawFrame() {
    DrawTowerFrame(sceneState.windowDC);
    ++framesDone_;
}

void OffscreenScene::SkipFrames(uint64_t count) {
    for (uint64_t i = 0; i < count; ++i) {
        AdvanceCamera();
    }
    framesDone_ += count;
}

bool OffscreenScene::ReadFrame(headless::Frame* frame) const {
    return headless::ReadPresentedFrame(window_, frame);
}
