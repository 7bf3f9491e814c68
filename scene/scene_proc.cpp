// The scene's window procedure and its frame clock: the render context lives
// from WM_CREATE to WM_DESTROY and every WM_TIMER draws one frame.
#include "scene/scene_state.h"
#include "shell/shell_state.h"

namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFramePeriod = 10;  // milliseconds

}  // namespace

LRESULT CALLBACK SceneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            // Measured once: nothing resizes the saver window.
            RECT client = {0, 0, 0, 0};
            GetClientRect(window, &client);
            int width = client.right;
            int height = client.bottom;
            SetupRenderContext(window, &sceneState.windowDC, &sceneState.renderContext);
            ResizeView(width, height);
            // Last, so that no frame comes before the context is current.
            SetTimer(window, kFrameTimer, kFramePeriod, nullptr);
            return 0;
        }
        case WM_DESTROY:
            // Timer first: no frame after the context is gone.
            KillTimer(window, kFrameTimer);
            ReleaseRenderContext(window, sceneState.windowDC, sceneState.renderContext);
            return 0;
        case WM_TIMER:
            DrawTowerFrame(sceneState.windowDC);  // any timer id: one frame
            return 0;
        default:
            return CloseOnInputProc(window, message, wParam, lParam);
    }
}
