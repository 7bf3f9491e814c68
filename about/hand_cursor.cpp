// The hand cursor's planes, made from the picture below at compile time:
// '.' transparent (AND 1, XOR 0), 'X' black (AND 0, XOR 0), 'o' white
// (AND 0, XOR 1).
#include "about/hand_cursor.h"

namespace {

constexpr const char* handPicture[handCursorHeight] = {
    "................................",  //  0
    ".....XX.........................",  //  1
    "....XooX........................",  //  2
    "....XooX........................",  //  3
    "....XooX........................",  //  4
    "....XooX........................",  //  5
    "....XooXXX.XX.XX................",  //  6
    "....XooXooXooXooX...............",  //  7
    "..XXXooXooXooXooX...............",  //  8
    ".XooXooXooXooXooX...............",  //  9
    ".XooXooXooXooXooX...............",  // 10
    ".XooXoooooooooooX...............",  // 11
    ".XooooooooooooooX...............",  // 12
    ".XooooooooooooooX...............",  // 13
    "..XoooooooooooooX...............",  // 14
    "...XooooooooooooX...............",  // 15
    "....XooooooooooX................",  // 16
    "....XXXXXXXXXXXX................",  // 17
    "....XXXXXXXXXXXX................",  // 18
    "................................",  // 19
    "................................",  // 20
    "................................",  // 21
    "................................",  // 22
    "................................",  // 23
    "................................",  // 24
    "................................",  // 25
    "................................",  // 26
    "................................",  // 27
    "................................",  // 28
    "................................",  // 29
    "................................",  // 30
    "................................",  // 31
};

constexpr bool PictureIsWhole() {
    for (const char* row : handPicture) {
        int length = 0;
        while (row[length] != '\0') {
            ++length;
        }
        if (length != handCursorWidth) {
            return false;
        }
    }
    return true;
}
static_assert(PictureIsWhole(), "every row of the picture is one pixel per column");

// One plane: a bit is set for every pixel of the picture that is `set`.
constexpr std::array<BYTE, handCursorPlaneBytes> BuildPlane(char set) {
    std::array<BYTE, handCursorPlaneBytes> plane{};
    for (int row = 0; row < handCursorHeight; ++row) {
        for (int column = 0; column < handCursorWidth; ++column) {
            if (handPicture[row][column] == set) {
                int index = row * (handCursorWidth / 8) + column / 8;
                plane[index] = static_cast<BYTE>(plane[index] | (0x80 >> (column % 8)));
            }
        }
    }
    return plane;
}

}  // namespace

const std::array<BYTE, handCursorPlaneBytes> handCursorAndPlane = BuildPlane('.');
const std::array<BYTE, handCursorPlaneBytes> handCursorXorPlane = BuildPlane('o');
