// One frame's GL calls, recorded: geometry, texture coordinates, batching and
// the state each drawing is made in.
#include "scene/scene_state.h"
#include "tests/support/recording_gl.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

HDC const kWindowDC = reinterpret_cast<HDC>(0x4321);

class FrameCallsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sceneState = SceneState{};
        sceneState.textureNames[0] = 11;
        sceneState.textureNames[1] = 12;
        sceneState.textureNames[2] = 14;
        rec::Clear();
        // The state a fresh context leaves before the first frame.
        rec::Get().blend = true;
        rec::Get().depthTest = true;
    }
};

struct Vertex {
    double s, t, x, y, z;
};

// The frame's vertices with their texture coordinates, in sending order;
// fails the test if any vertex comes without a texture coordinate first.
std::vector<Vertex> Vertices() {
    std::vector<Vertex> vertices;
    const rec::Call* texCoord = nullptr;
    for (const rec::Call& call : rec::Get().calls) {
        if (call.name == "glTexCoord2f") {
            texCoord = &call;
        } else if (call.name == "glVertex3f") {
            EXPECT_NE(texCoord, nullptr);
            if (texCoord == nullptr) {
                return {};
            }
            vertices.push_back(
                Vertex{texCoord->args[0], texCoord->args[1], call.args[0], call.args[1], call.args[2]});
            texCoord = nullptr;
        }
    }
    return vertices;
}

TEST_F(FrameCallsTest, FrameSendsTheWholeFieldInImmediateMode) {
    DrawTowerFrame(kWindowDC);
    EXPECT_EQ(rec::Count("glBegin"), 3201u);
    EXPECT_EQ(rec::Count("glEnd"), 3201u);
    EXPECT_EQ(rec::Count("glVertex3f"), 64004u);
    EXPECT_EQ(rec::Count("glTexCoord2f"), 64004u);
    for (const rec::Call& begin : rec::All("glBegin")) {
        EXPECT_EQ(begin.args[0], GL_QUADS);
    }
    // Begin and end pair up, with only vertex data between them.
    bool open = false;
    for (const rec::Call& call : rec::Get().calls) {
        if (call.name == "glBegin") {
            ASSERT_FALSE(open);
            open = true;
        } else if (call.name == "glEnd") {
            ASSERT_TRUE(open);
            open = false;
        } else if (open) {
            ASSERT_TRUE(call.name == "glVertex3f" || call.name == "glTexCoord2f") << call.name;
        }
    }
    EXPECT_EQ(sceneState.gridRow, 40);
    EXPECT_EQ(sceneState.gridColumn, 40);
}

TEST_F(FrameCallsTest, FrameOpensAndClosesInOrder) {
    DrawTowerFrame(kWindowDC);
    const auto& calls = rec::Get().calls;
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls[0].name, "glClear");
    EXPECT_EQ(calls[0].args[0], GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    EXPECT_EQ(calls[1].name, "glLoadIdentity");
    EXPECT_EQ(calls[2].name, "gluLookAt");
    size_t n = calls.size();
    EXPECT_EQ(calls[n - 3].name, "glEnable");
    EXPECT_EQ(calls[n - 3].args[0], GL_DEPTH_TEST);
    EXPECT_EQ(calls[n - 2].name, "glFinish");
    EXPECT_EQ(calls[n - 1].name, "SwapBuffers");
    EXPECT_EQ(calls[n - 1].args[0], static_cast<double>(reinterpret_cast<uintptr_t>(kWindowDC)));
}

TEST_F(FrameCallsTest, EveryBatchBindsItsTexture) {
    DrawTowerFrame(kWindowDC);
    std::vector<double> bound;
    const auto& calls = rec::Get().calls;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].name == "glBegin") {
            const auto& draw = rec::Get().draws[bound.size()];
            bound.push_back(draw.texture);
        }
    }
    ASSERT_EQ(bound.size(), 3201u);
    for (size_t tower = 0; tower < 1600; ++tower) {
        ASSERT_EQ(bound[2 * tower], 11) << tower;
        ASSERT_EQ(bound[2 * tower + 1], 12) << tower;
    }
    EXPECT_EQ(bound[3200], 14);
    EXPECT_EQ(rec::Count("glBindTexture"), 3201u);
}

TEST_F(FrameCallsTest, DrawingStateOfEachBatch) {
    DrawTowerFrame(kWindowDC);
    const auto& draws = rec::Get().draws;
    ASSERT_EQ(draws.size(), 3201u);
    for (size_t i = 0; i < draws.size(); ++i) {
        EXPECT_TRUE(draws[i].blend) << i;
        EXPECT_EQ(draws[i].blendSource, GL_ONE) << i;
        EXPECT_EQ(draws[i].blendDestination, GL_ONE) << i;
        // Only the first tower's upper tier is drawn with the depth test on.
        EXPECT_EQ(draws[i].depthTest, i == 0) << i;
    }
    // Between frames: blending on with ONE/ONE and the depth test on.
    EXPECT_TRUE(rec::Get().blend);
    EXPECT_TRUE(rec::Get().depthTest);
    EXPECT_EQ(rec::Get().blendSource, GL_ONE);
    EXPECT_EQ(rec::Get().blendDestination, GL_ONE);
    EXPECT_EQ(rec::Get().boundTexture, 14u);
}

TEST_F(FrameCallsTest, TowersStandOnTheirGridCells) {
    DrawTowerFrame(kWindowDC);
    std::vector<Vertex> vertices = Vertices();
    ASSERT_EQ(vertices.size(), 64004u);
    for (int row = 0; row < 40; ++row) {
        for (int column = 0; column < 40; ++column) {
            size_t first = static_cast<size_t>(row * 40 + column) * 40;
            for (size_t i = first; i < first + 40; ++i) {
                const Vertex& v = vertices[i];
                ASSERT_TRUE(v.x == 3 * column - 0.5 || v.x == 3 * column + 0.5) << row << "," << column;
                ASSERT_TRUE(v.z == 3 * row - 0.5 || v.z == 3 * row + 0.5) << row << "," << column;
                ASSERT_TRUE(v.y == -1 || v.y == 0 || v.y == 1);
            }
        }
    }
    // The last tower spans 116.5 to 117.5 on x and z.
    EXPECT_TRUE(vertices[64000 - 1].x == 116.5 || vertices[64000 - 1].x == 117.5);
}

// The faces of one tower, as seen from outside: sides upright and
// unmirrored, the top showing the whole of panel A, the bottom its corner.
TEST_F(FrameCallsTest, TowerFacesMapTheirPanelsUpright) {
    sceneState.textureNames[0] = 11;
    DrawTowerFrame(kWindowDC);
    std::vector<Vertex> vertices = Vertices();
    ASSERT_EQ(vertices.size(), 64004u);
    struct Face {
        size_t first;        // index of its first vertex within a tower
        double normal[3];    // outward
        bool side;
    };
    const Face faces[] = {
        {0, {0, 0, 1}, true},   {4, {0, 0, -1}, true},  {8, {0, 1, 0}, false}, {12, {0, -1, 0}, false},
        {16, {1, 0, 0}, true},  {20, {-1, 0, 0}, true}, {24, {0, 0, 1}, true}, {28, {0, 0, -1}, true},
        {32, {1, 0, 0}, true},  {36, {-1, 0, 0}, true},
    };
    for (size_t tower : {size_t{0}, size_t{817}, size_t{1599}}) {
        for (const Face& face : faces) {
            const Vertex* q = &vertices[tower * 40 + face.first];
            double centre[3] = {0, 0, 0};
            for (int i = 0; i < 4; ++i) {
                centre[0] += q[i].x / 4;
                centre[1] += q[i].y / 4;
                centre[2] += q[i].z / 4;
            }
            int row = static_cast<int>(tower / 40);
            int column = static_cast<int>(tower % 40);
            // The face lies on the tower's outside in the normal's direction.
            double towerCentre[3] = {3.0 * column, face.first < 24 && face.normal[1] == 0 ? 0.5 : centre[1],
                                     3.0 * row};
            double along = (centre[0] - towerCentre[0]) * face.normal[0] + (centre[2] - towerCentre[2]) * face.normal[2];
            if (face.side) {
                EXPECT_EQ(along, 0.5) << "tower " << tower << " face " << face.first;
                for (int i = 0; i < 4; ++i) {
                    // t runs from 0 at the tier's bottom to 1 at its top.
                    double bottom = face.first < 24 ? 0.0 : -1.0;
                    EXPECT_EQ(q[i].t, q[i].y - bottom) << "face " << face.first;
                    // s runs left to right as seen from outside: the right-hand
                    // direction is up x normal.
                    double right[3] = {face.normal[2], 0, -face.normal[0]};
                    double offset = (q[i].x - centre[0]) * right[0] + (q[i].z - centre[2]) * right[2];
                    EXPECT_EQ(q[i].s, offset + 0.5) << "face " << face.first;
                }
            } else if (face.normal[1] > 0) {
                for (int i = 0; i < 4; ++i) {
                    EXPECT_EQ(q[i].y, 1);
                    EXPECT_TRUE((q[i].s == 0 || q[i].s == 1) && (q[i].t == 0 || q[i].t == 1));
                }
            } else {
                for (int i = 0; i < 4; ++i) {
                    EXPECT_EQ(q[i].y, -1);
                    EXPECT_TRUE(q[i].s == 0 || q[i].s == static_cast<double>(0.1f));
                    EXPECT_TRUE(q[i].t == 0 || q[i].t == static_cast<double>(0.1f));
                }
            }
        }
    }
}

TEST_F(FrameCallsTest, FloorQuadUnderTheFirstQuarter) {
    DrawTowerFrame(kWindowDC);
    std::vector<Vertex> vertices = Vertices();
    ASSERT_EQ(vertices.size(), 64004u);
    const double low = -1.4f;
    const double high = 58.6f;
    const double y = -1.01f;
    const Vertex expected[] = {
        {20, 20, low, y, low}, {0, 20, high, y, low}, {0, 0, high, y, high}, {20, 0, low, y, high}};
    for (int i = 0; i < 4; ++i) {
        const Vertex& v = vertices[64000 + static_cast<size_t>(i)];
        EXPECT_EQ(v.s, expected[i].s);
        EXPECT_EQ(v.t, expected[i].t);
        EXPECT_EQ(v.x, expected[i].x);
        EXPECT_EQ(v.y, expected[i].y);
        EXPECT_EQ(v.z, expected[i].z);
    }
    // Towers of column 19 end inside the floor, those of column 20 begin beyond it.
    EXPECT_LT(3 * 19 + 0.5, high);
    EXPECT_GT(3 * 20 - 0.5, high);
}

TEST_F(FrameCallsTest, CameraMovesBetweenGridAndFloorAndShowsNextFrame) {
    DrawTowerFrame(kWindowDC);
    std::vector<rec::Call> looks = rec::All("gluLookAt");
    ASSERT_EQ(looks.size(), 1u);
    // Frame 1 is drawn from the starting camera.
    const std::array<double, 9> first = {0, 0, 0, 40, 0, 40, 0, 1, 0};
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(looks[0].args[i], first[i]) << i;
    }
    SceneState afterOne = sceneState;
    EXPECT_EQ(afterOne.targetZ, 39.990002f);

    rec::Clear();
    DrawTowerFrame(kWindowDC);
    looks = rec::All("gluLookAt");
    ASSERT_EQ(looks.size(), 1u);
    const double second[] = {afterOne.eyeX,    afterOne.eyeY,       afterOne.eyeZ, afterOne.targetX,
                             afterOne.lookHeight, afterOne.targetZ, 0,             1,
                             0};
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(looks[0].args[i], second[i]) << i;
    }
}

}  // namespace
