// The link hot-spot control: subclassing, painting, cursor and click.
#include "about/link_control.h"

#include "about/hand_cursor.h"

HFONT linkFont = nullptr;
HCURSOR linkCursor = nullptr;
LONG linkPressed = 0;
char linkTextBuffer[linkTextMax + 1];

namespace {

// Copies at most linkTextMax characters and always terminates.
void CopyTarget(char* destination, const char* source) {
    int length = 0;
    if (source != nullptr) {
        for (; length < linkTextMax && source[length] != '\0'; ++length) {
            destination[length] = source[length];
        }
    }
    destination[length] = '\0';
}

void PaintLink(HWND control, const LinkControlData* record) {
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    UINT format = DT_SINGLELINE;
    if ((style & SS_CENTER) != 0) {
        format |= DT_CENTER;
    }
    if ((style & SS_RIGHT) != 0) {
        format |= DT_RIGHT;
    }
    if ((style & SS_CENTERIMAGE) != 0) {
        format |= DT_VCENTER;
    }
    RECT area;
    GetClientRect(control, &area);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control, &paint);
    SetTextColor(dc, record->textColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    if (linkFont == nullptr) {
        LOGFONTA font = {};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        font.lfUnderline = TRUE;
        linkFont = CreateFontIndirectA(&font);
    }
    HGDIOBJ previousFont = SelectObject(dc, linkFont);
    GetWindowTextA(control, linkTextBuffer, sizeof linkTextBuffer);
    DrawTextA(dc, linkTextBuffer, -1, &area, format);
    SelectObject(dc, previousFont);
    EndPaint(control, &paint);
}

void OpenLink(HWND control, LinkControlData* record) {
    linkPressed = 0;
    record->textColour = record->visitedColour;
    // Shown in the visited colour before the target opens.
    InvalidateRect(control, nullptr, FALSE);
    UpdateWindow(control);
    const char* target = record->url;
    if (target[0] == '\0') {
        GetWindowTextA(control, linkTextBuffer, sizeof linkTextBuffer);
        target = linkTextBuffer;
    }
    ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

int AttachLinkControl(HWND dialog, int id, const char* target, COLORREF colour) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        return 1;  // nothing to attach to, so nothing is allocated
    }
    auto* record = static_cast<LinkControlData*>(HeapAlloc(GetProcessHeap(), 0, sizeof(LinkControlData)));
    if (record == nullptr) {
        return 1;  // it stays a plain static control
    }
    LONG_PTR style = GetWindowLongA(control, GWL_STYLE);
    SetWindowLongA(control, GWL_STYLE, style | SS_NOTIFY);
    CopyTarget(record->url, target);
    record->textColour = colour == static_cast<COLORREF>(-1) ? linkDefaultColour : colour;
    record->visitedColour = linkVisitedColour;
    record->previousProc =
        reinterpret_cast<WNDPROC>(SetWindowLongA(control, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(LinkControlProc)));
    SetWindowLongA(control, GWL_USERDATA, reinterpret_cast<LONG_PTR>(record));
    return 1;
}

LRESULT CALLBACK LinkControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* record = reinterpret_cast<LinkControlData*>(GetWindowLongA(control, GWL_USERDATA));
    if (record == nullptr) {
        return DefWindowProcA(control, message, wParam, lParam);
    }
    WNDPROC previousProc = record->previousProc;
    switch (message) {
        case WM_SETTEXT: {
            LRESULT result = CallWindowProcA(previousProc, control, message, wParam, lParam);
            InvalidateRect(control, nullptr, FALSE);
            return result;
        }
        case WM_PAINT:
            PaintLink(control, record);
            return 0;
        case WM_SETCURSOR:
            if (linkCursor == nullptr) {
                linkCursor = CreateCursor(GetModuleHandleA(nullptr), handCursorHotX, handCursorHotY, handCursorWidth,
                                          handCursorHeight, handCursorAndPlane.data(), handCursorXorPlane.data());
            }
            SetCursor(linkCursor);
            return TRUE;
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_NCDESTROY:
            SetWindowLongA(control, GWL_USERDATA, 0);
            HeapFree(GetProcessHeap(), 0, record);
            return CallWindowProcA(previousProc, control, message, wParam, lParam);
        case WM_LBUTTONDOWN:
            linkPressed = 1;
            return CallWindowProcA(previousProc, control, message, wParam, lParam);
        case WM_LBUTTONUP:
            if (linkPressed != 0) {
                OpenLink(control, record);
            }
            return CallWindowProcA(previousProc, control, message, wParam, lParam);
        default:
            return CallWindowProcA(previousProc, control, message, wParam, lParam);
    }
}
