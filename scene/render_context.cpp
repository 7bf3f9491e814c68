// The window's OpenGL context and the state that stays fixed for its whole
// life: depth function, texturing, black exponential fog, clear values.
#include "scene/scene_state.h"

#include <cstring>

namespace {

constexpr double kFieldOfView = 100.0;
constexpr float kNearPlane = 0.1f;  // widened to double as it stands
constexpr double kFarPlane = 100.0;
constexpr float kFogDensity = 0.05f;

}  // namespace

void SetupRenderContext(HWND window, HDC* dcOut, HGLRC* contextOut) {
    PIXELFORMATDESCRIPTOR request;
    std::memset(&request, 0, sizeof request);
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 24;

    HDC dc = GetDC(window);
    *dcOut = dc;
    int format = ChoosePixelFormat(dc, &request);
    SetPixelFormat(dc, format, &request);
    HGLRC context = wglCreateContext(dc);
    *contextOut = context;
    wglMakeCurrent(dc, context);

    LoadSceneTextures();

    static const GLfloat kBlack[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glEnable(GL_BLEND);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogfv(GL_FOG_COLOR, kBlack);
    glFogf(GL_FOG_DENSITY, kFogDensity);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glEnable(GL_FOG);
}

void ResizeView(int width, int height) {
    if (height == 0) {
        height = 1;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, static_cast<double>(width) / static_cast<double>(height), kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void ReleaseRenderContext(HWND window, HDC dc, HGLRC context) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    ReleaseDC(window, dc);
}
