// The "Button" class as push button: pressed by the left button or the space
// bar, BN_CLICKED on release, raised 3D face, focus rectangle, default frame.
#include "platform/core/controls.h"

#include "platform/core/gdi_surface.h"
#include "platform/core/window.h"

namespace layer {
namespace {

constexpr LONG_PTR kPressedByMouse = 1;
constexpr LONG_PTR kPressedByKey = 2;

LONG_PTR StateOf(HWND handle) {
    return GetWindowLongA(handle, kControlStateSlot);
}

void SetState(HWND handle, LONG_PTR state) {
    if (StateOf(handle) != state) {
        SetWindowLongA(handle, kControlStateSlot, state);
        InvalidateRect(handle, nullptr, FALSE);
        UpdateWindow(handle);
    }
}

bool IsDefault(HWND handle) {
    return (GetWindowLongA(handle, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

void Click(HWND handle) {
    SendMessageA(GetParent(handle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle), BN_CLICKED),
                 reinterpret_cast<LPARAM>(handle));
}

void PaintButton(HWND handle) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle, &paint);
    if (dc == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(handle, &client);
    bool pressed = StateOf(handle) != 0;
    RECT inner = DrawButtonFace(dc, client, pressed, IsDefault(handle));
    if (pressed) {
        inner = RECT{inner.left + 1, inner.top + 1, inner.right + 1, inner.bottom + 1};
    }
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(GetWindowLongA(handle, kControlFontSlot));
    HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    SetTextColor(dc, IsWindowEnabled(handle) ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_BTNSHADOW));
    SetBkMode(dc, TRANSPARENT);
    const Window* window = FindWindowObject(handle);
    DrawTextA(dc, window->text.c_str(), -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (previous != nullptr) {
        SelectObject(dc, previous);
    }
    if (GetFocus() == handle) {
        RECT focus{client.left + 4, client.top + 4, client.right - 4, client.bottom - 4};
        DrawFocusDots(dc, focus);
    }
    EndPaint(handle, &paint);
}

bool Inside(HWND handle, LPARAM lParam) {
    RECT client;
    GetClientRect(handle, &client);
    int x = GET_X_LPARAM(lParam);
    int y = GET_Y_LPARAM(lParam);
    return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintButton(handle);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the face covers it
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(handle);
            SetState(handle, StateOf(handle) | kPressedByMouse);
            return 0;
        case WM_LBUTTONUP:
            // There is no mouse capture: a release outside the button goes
            // elsewhere and the next mouse move without the button lets go.
            if ((StateOf(handle) & kPressedByMouse) != 0) {
                SetState(handle, StateOf(handle) & ~kPressedByMouse);
                if (Inside(handle, lParam)) {
                    Click(handle);
                }
            }
            return 0;
        case WM_MOUSEMOVE:
            if ((StateOf(handle) & kPressedByMouse) != 0 && (wParam & MK_LBUTTON) == 0) {
                SetState(handle, StateOf(handle) & ~kPressedByMouse);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) {
                SetState(handle, StateOf(handle) | kPressedByKey);
            }
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE && (StateOf(handle) & kPressedByKey) != 0) {
                SetState(handle, StateOf(handle) & ~kPressedByKey);
                Click(handle);
            }
            return 0;
        case WM_SETFOCUS:
            InvalidateRect(handle, nullptr, FALSE);
            return 0;
        case WM_KILLFOCUS:
            SetWindowLongA(handle, kControlStateSlot, 0);
            InvalidateRect(handle, nullptr, FALSE);
            return 0;
        case WM_ENABLE:
            InvalidateRect(handle, nullptr, FALSE);
            return 0;
        case WM_SETTEXT:
        case WM_SETFONT:
        case WM_GETFONT: {
            LRESULT result = 0;
            HandleControlTextAndFont(handle, message, wParam, lParam, &result);
            return result;
        }
        case WM_GETDLGCODE:
            return DLGC_BUTTON | (IsDefault(handle) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        default:
            return DefWindowProcA(handle, message, wParam, lParam);
    }
}

}  // namespace layer
