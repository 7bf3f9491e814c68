// X key symbols as Windows virtual-key codes.
#pragma once

#include "platform/api/windows.h"

namespace x11 {

// Every key gives a code, as on Windows: keys without a Windows counterpart
// give kUnmappedKey, so they still count as key presses.
constexpr UINT kUnmappedKey = 0xFF;
UINT VirtualKeyOf(unsigned long keysym);

}  // namespace x11
