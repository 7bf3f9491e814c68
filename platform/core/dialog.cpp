// Modal dialogs: DialogBoxParamA with its message loop, EndDialog, and the
// default dialog class's procedure around the application's dialog procedure.
#include "platform/core/dialog.h"

#include "platform/core/controls.h"
#include "platform/core/gdi_surface.h"
#include "platform/core/reset.h"
#include "platform/core/resources.h"
#include "platform/core/window.h"

namespace layer {
namespace {

// Messages whose dialog-procedure result is the message's result; for all
// others a handled message's result is in DWL_MSGRESULT.
bool ReturnsDirectly(UINT message) {
    return message == WM_INITDIALOG || message == WM_CTLCOLORSTATIC;
}

LRESULT DefaultDialogId(HWND dialog) {
    const Window* window = FindWindowObject(dialog);
    for (HWND child : window->children) {
        const Window* c = FindWindowObject(child);
        if (c != nullptr && c->windowClass == FindClass("Button") &&
            (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            return MAKELONG(c->id, DC_HASDEFID);
        }
    }
    return 0;
}

void PaintDialog(HWND dialog) {
    PAINTSTRUCT paint;
    if (BeginPaint(dialog, &paint) != nullptr) {
        EndPaint(dialog, &paint);
    }
}

INT_PTR RunModalLoop(HWND dialog, HWND owner, ModalOutcome* outcome) {
    bool disabledOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disabledOwner) {
        EnableWindow(owner, FALSE);
    }
    if (!outcome->ended && IsWindow(dialog)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        SetForegroundWindow(dialog);
        InvalidateRect(dialog, nullptr, TRUE);
        UpdateWindow(dialog);
    }
    while (!outcome->ended && IsWindow(dialog)) {
        MSG message{};
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // The quit belongs to the caller's loop: hand it back and end.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (disabledOwner) {
        EnableWindow(owner, TRUE);  // before the dialog goes, so the owner gets activation back
    }
    if (IsWindow(dialog)) {
        DestroyWindow(dialog);
    }
    return outcome->ended ? outcome->result : 0;
}

// The system classes exist from the start of the process and survive a
// reset of the layer; the surfaces do not.
const bool registered = [] {
    EnsureSystemClasses();
    AddResetHook(ForgetAllSurfaces);
    return true;
}();

}  // namespace

DialogRecord* DialogRecordOf(HWND dialog) {
    const Window* window = FindWindowObject(dialog);
    if (window == nullptr || window->windowClass == nullptr || window->windowClass != FindClass(OSTREL_DIALOG_CLASS)) {
        return nullptr;
    }
    return reinterpret_cast<DialogRecord*>(GetWindowLongA(dialog, kDialogRecordSlot));
}

void EnsureSystemClasses() {
    struct SystemClass {
        const char* name;
        WNDPROC proc;
    };
    static const SystemClass classes[] = {
        {"Static", StaticProc},
        {"Button", ButtonProc},
        {OSTREL_DIALOG_CLASS, DialogClassProc},
    };
    for (const SystemClass& c : classes) {
        if (FindClass(c.name) == nullptr) {
            WNDCLASSA windowClass{};
            windowClass.style = CS_DBLCLKS | CS_GLOBALCLASS;
            windowClass.lpfnWndProc = c.proc;
            windowClass.cbWndExtra = kControlExtraBytes;
            windowClass.lpszClassName = c.name;
            RegisterBuiltInClass(windowClass);
        }
    }
}

LRESULT CALLBACK DialogClassProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogRecord* record = DialogRecordOf(dialog);
    if (record != nullptr && record->proc != nullptr) {
        INT_PTR handled = record->proc(dialog, message, wParam, lParam);
        if (handled != 0) {
            return ReturnsDirectly(message) ? handled : GetWindowLongA(dialog, DWL_MSGRESULT);
        }
        record = DialogRecordOf(dialog);  // the procedure may have destroyed the dialog
    }
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(dialog, &client);
            FillSolid(reinterpret_cast<HDC>(wParam), client, GetSysColor(COLOR_BTNFACE));
            return 1;
        }
        case WM_PAINT:
            PaintDialog(dialog);
            return 0;
        case WM_CLOSE:
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
            return 0;
        case DM_GETDEFID:
            return DefaultDialogId(dialog);
        case WM_SETFONT:
            return 0;  // the record has the font already
        case WM_GETFONT:
            return record != nullptr ? reinterpret_cast<LRESULT>(record->font) : 0;
        case WM_NCDESTROY:
            if (record != nullptr) {
                SetWindowLongA(dialog, kDialogRecordSlot, 0);
                if (record->ownsFont) {
                    DeleteObject(record->font);
                }
                delete record;
            }
            return DefWindowProcA(dialog, message, wParam, lParam);
        default:
            return DefWindowProcA(dialog, message, wParam, lParam);
    }
}

}  // namespace layer

using namespace layer;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dialogProc,
                               LPARAM initParam) {
    if (parent != nullptr && !IsWindow(parent)) {
        return -1;
    }
    ResourceData resource;
    DialogTemplate dialogTemplate;
    if (!IsMainInstance(instance) || !FindResourceData(OSTREL_RT_DIALOG, templateName, &resource) ||
        !ParseDialogTemplate(resource.data, resource.size, &dialogTemplate)) {
        return -1;
    }
    // A modal dialog is never a child: its owner is the top-level window of the parent.
    HWND owner = parent != nullptr ? RootOf(parent) : nullptr;
    dialogTemplate.style &= ~static_cast<DWORD>(WS_CHILD);
    ModalOutcome outcome;
    HWND dialog = CreateDialogFromTemplate(instance, dialogTemplate, owner, dialogProc, initParam, &outcome);
    if (dialog == nullptr) {
        return -1;
    }
    return RunModalLoop(dialog, owner, &outcome);
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    DialogRecord* record = DialogRecordOf(dialog);
    if (record == nullptr) {
        return FALSE;
    }
    if (record->outcome != nullptr) {
        record->outcome->ended = true;
        record->outcome->result = result;
    }
    return TRUE;
}
