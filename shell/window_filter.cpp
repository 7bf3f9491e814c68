// The saver window's registered procedure: the chores of creation and
// destruction, and the messages that must not reach the scene or the close
// rules. Everything else goes on to SceneProc unchanged.
#include "scene/scene_state.h"
#include "shell/entry_point.h"
#include "shell/shell_state.h"

namespace {

void HideCursor() {
    if (shellState.previewMode != 1) {
        SetCursor(nullptr);
    }
}

// No input method may pop up over the saver; the association is given back
// on WM_DESTROY. Only an input-method manager that is already loaded is used.
void DetachInputContext(HWND window) {
    shellState.imeModule = GetModuleHandleA("IMM32.DLL");
    if (shellState.imeModule != nullptr) {
        shellState.associateContext = EntryPoint<AssociateContextEntry>(shellState.imeModule, "ImmAssociateContext");
        if (shellState.associateContext != nullptr) {
            shellState.savedImeContext = shellState.associateContext(window, nullptr);
        }
    }
}

void RestoreInputContext(HWND window) {
    if (shellState.imeModule != nullptr && shellState.associateContext != nullptr &&
        shellState.savedImeContext != nullptr) {
        shellState.associateContext(window, shellState.savedImeContext);
    }
}

// The display settings' help and context menu belong to the dialog that
// holds the preview.
void ForwardToPreviewParent(HWND window, UINT message, LPARAM lParam) {
    HWND parent = GetParent(window);
    if (parent != nullptr && IsWindow(parent)) {
        PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
    }
}

}  // namespace

LRESULT CALLBACK ShellWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            DetachInputContext(window);
            GetCursorPos(&shellState.cursorAnchor);
            HideCursor();
            break;

        case WM_DESTROY:
            RestoreInputContext(window);
            PostQuitMessage(0);
            break;

        case WM_SETTEXT:
            return 0;  // the title stays as created

        case WM_PAINT:
            if (shellState.closing != 0) {
                return DefWindowProcA(window, message, wParam, lParam);
            }
            HideCursor();
            break;

        case WM_HELP:
        case WM_CONTEXTMENU:
            if (shellState.previewMode == 1) {
                ForwardToPreviewParent(window, message, lParam);
                return 1;
            }
            break;

        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (shellState.closing != 0) {
                return DefWindowProcA(window, message, wParam, lParam);
            }
            break;

        case WM_SYSCOMMAND:
            // The whole wParam is compared: with low bits set it is not one of these.
            if (shellState.previewMode == 0 &&
                (wParam == SC_NEXTWINDOW || wParam == SC_PREVWINDOW || wParam == SC_SCREENSAVE)) {
                return 0;
            }
            break;

        case WM_TIMER:
            if (shellState.closing != 0) {
                return 0;  // no frame once a close is granted
            }
            Sleep(0);
            break;

        default:
            break;
    }
    return SceneProc(window, message, wParam, lParam);
}
