// Links every scene entry point against the real Windows import libraries, so
// that the scene never drifts from the real Win32, WGL, GL and GLU signatures.
#include "scene/scene_state.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HWND window = GetDesktopWindow();
    SetupRenderContext(window, &sceneState.windowDC, &sceneState.renderContext);
    ResizeView(640, 480);
    DrawTowerFrame(sceneState.windowDC);
    ReleaseRenderContext(window, sceneState.windowDC, sceneState.renderContext);
    return NextRandom() + RandomBetween(0, 1);
}
