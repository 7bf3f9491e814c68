// Cursors: CreateCursor keeps its planes bit for bit, SetCursor's record,
// ShowCursor's counter, the system's shared cursors.
#include "tests/platform/recording_window.h"

#include <array>

namespace platform_test {
namespace {

using CursorTest = LayerTest;

TEST_F(CursorTest, CreateCursorKeepsHotspotSizeAndBothPlanes) {
    std::array<BYTE, 128> andPlane;
    std::array<BYTE, 128> xorPlane;
    for (size_t i = 0; i < andPlane.size(); ++i) {
        andPlane[i] = static_cast<BYTE>(i * 7 + 3);
        xorPlane[i] = static_cast<BYTE>(0xFF - i);
    }
    HCURSOR cursor = CreateCursor(GetModuleHandleA(nullptr), 5, 2, 32, 32, andPlane.data(), xorPlane.data());
    ASSERT_NE(cursor, nullptr);
    andPlane.fill(0);  // the cursor holds copies
    headless::CursorImage image;
    ASSERT_TRUE(headless::ReadCursor(cursor, &image));
    EXPECT_EQ(image.hotX, 5);
    EXPECT_EQ(image.hotY, 2);
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.height, 32);
    ASSERT_EQ(image.andPlane.size(), 128u);
    ASSERT_EQ(image.xorPlane.size(), 128u);
    for (size_t i = 0; i < 128; ++i) {
        EXPECT_EQ(image.andPlane[i], static_cast<BYTE>(i * 7 + 3)) << i;
        EXPECT_EQ(image.xorPlane[i], static_cast<BYTE>(0xFF - i)) << i;
    }
    EXPECT_TRUE(DestroyCursor(cursor));
    EXPECT_FALSE(headless::ReadCursor(cursor, &image));
    EXPECT_FALSE(DestroyCursor(cursor));
}

TEST_F(CursorTest, PlaneRowsAreWordAligned) {
    // 20 pixels need 3 bytes; rows take 4.
    std::array<BYTE, 4 * 3> planes{};
    planes.fill(0xAA);
    HCURSOR cursor = CreateCursor(nullptr, 0, 0, 20, 3, planes.data(), planes.data());
    headless::CursorImage image;
    ASSERT_TRUE(headless::ReadCursor(cursor, &image));
    EXPECT_EQ(image.andPlane.size(), 12u);
}

TEST_F(CursorTest, CreateCursorRefusesBadArguments) {
    BYTE plane[128] = {};
    struct Case {
        int width;
        int height;
        const void* andPlane;
        const void* xorPlane;
    };
    const Case cases[] = {{0, 32, plane, plane}, {32, 0, plane, plane}, {-1, 32, plane, plane},
                          {32, 32, nullptr, plane}, {32, 32, plane, nullptr}, {4096, 32, plane, plane}};
    for (const Case& c : cases) {
        EXPECT_EQ(CreateCursor(nullptr, 0, 0, c.width, c.height, c.andPlane, c.xorPlane), nullptr)
            << c.width << "x" << c.height;
    }
}

TEST_F(CursorTest, SetCursorReturnsThePreviousOneAndIsRecorded) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(SetCursor(arrow), nullptr);
    EXPECT_EQ(SetCursor(nullptr), arrow);
    EXPECT_EQ(headless::CurrentCursor(), nullptr);
    // A handle that is no cursor changes nothing.
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(window)), nullptr);
    EXPECT_EQ(headless::CurrentCursor(), nullptr);
    EXPECT_EQ(headless::SetCursorCalls(),
              (std::vector<HCURSOR>{arrow, nullptr, reinterpret_cast<HCURSOR>(window)}));
}

TEST_F(CursorTest, ShowCursorCountsUpAndDown) {
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(headless::CursorShowCount(), -1);
}

TEST_F(CursorTest, SystemCursorsAreSharedAndTheProgramHasNoneOfItsOwn) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    EXPECT_NE(LoadCursorA(nullptr, IDC_HAND), nullptr);
    EXPECT_NE(LoadCursorA(nullptr, IDC_HAND), arrow);
    EXPECT_FALSE(DestroyCursor(arrow));
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    // No cursor or icon resources in the executable.
    EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), IDC_ARROW), nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100)), nullptr);
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
    // A shared cursor outlives a reset.
    headless::Reset();
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
}

TEST_F(CursorTest, TheCursorOnShowCannotBeDestroyed) {
    BYTE plane[128] = {};
    HCURSOR cursor = CreateCursor(nullptr, 0, 0, 32, 32, plane, plane);
    SetCursor(cursor);
    EXPECT_FALSE(DestroyCursor(cursor));
    SetCursor(nullptr);
    EXPECT_TRUE(DestroyCursor(cursor));
}

TEST_F(CursorTest, SetCursorPosMovesTheCursorAndCountsAsMovement) {
    HWND window = TopLevel(0, 0, 300, 300);
    Pump();
    record.log.clear();
    EXPECT_TRUE(SetCursorPos(100, 50));
    POINT p;
    EXPECT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 50);
    std::vector<MSG> got = Pump();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(got[0].hwnd, window);
    EXPECT_FALSE(GetCursorPos(nullptr));
}

TEST_F(CursorTest, AShrinkingScreenTakesTheCursorWithIt) {
    headless::SetScreenSize(1024, 768);
    SetCursorPos(1000, 700);
    headless::SetScreenSize(640, 480);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 639);
    EXPECT_EQ(p.y, 479);
    headless::SetScreenSize(1024, 768);
}

}  // namespace
}  // namespace platform_test
