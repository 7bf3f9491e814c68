// The scene's three textures, made once from the executable's bitmaps with a
// full mipmap chain. A bitmap that cannot be loaded is skipped: its surfaces
// then draw untextured white.
#include "scene/scene_state.h"

namespace {

constexpr WORD kBitmapIds[3] = {111, 112, 114};  // panel A, panel B, floor

}  // namespace

void LoadSceneTextures() {
    // Without a context there is nothing to load into, and GLU's mipmap
    // builder reads the GL version string, which is then missing.
    if (wglGetCurrentContext() == nullptr) {
        return;
    }
    SceneState& s = sceneState;
    glGenTextures(3, s.textureNames);
    for (int i = 0; i < 3; ++i) {
        HANDLE image = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kBitmapIds[i]), IMAGE_BITMAP, 0, 0,
                                  LR_CREATEDIBSECTION);
        if (image == nullptr) {
            continue;
        }
        BITMAP bitmap{};
        GetObjectA(image, sizeof bitmap, &bitmap);
        // Bitmap rows are padded to 4 bytes; the bottom row comes first, which
        // GL takes as t = 0, so the pictures stand upright.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glBindTexture(GL_TEXTURE_2D, s.textureNames[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, bitmap.bmWidth, bitmap.bmHeight, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                          bitmap.bmBits);
        DeleteObject(image);
    }
}
