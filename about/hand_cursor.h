// The link's hand cursor: 32 by 32 monochrome planes, index finger up.
#pragma once

#include "platform/win32.h"

#include <array>

constexpr int handCursorWidth = 32;
constexpr int handCursorHeight = 32;
constexpr int handCursorHotX = 5;  // the white pixel under the fingertip
constexpr int handCursorHotY = 2;
constexpr int handCursorPlaneBytes = handCursorWidth / 8 * handCursorHeight;

// AND and XOR planes, 4 bytes a row, top row first, leftmost pixel in the
// most significant bit.
extern const std::array<BYTE, handCursorPlaneBytes> handCursorAndPlane;
extern const std::array<BYTE, handCursorPlaneBytes> handCursorXorPlane;
