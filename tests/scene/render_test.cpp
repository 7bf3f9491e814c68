// The scene on the headless host with a real GL (OSMesa): the state a frame
// leaves, the textures as uploaded, and what the presented pixels show.
#include "platform/core/resources.h"
#include "scene/scene_state.h"
#include "tools/offscreen_scene.h"
#include "tools/png_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        sceneState = SceneState{};
        headless::SetPixelFormatsAvailable(true);
    }
    void TearDown() override {
        scene_.reset();
        headless::SetPixelFormatsAvailable(true);
    }
    OffscreenScene& Scene(int width = 320, int height = 240) {
        scene_.reset();  // one saver window at a time, as in the saver
        scene_ = std::make_unique<OffscreenScene>(width, height);
        return *scene_;
    }
    // Keeps a picture of what a test saw, for a person to look at.
    static void Keep(const headless::Frame& frame, const std::string& name) {
        WritePng(std::string(OSTREL_BINARY_DIR) + "/tests/" + name + ".png", frame.width, frame.height,
                 frame.rgb.data());
    }

private:
    std::unique_ptr<OffscreenScene> scene_;
};

GLint Integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

struct PixelCounts {
    size_t black = 0;
    size_t cyan = 0;     // green and blue well above red
    size_t magenta = 0;  // red and blue above green: the floor's traces, dim once mipmapped
    size_t grey = 0;     // bright and nearly neutral
    size_t total = 0;
};

PixelCounts Count(const headless::Frame& frame, int top = 0, int bottom = -1) {
    PixelCounts counts;
    if (bottom < 0) {
        bottom = frame.height;
    }
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const uint8_t* p = frame.Pixel(x, y);
            int r = p[0], g = p[1], b = p[2];
            ++counts.total;
            if (r + g + b < 8) {
                ++counts.black;
            } else if (g > r + 40 && b > r + 40) {
                ++counts.cyan;
            } else if (r > g * 3 / 2 + 2 && b > g * 3 / 2 + 2 && std::abs(r - b) <= r / 4 + 1) {
                ++counts.magenta;
            } else if (r > 90 && std::abs(r - g) < 16 && std::abs(g - b) < 16) {
                ++counts.grey;
            }
        }
    }
    return counts;
}

TEST_F(RenderTest, FixedStateAfterSetup) {
    OffscreenScene& scene = Scene();
    ASSERT_TRUE(scene.hasContext());
    EXPECT_EQ(wglGetCurrentContext(), sceneState.renderContext);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(Integer(GL_FOG_MODE), GL_EXP);
    GLfloat density = 0;
    glGetFloatv(GL_FOG_DENSITY, &density);
    EXPECT_EQ(density, 0.05f);
    GLfloat fog[4] = {1, 1, 1, 1};
    glGetFloatv(GL_FOG_COLOR, fog);
    EXPECT_EQ(fog[0] + fog[1] + fog[2], 0.0f);
    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(Integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f);
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
    // The window got a depth buffer from the closest pixel format.
    EXPECT_GT(Integer(GL_DEPTH_BITS), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderTest, FrameLeavesBlendDepthTextureAndView) {
    OffscreenScene& scene = Scene();
    scene.DrawFrame();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(Integer(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(sceneState.textureNames[2]));
    // The modelview holds frame 1's view, from the starting camera.
    GLfloat drawn[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, drawn);
    glLoadIdentity();
    gluLookAt(0, 0, 0, 40, 0, 40, 0, 1, 0);
    GLfloat expected[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, expected);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(drawn[i], expected[i]) << i;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(headless::PresentCount(scene.window()), 1u);
}

TEST_F(RenderTest, TexturesAsUploaded) {
    Scene();
    struct Case {
        int index;
        GLint width;
        GLint height;
    };
    // The floor's 622 by 608 picture is scaled to the nearest powers of two.
    const Case cases[] = {{0, 256, 256}, {1, 256, 256}, {2, 512, 512}};
    for (const Case& c : cases) {
        glBindTexture(GL_TEXTURE_2D, sceneState.textureNames[c.index]);
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_EQ(width, c.width) << c.index;
        EXPECT_EQ(height, c.height) << c.index;
        // A full mipmap chain down to 1 by 1.
        int levels = static_cast<int>(std::log2(std::max(c.width, c.height)));
        glGetTexLevelParameteriv(GL_TEXTURE_2D, levels, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, 1) << c.index;
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(filter, GL_LINEAR_MIPMAP_LINEAR);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
        EXPECT_EQ(filter, GL_LINEAR);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &filter);
        EXPECT_EQ(filter, GL_REPEAT);
    }
}

// Panel A's texture holds the bitmap's rows in stored order: the bottom row
// of the picture at t = 0, so it stands upright on the towers.
TEST_F(RenderTest, PanelTextureKeepsTheBitmapRowsUpright) {
    Scene();
    HANDLE image = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(111), IMAGE_BITMAP, 0, 0,
                              LR_CREATEDIBSECTION);
    ASSERT_NE(image, nullptr);
    BITMAP bitmap{};
    ASSERT_EQ(GetObjectA(image, sizeof bitmap, &bitmap), static_cast<int>(sizeof bitmap));
    std::vector<uint8_t> texels(256 * 256 * 3);
    glBindTexture(GL_TEXTURE_2D, sceneState.textureNames[0]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(std::memcmp(texels.data(), bitmap.bmBits, texels.size()), 0);
    DeleteObject(image);
}

// The floor's rows are 1868 bytes (1866 of pixels): read with the wrong
// stride the picture would shear. Coarse blocks of the scaled texture match
// the same blocks of the bitmap.
TEST_F(RenderTest, FloorTextureMatchesTheBitmapBlockByBlock) {
    Scene();
    HANDLE image = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(114), IMAGE_BITMAP, 0, 0,
                              LR_CREATEDIBSECTION);
    ASSERT_NE(image, nullptr);
    BITMAP bitmap{};
    GetObjectA(image, sizeof bitmap, &bitmap);
    ASSERT_EQ(bitmap.bmWidth, 622);
    ASSERT_EQ(bitmap.bmHeight, 608);
    ASSERT_EQ(bitmap.bmWidthBytes, 1868);
    std::vector<uint8_t> texels(512 * 512 * 3);
    glBindTexture(GL_TEXTURE_2D, sceneState.textureNames[2]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, texels.data());
    const uint8_t* source = static_cast<const uint8_t*>(bitmap.bmBits);
    const int blocks = 8;
    double worst = 0;
    for (int by = 0; by < blocks; ++by) {
        for (int bx = 0; bx < blocks; ++bx) {
            double sourceSum = 0;
            double textureSum = 0;
            for (int y = by * 608 / blocks; y < (by + 1) * 608 / blocks; ++y) {
                for (int x = bx * 622 / blocks; x < (bx + 1) * 622 / blocks; ++x) {
                    const uint8_t* p = source + y * 1868 + x * 3;
                    sourceSum += p[0] + p[1] + p[2];
                }
            }
            for (int y = by * 512 / blocks; y < (by + 1) * 512 / blocks; ++y) {
                for (int x = bx * 512 / blocks; x < (bx + 1) * 512 / blocks; ++x) {
                    const uint8_t* p = texels.data() + (y * 512 + x) * 3;
                    textureSum += p[0] + p[1] + p[2];
                }
            }
            double sourceMean = sourceSum / ((608.0 / blocks) * (622.0 / blocks));
            double textureMean = textureSum / ((512.0 / blocks) * (512.0 / blocks));
            worst = std::max(worst, std::abs(sourceMean - textureMean));
        }
    }
    EXPECT_LT(worst, 6.0);
    DeleteObject(image);
}

TEST_F(RenderTest, FrameShowsCyanTowersAndMagentaFloorOnBlack) {
    OffscreenScene& scene = Scene(640, 480);
    scene.SkipFrames(199);
    scene.DrawFrame();
    headless::Frame frame;
    ASSERT_TRUE(scene.ReadFrame(&frame));
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);
    Keep(frame, "frame-200");
    PixelCounts counts = Count(frame);
    EXPECT_GT(counts.black, counts.total / 20) << "black where nothing is drawn";
    EXPECT_GT(counts.cyan, counts.total / 100) << "cyan text on the towers";
    EXPECT_GT(counts.magenta, counts.total / 1000) << "magenta traces on the floor";
}

// Fog: every pixel is at most as bright as without fog, and the distant
// towers that fill most of the picture lose most of their light.
TEST_F(RenderTest, DistantGeometryFadesIntoBlack) {
    OffscreenScene& scene = Scene(320, 240);
    scene.SkipFrames(199);
    SceneState before = sceneState;
    scene.DrawFrame();
    headless::Frame withFog;
    ASSERT_TRUE(scene.ReadFrame(&withFog));
    glDisable(GL_FOG);
    sceneState = before;
    scene.DrawFrame();
    headless::Frame withoutFog;
    ASSERT_TRUE(scene.ReadFrame(&withoutFog));
    Keep(withFog, "frame-200-fog");
    Keep(withoutFog, "frame-200-nofog");
    long foggedSum = 0;
    long clearSum = 0;
    for (size_t i = 0; i < withFog.rgb.size(); ++i) {
        EXPECT_LE(withFog.rgb[i], withoutFog.rgb[i]) << "fog only darkens";
        if (withFog.rgb[i] > withoutFog.rgb[i]) {
            break;
        }
        foggedSum += withFog.rgb[i];
        clearSum += withoutFog.rgb[i];
    }
    EXPECT_LT(foggedSum, clearSum * 9 / 10);
}

TEST_F(RenderTest, MissingBitmapDrawsItsSurfacesWhite) {
    // A copy of the resources in which bitmap 112 is renamed away.
    size_t size = 0;
    const BYTE* original = layer::ResourceImageBytes(&size);
    std::vector<BYTE> changed(original, original + size);
    size_t offset = 0;
    bool renamed = false;
    while (offset + 32 <= size) {
        DWORD dataSize;
        DWORD headerSize;
        std::memcpy(&dataSize, &changed[offset], 4);
        std::memcpy(&headerSize, &changed[offset + 4], 4);
        WORD field[4];
        std::memcpy(field, &changed[offset + 8], 8);
        if (field[0] == 0xFFFF && field[1] == 2 && field[2] == 0xFFFF && field[3] == 112) {
            WORD other = 0x7FFF;
            std::memcpy(&changed[offset + 14], &other, 2);
            renamed = true;
        }
        offset = (offset + headerSize + dataSize + 3) & ~size_t{3};
    }
    ASSERT_TRUE(renamed);
    layer::SetResourceImage(changed.data(), changed.size());
    OffscreenScene& scene = Scene(320, 240);
    layer::SetResourceImage(original, size);

    glBindTexture(GL_TEXTURE_2D, sceneState.textureNames[1]);
    GLint width = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 0) << "no image";
    EXPECT_NE(sceneState.textureNames[1], 0u) << "but named";
    glBindTexture(GL_TEXTURE_2D, sceneState.textureNames[0]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 256);

    scene.SkipFrames(199);
    scene.DrawFrame();
    headless::Frame frame;
    ASSERT_TRUE(scene.ReadFrame(&frame));
    Keep(frame, "frame-200-without-112");
    PixelCounts counts = Count(frame);
    EXPECT_GT(counts.grey, counts.total / 50) << "the lower tiers are white";
    EXPECT_GT(counts.cyan, counts.total / 200) << "the upper tiers stay textured";
}

TEST_F(RenderTest, LateFrameAfterSkippingEqualsTheSameFrameDrawnInTurn) {
    headless::Frame drawnInTurn;
    {
        OffscreenScene& scene = Scene(160, 120);
        for (int i = 0; i < 5; ++i) {
            scene.DrawFrame();
        }
        ASSERT_TRUE(scene.ReadFrame(&drawnInTurn));
    }
    sceneState = SceneState{};
    OffscreenScene& scene = Scene(160, 120);
    scene.SkipFrames(4);
    scene.DrawFrame();
    headless::Frame skipped;
    ASSERT_TRUE(scene.ReadFrame(&skipped));
    EXPECT_EQ(skipped.rgb, drawnInTurn.rgb);
}

TEST_F(RenderTest, CollapsedWindowsStillDraw) {
    struct Case {
        int width;
        int height;
        GLint viewportWidth;
        GLint viewportHeight;
    };
    const Case cases[] = {{152, 0, 152, 1}, {0, 112, 0, 112}};
    for (const Case& c : cases) {
        sceneState = SceneState{};
        OffscreenScene& scene = Scene(c.width, c.height);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.viewportWidth);
        EXPECT_EQ(viewport[3], c.viewportHeight);
        scene.DrawFrame();
        EXPECT_EQ(headless::PresentCount(scene.window()), 1u);
    }
}

TEST_F(RenderTest, WithoutAPixelFormatFramesAreHarmless) {
    headless::SetPixelFormatsAvailable(false);
    OffscreenScene& scene = Scene(160, 120);
    EXPECT_FALSE(scene.hasContext());
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    scene.DrawFrame();
    scene.DrawFrame();
    EXPECT_EQ(headless::PresentCount(scene.window()), 0u);
    EXPECT_EQ(sceneState.gridRow, 40);
    EXPECT_EQ(sceneState.targetZ, static_cast<float>(static_cast<float>(40.0 - 0.01f) - 0.01f));
}

TEST_F(RenderTest, ReleaseLeavesNoContextCurrent) {
    {
        OffscreenScene& scene = Scene(160, 120);
        scene.DrawFrame();
        HWND window = scene.window();
        ReleaseRenderContext(window, sceneState.windowDC, sceneState.renderContext);
        EXPECT_EQ(wglGetCurrentContext(), nullptr);
        EXPECT_EQ(wglDeleteContext(sceneState.renderContext), FALSE) << "already deleted";
    }
    // Releasing a context that never was is harmless too.
    ReleaseRenderContext(nullptr, nullptr, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

}  // namespace
