// The render context's set-up, projection, release and texture loading,
// recorded call by call.
#include "scene/scene_state.h"
#include "tests/support/recording_gl.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

HWND const kWindow = reinterpret_cast<HWND>(0x10004);

class RenderContextCallsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sceneState = SceneState{};
        rec::Get().missingBitmaps.clear();
        rec::Get().pixelFormats = true;
        rec::Clear();
    }
};

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const rec::Call& call : rec::Get().calls) {
        names.push_back(call.name);
    }
    return names;
}

TEST_F(RenderContextCallsTest, SetupCreatesTheContextThenLoadsTexturesThenFixedState) {
    SetupRenderContext(kWindow, &sceneState.windowDC, &sceneState.renderContext);
    std::vector<std::string> names = Names();
    const std::vector<std::string> start = {"GetDC", "ChoosePixelFormat", "SetPixelFormat", "wglCreateContext",
                                            "wglMakeCurrent", "glGenTextures"};
    ASSERT_GE(names.size(), start.size());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 6), start);
    const std::vector<std::string> fixed = {"glEnable",    "glShadeModel", "glClearColor", "glClearDepth", "glEnable",
                                            "glEnable",    "glDepthFunc",  "glHint",       "glFogi",       "glFogfv",
                                            "glFogf",      "glHint",       "glEnable"};
    ASSERT_GE(names.size(), fixed.size());
    EXPECT_EQ(std::vector<std::string>(names.end() - 13, names.end()), fixed);

    const auto& calls = rec::Get().calls;
    size_t f = calls.size() - 13;
    EXPECT_EQ(calls[f + 0].args[0], GL_BLEND);
    EXPECT_EQ(calls[f + 1].args[0], GL_SMOOTH);
    EXPECT_EQ(calls[f + 2].args, (std::vector<double>{0, 0, 0, 1}));
    EXPECT_EQ(calls[f + 3].args[0], 1.0);
    EXPECT_EQ(calls[f + 4].args[0], GL_DEPTH_TEST);
    EXPECT_EQ(calls[f + 5].args[0], GL_TEXTURE_2D);
    EXPECT_EQ(calls[f + 6].args[0], GL_LEQUAL);
    EXPECT_EQ(calls[f + 7].args, (std::vector<double>{GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST}));
    EXPECT_EQ(calls[f + 8].args, (std::vector<double>{GL_FOG_MODE, GL_EXP}));
    EXPECT_EQ(calls[f + 9].args, (std::vector<double>{GL_FOG_COLOR, 0, 0, 0}));
    EXPECT_EQ(calls[f + 10].args, (std::vector<double>{GL_FOG_DENSITY, 0.05f}));
    EXPECT_EQ(calls[f + 11].args, (std::vector<double>{GL_FOG_HINT, GL_DONT_CARE}));
    EXPECT_EQ(calls[f + 12].args[0], GL_FOG);

    EXPECT_NE(sceneState.windowDC, nullptr);
    EXPECT_NE(sceneState.renderContext, nullptr);
    EXPECT_EQ(rec::All("wglMakeCurrent")[0].args[1], static_cast<double>(reinterpret_cast<uintptr_t>(sceneState.renderContext)));
}

TEST_F(RenderContextCallsTest, PixelFormatRequest) {
    SetupRenderContext(kWindow, &sceneState.windowDC, &sceneState.renderContext);
    std::vector<rec::Call> choose = rec::All("ChoosePixelFormat");
    ASSERT_EQ(choose.size(), 1u);
    PIXELFORMATDESCRIPTOR expected;
    std::memset(&expected, 0, sizeof expected);
    expected.nSize = 40;
    expected.nVersion = 1;
    expected.dwFlags = 0x21;
    expected.iPixelType = PFD_TYPE_RGBA;
    expected.cColorBits = 24;
    ASSERT_EQ(sizeof expected, 40u);
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&expected);
    ASSERT_EQ(choose[0].args.size(), 40u);
    for (size_t i = 0; i < 40; ++i) {
        EXPECT_EQ(choose[0].args[i], bytes[i]) << "byte " << i;
    }
    // The format chosen is the one set.
    EXPECT_EQ(rec::All("SetPixelFormat")[0].args[0], 7);
}

TEST_F(RenderContextCallsTest, TexturesFromTheThreeBitmaps) {
    SetupRenderContext(kWindow, &sceneState.windowDC, &sceneState.renderContext);
    std::vector<rec::Call> loads = rec::All("LoadImageA");
    ASSERT_EQ(loads.size(), 3u);
    const double ids[] = {111, 112, 114};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(loads[i].args, (std::vector<double>{ids[i], IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION}));
    }
    std::vector<rec::Call> builds = rec::All("gluBuild2DMipmaps");
    ASSERT_EQ(builds.size(), 3u);
    EXPECT_EQ(builds[2].args, (std::vector<double>{GL_TEXTURE_2D, 3, 622, 608, GL_BGR_EXT, GL_UNSIGNED_BYTE, 1}));
    EXPECT_EQ(rec::Count("DeleteObject"), 3u);
    for (const rec::Call& store : rec::All("glPixelStorei")) {
        EXPECT_EQ(store.args, (std::vector<double>{GL_UNPACK_ALIGNMENT, 4}));
    }
    std::vector<rec::Call> parameters = rec::All("glTexParameteri");
    ASSERT_EQ(parameters.size(), 6u);
    for (size_t i = 0; i < 6; i += 2) {
        EXPECT_EQ(parameters[i].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}));
        EXPECT_EQ(parameters[i + 1].args,
                  (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR}));
    }
    // Each texture is bound before its parameters and image.
    std::vector<rec::Call> binds = rec::All("glBindTexture");
    ASSERT_EQ(binds.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(binds[i].args[1], sceneState.textureNames[i]);
    }
}

TEST_F(RenderContextCallsTest, MissingBitmapIsSkippedAndTheOthersStillLoad) {
    rec::Get().missingBitmaps = {112};
    SetupRenderContext(kWindow, &sceneState.windowDC, &sceneState.renderContext);
    EXPECT_EQ(rec::All("glGenTextures")[0].args[0], 3);
    EXPECT_EQ(rec::Count("LoadImageA"), 3u);
    EXPECT_EQ(rec::Count("gluBuild2DMipmaps"), 2u);
    EXPECT_EQ(rec::Count("DeleteObject"), 2u);
    std::vector<rec::Call> binds = rec::All("glBindTexture");
    ASSERT_EQ(binds.size(), 2u);
    EXPECT_EQ(binds[0].args[1], sceneState.textureNames[0]);
    EXPECT_EQ(binds[1].args[1], sceneState.textureNames[2]);
    EXPECT_NE(sceneState.textureNames[1], 0u);  // named all the same
}

TEST_F(RenderContextCallsTest, NoPixelFormatStillGoesThroughEveryStep) {
    rec::Get().pixelFormats = false;
    SetupRenderContext(kWindow, &sceneState.windowDC, &sceneState.renderContext);
    EXPECT_EQ(rec::All("SetPixelFormat")[0].args[0], 0);
    EXPECT_EQ(sceneState.renderContext, nullptr);
    EXPECT_NE(sceneState.windowDC, nullptr);
    EXPECT_EQ(rec::Count("glEnable"), 4u);  // sent, and harmless without a context
    EXPECT_EQ(rec::Count("LoadImageA"), 0u) << "no textures without a context";
    EXPECT_EQ(rec::Count("gluBuild2DMipmaps"), 0u);
}

TEST_F(RenderContextCallsTest, ResizeViewSetsViewportAndProjection) {
    struct Case {
        int width;
        int height;
        double viewportHeight;
        double aspect;
    };
    const Case cases[] = {
        {640, 480, 480, 640.0 / 480.0},
        {152, 112, 112, 152.0 / 112.0},
        {300, 0, 1, 300.0},  // a collapsed preview: height taken as 1
        {0, 200, 200, 0.0},  // width 0 passes through
        {0, 0, 1, 0.0},
    };
    for (const Case& c : cases) {
        rec::Clear();
        ResizeView(c.width, c.height);
        std::vector<std::string> names = Names();
        EXPECT_EQ(names, (std::vector<std::string>{"glViewport", "glMatrixMode", "glLoadIdentity", "gluPerspective",
                                                   "glMatrixMode", "glLoadIdentity"}));
        const auto& calls = rec::Get().calls;
        EXPECT_EQ(calls[0].args, (std::vector<double>{0, 0, static_cast<double>(c.width), c.viewportHeight}));
        EXPECT_EQ(calls[1].args[0], GL_PROJECTION);
        EXPECT_EQ(calls[3].args, (std::vector<double>{100.0, c.aspect, 0.10000000149011612, 100.0}));
        EXPECT_EQ(calls[4].args[0], GL_MODELVIEW);
    }
}

TEST_F(RenderContextCallsTest, ReleaseUndoesSetupInOrder) {
    HDC dc = reinterpret_cast<HDC>(0x77);
    HGLRC context = reinterpret_cast<HGLRC>(0x88);
    ReleaseRenderContext(kWindow, dc, context);
    EXPECT_EQ(Names(), (std::vector<std::string>{"wglMakeCurrent", "wglDeleteContext", "ReleaseDC"}));
    const auto& calls = rec::Get().calls;
    EXPECT_EQ(calls[0].args, (std::vector<double>{0, 0}));
    EXPECT_EQ(calls[1].args[0], 0x88);
    EXPECT_EQ(calls[2].args, (std::vector<double>{0x10004, 0x77}));
}

}  // namespace
