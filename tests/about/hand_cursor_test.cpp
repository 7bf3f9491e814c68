// The hand cursor's planes against rows worked out by hand from the picture.
#include "about/hand_cursor.h"

#include <gtest/gtest.h>

#include <array>

namespace {

struct Row {
    int row;
    std::array<BYTE, 4> andBytes;
    std::array<BYTE, 4> xorBytes;
};

TEST(HandCursor, RowsMatchThePicture) {
    const Row rows[] = {
        {0, {0xFF, 0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},   // all transparent
        {1, {0xF9, 0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},   // the black fingertip
        {2, {0xF0, 0xFF, 0xFF, 0xFF}, {0x06, 0x00, 0x00, 0x00}},   // finger: black, white, white, black
        {6, {0xF0, 0x24, 0xFF, 0xFF}, {0x06, 0x00, 0x00, 0x00}},   // the tops of the other fingers
        {12, {0x80, 0x00, 0x7F, 0xFF}, {0x3F, 0xFF, 0x00, 0x00}},  // the palm
        {17, {0xF0, 0x00, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},  // the black cuff
        {19, {0xFF, 0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},
        {31, {0xFF, 0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},
    };
    for (const Row& r : rows) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(handCursorAndPlane[r.row * 4 + i], r.andBytes[i]) << "row " << r.row << " byte " << i;
            EXPECT_EQ(handCursorXorPlane[r.row * 4 + i], r.xorBytes[i]) << "row " << r.row << " byte " << i;
        }
    }
}

bool Bit(const std::array<BYTE, handCursorPlaneBytes>& plane, int x, int y) {
    return (plane[y * 4 + x / 8] & (0x80 >> (x % 8))) != 0;
}

TEST(HandCursor, HotspotIsTheWhitePixelUnderTheBlackTip) {
    EXPECT_EQ(handCursorHotX, 5);
    EXPECT_EQ(handCursorHotY, 2);
    EXPECT_FALSE(Bit(handCursorAndPlane, 5, 2));
    EXPECT_TRUE(Bit(handCursorXorPlane, 5, 2));
    EXPECT_FALSE(Bit(handCursorAndPlane, 5, 1));
    EXPECT_FALSE(Bit(handCursorXorPlane, 5, 1));
}

TEST(HandCursor, NoPixelInvertsTheScreen) {
    for (int i = 0; i < handCursorPlaneBytes; ++i) {
        EXPECT_EQ(handCursorAndPlane[i] & handCursorXorPlane[i], 0) << i;
    }
}

}  // namespace
