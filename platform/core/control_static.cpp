// The "Static" class: text (left, centred, right, vertically centred) or a
// bitmap from the resources, click notification with SS_NOTIFY.
#include "platform/core/controls.h"

#include "platform/core/gdi_surface.h"
#include "platform/core/window.h"

namespace layer {
namespace {

// A bitmap static names its image in the window name: 0xFF and a 16-bit
// ordinal (as the dialog manager passes a template's ordinal title), or a
// resource name.
HBITMAP LoadStaticImage(const CREATESTRUCTA* create) {
    LPCSTR name = create->lpszName;
    if (name == nullptr || name[0] == '\0') {
        return nullptr;
    }
    if (static_cast<unsigned char>(name[0]) == 0xFF) {
        WORD ordinal = static_cast<unsigned char>(name[1]);
        if (name[1] != '\0') {
            ordinal = static_cast<WORD>(ordinal | (static_cast<unsigned char>(name[2]) << 8));
        }
        return LoadBitmapA(create->hInstance, MAKEINTRESOURCEA(ordinal));
    }
    return LoadBitmapA(create->hInstance, name);
}

LRESULT CreateStatic(HWND handle, const CREATESTRUCTA* create) {
    Window* window = FindWindowObject(handle);
    if ((create->style & SS_TYPEMASK) != SS_BITMAP) {
        return 0;
    }
    HBITMAP bitmap = LoadStaticImage(create);
    if (bitmap == nullptr) {
        return -1;  // the image is part of the control: no image, no control
    }
    SetWindowLongA(handle, kControlStateSlot, reinterpret_cast<LONG_PTR>(bitmap));
    window->text.clear();
    // The control takes the size of its image.
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    window->rect.right = window->rect.left + info.bmWidth;
    window->rect.bottom = window->rect.top + info.bmHeight;
    return 0;
}

void PaintStatic(HWND handle) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle, &paint);
    if (dc == nullptr) {
        return;
    }
    DWORD style = static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongA(handle, GWL_EXSTYLE));
    RECT client;
    GetClientRect(handle, &client);
    DWORD type = style & SS_TYPEMASK;
    if (type == SS_BITMAP) {
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(GetWindowLongA(handle, kControlStateSlot));
        DrawBitmapAt(dc, bitmap, 0, 0);
    } else if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
        if ((exStyle & WS_EX_TRANSPARENT) == 0) {
            FillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
        }
        UINT format = (style & SS_CENTERIMAGE) != 0 ? DT_SINGLELINE | DT_VCENTER : DT_WORDBREAK;
        if (type == SS_CENTER) {
            format |= DT_CENTER;
        } else if (type == SS_RIGHT) {
            format |= DT_RIGHT;
        }
        if ((style & SS_NOPREFIX) != 0) {
            format |= DT_NOPREFIX;
        }
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(GetWindowLongA(handle, kControlFontSlot));
        HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkMode(dc, TRANSPARENT);
        const Window* window = FindWindowObject(handle);
        DrawTextA(dc, window->text.c_str(), -1, &client, format);
        if (previous != nullptr) {
            SelectObject(dc, previous);
        }
    }
    EndPaint(handle, &paint);
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return CreateStatic(handle, reinterpret_cast<const CREATESTRUCTA*>(lParam));
        case WM_PAINT:
            PaintStatic(handle);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painted with the contents
        case WM_NCHITTEST:
            // Without SS_NOTIFY a static lets the mouse through to what lies beneath.
            return (GetWindowLongA(handle, GWL_STYLE) & SS_NOTIFY) != 0 ? HTCLIENT : HTTRANSPARENT;
        case WM_LBUTTONDOWN:
            if ((GetWindowLongA(handle, GWL_STYLE) & SS_NOTIFY) != 0) {
                SendMessageA(GetParent(handle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle), STN_CLICKED),
                             reinterpret_cast<LPARAM>(handle));
            }
            return 0;
        case WM_SETTEXT:
        case WM_SETFONT:
        case WM_GETFONT: {
            LRESULT result = 0;
            HandleControlTextAndFont(handle, message, wParam, lParam, &result);
            return result;
        }
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_NCDESTROY:
            if ((GetWindowLongA(handle, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
                DeleteObject(reinterpret_cast<HGDIOBJ>(GetWindowLongA(handle, kControlStateSlot)));
            }
            return DefWindowProcA(handle, message, wParam, lParam);
        default:
            return DefWindowProcA(handle, message, wParam, lParam);
    }
}

bool HandleControlTextAndFont(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
        case WM_SETTEXT:
            *result = DefWindowProcA(handle, message, wParam, lParam);
            InvalidateRect(handle, nullptr, FALSE);
            return true;
        case WM_SETFONT:
            SetWindowLongA(handle, kControlFontSlot, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam) != 0) {
                InvalidateRect(handle, nullptr, FALSE);
            }
            *result = 0;
            return true;
        case WM_GETFONT:
            *result = GetWindowLongA(handle, kControlFontSlot);
            return true;
        default:
            return false;
    }
}

}  // namespace layer
