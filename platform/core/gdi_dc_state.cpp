// Device context drawing state (text and background colours, background mode)
// and the system colours of the classic scheme.
#include "platform/core/gdi_objects.h"

using namespace layer;

DWORD WINAPI GetSysColor(int index) {
    switch (index) {
        case COLOR_WINDOW:
        case COLOR_BTNHIGHLIGHT:
            return 0x00FFFFFF;
        case COLOR_WINDOWTEXT:
        case COLOR_BTNTEXT:
        case COLOR_3DDKSHADOW:
            return 0x00000000;
        case COLOR_BTNFACE:
        case COLOR_3DLIGHT:
            return 0x00C0C0C0;
        case COLOR_BTNSHADOW:
            return 0x00808080;
        default:
            return 0;
    }
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF colour) {
    DeviceContext* context = Find<DeviceContext>(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    COLORREF previous = context->textColour;
    context->textColour = colour;
    return previous;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour) {
    DeviceContext* context = Find<DeviceContext>(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    COLORREF previous = context->backColour;
    context->backColour = colour;
    return previous;
}

int WINAPI SetBkMode(HDC dc, int mode) {
    DeviceContext* context = Find<DeviceContext>(dc);
    if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
        return 0;
    }
    int previous = context->backMode;
    context->backMode = mode;
    return previous;
}
