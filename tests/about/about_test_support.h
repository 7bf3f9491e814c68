// Helpers shared by the about box tests: a plain parent window with a white
// client area, pixel read-back and the bounding box of coloured pixels.
#pragma once

#include "platform/core/gdi_surface.h"
#include "platform/headless/headless_gdi.h"
#include "platform/win32.h"

#include <functional>

namespace about_test {

// A top-level window that paints its client area white and keeps nothing else.
inline LRESULT CALLBACK WhiteParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(window, &client);
        layer::FillSolid(reinterpret_cast<HDC>(wParam), client, 0x00FFFFFF);
        return 1;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

inline HWND MakeWhiteParent(int width, int height) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WhiteParentProc;
    windowClass.lpszClassName = "AboutTestWhiteParent";
    windowClass.cbWndExtra = 0;
    RegisterClassA(&windowClass);  // fails harmlessly when already there
    return CreateWindowExA(0, "AboutTestWhiteParent", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Paints a window and everything under it now.
inline void PaintNow(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

struct Box {
    bool found = false;
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0;
};

inline Box BoxOf(const headless::Frame& frame, const std::function<bool(const uint8_t*)>& wanted) {
    Box box;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (!wanted(frame.Pixel(x, y))) {
                continue;
            }
            if (!box.found) {
                box = Box{true, x, y, x + 1, y + 1};
            }
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}

// Blue-ish ink on white: the link colour and its anti-aliased edges.
inline bool IsBlueInk(const uint8_t* rgb) {
    return rgb[2] > 128 && rgb[0] + 40 < rgb[2] && rgb[1] + 40 < rgb[2];
}

inline bool IsNotWhite(const uint8_t* rgb) {
    return rgb[0] != 255 || rgb[1] != 255 || rgb[2] != 255;
}

// Text on white with its cell filled in the button face grey (the opaque
// background mode): neither white nor that grey.
inline bool IsInk(const uint8_t* rgb) {
    return IsNotWhite(rgb) && !(rgb[0] == 0xC0 && rgb[1] == 0xC0 && rgb[2] == 0xC0);
}

}  // namespace about_test
