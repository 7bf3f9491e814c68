// The headless host: a virtual screen, a controllable clock and GL through
// OSMesa. Tests and offscreen tools use this interface to drive the system
// and read back what it presented.
#pragma once

#include "platform/api/windows.h"

#include <cstdint>
#include <vector>

namespace headless {

// The virtual screen. Starts at 1024 by 768.
void SetScreenSize(int width, int height);

// The virtual tick clock behind GetTickCount. It moves only when told to.
DWORD Ticks();
void SetTicks(DWORD ticks);
void AdvanceTicks(DWORD milliseconds);

// A frame that a window presented with SwapBuffers: top row first, three
// bytes (red, green, blue) per pixel, no row padding.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    uint8_t* Pixel(int x, int y) { return rgb.data() + (static_cast<size_t>(y) * width + x) * 3; }
    const uint8_t* Pixel(int x, int y) const { return rgb.data() + (static_cast<size_t>(y) * width + x) * 3; }
};

// The last frame the window presented; false when it has presented none.
bool ReadPresentedFrame(HWND window, Frame* frame);
// How many times the window has presented (successful SwapBuffers calls).
uint64_t PresentCount(HWND window);
// Makes ChoosePixelFormat find nothing (as on a machine without OpenGL).
void SetPixelFormatsAvailable(bool available);

}  // namespace headless
