// The about box: template 2003 run modally, its hot-spot made a link.
#include "about/about_dialog.h"

#include "about/link_control.h"
#include "shell/shell_state.h"

const char makerWebAddress[] = "http://www.ostrel.example/";

int ShowAboutDialog(HWND owner) {
    if (!PrepareDialogClasses(shellState.appInstance)) {
        return 0;
    }
    return static_cast<int>(DialogBoxParamA(shellState.appInstance, MAKEINTRESOURCEA(aboutTemplateId), owner,
                                            AboutDialogProc, 0));
}

BOOL PrepareDialogClasses(HINSTANCE) {
    return TRUE;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            AttachLinkControl(dialog, aboutLinkId, makerWebAddress, static_cast<COLORREF>(-1));
            return TRUE;  // the focus goes to the push button
        case WM_COMMAND:
            // Only the identifier counts, whatever sent it.
            if (LOWORD(wParam) == IDOK) {
                EndDialog(dialog, 1);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, 0);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}
