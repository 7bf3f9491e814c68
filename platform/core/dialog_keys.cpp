// IsDialogMessageA: the dialog keys (Enter, Esc, Tab) and the dispatch of
// every other message for the dialog or its controls.
#include "platform/core/dialog.h"
#include "platform/core/window.h"

using namespace layer;

namespace {

bool CanTakeFocus(const Window* c) {
    return c != nullptr && (c->style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE);
}

// The next control with WS_TABSTOP after the focus, wrapping round.
void MoveFocus(HWND dialog) {
    const Window* window = FindWindowObject(dialog);
    const std::vector<HWND>& children = window->children;
    size_t count = children.size();
    size_t start = 0;
    HWND focus = GetFocus();
    for (size_t i = 0; i < count; ++i) {
        if (children[i] == focus) {
            start = i + 1;
        }
    }
    for (size_t step = 0; step < count; ++step) {
        HWND candidate = children[(start + step) % count];
        if (CanTakeFocus(FindWindowObject(candidate))) {
            SetFocus(candidate);
            return;
        }
    }
}

// Enter: the focused push button, else the default push button, else IDOK.
void PressEnter(HWND dialog) {
    HWND focus = GetFocus();
    int id = 0;
    HWND control = nullptr;
    if (focus != nullptr && focus != dialog && IsSelfOrDescendant(dialog, focus) &&
        (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
        id = GetDlgCtrlID(focus);
        control = focus;
    } else {
        LRESULT defId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
        id = HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : IDOK;
        control = GetDlgItem(dialog, id);
    }
    if (control != nullptr && !IsWindowEnabled(control)) {
        return;  // a disabled default button takes no Enter
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

}  // namespace

BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG message) {
    if (message == nullptr || FindWindowObject(dialog) == nullptr || !IsSelfOrDescendant(dialog, message->hwnd)) {
        return FALSE;
    }
    if (message->message == WM_KEYDOWN) {
        LRESULT code = message->hwnd != dialog
                           ? SendMessageA(message->hwnd, WM_GETDLGCODE, message->wParam,
                                          reinterpret_cast<LPARAM>(message))
                           : 0;
        bool wantsAll = (code & DLGC_WANTALLKEYS) != 0;
        switch (message->wParam) {
            case VK_TAB:
                if (!wantsAll && (code & DLGC_WANTTAB) == 0) {
                    MoveFocus(dialog);
                    return TRUE;
                }
                break;
            case VK_RETURN:
                if (!wantsAll) {
                    PressEnter(dialog);
                    return TRUE;
                }
                break;
            case VK_ESCAPE:
                if (!wantsAll) {
                    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
                    return TRUE;
                }
                break;
            default:
                break;
        }
    }
    TranslateMessage(message);
    DispatchMessageA(message);
    return TRUE;
}
