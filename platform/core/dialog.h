// The dialog manager's record of a dialog and the steps of a modal dialog.
#pragma once

#include "platform/api/windows.h"
#include "platform/core/dialog_template.h"

namespace layer {

// What a modal loop learns from EndDialog; lives on the loop's stack so that
// it outlasts the dialog window.
struct ModalOutcome {
    bool ended = false;
    INT_PTR result = 0;
};

// Kept in the dialog window's extra slot kDialogRecordSlot; freed at WM_NCDESTROY.
struct DialogRecord {
    DLGPROC proc = nullptr;
    HFONT font = nullptr;
    bool ownsFont = false;
    ModalOutcome* outcome = nullptr;
};

constexpr int kDialogRecordSlot = 8;  // slot 0 is DWL_MSGRESULT

DialogRecord* DialogRecordOf(HWND dialog);
// Win32's MulDiv: a * b / c rounded to the nearest, halves away from zero;
// -1 when c is 0.
int RoundedMulDiv(int a, int b, int c);
// Creates the dialog window and its controls from a template, sends
// WM_INITDIALOG and sets the first focus. Null when the window or any
// control cannot be created (nothing is left behind then).
HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent,
                              DLGPROC proc, LPARAM initParam, ModalOutcome* outcome);

}  // namespace layer
