// The end of the saver window's chain: user input and system events become a
// posted WM_CLOSE, the close gate decides on it, the password request is
// answered here, and the rest goes to the default procedure.
#include "shell/shell_state.h"

namespace {

void PostClose(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

DWORD Distance(LONG a, LONG b) {
    return a >= b ? static_cast<DWORD>(a) - static_cast<DWORD>(b) : static_cast<DWORD>(b) - static_cast<DWORD>(a);
}

// Small moves add up against the same anchor; only a closing move re-takes it.
void CloseOnMovement(HWND window) {
    POINT cursor = shellState.cursorAnchor;
    GetCursorPos(&cursor);
    DWORD moved = Distance(cursor.x, shellState.cursorAnchor.x) + Distance(cursor.y, shellState.cursorAnchor.y);
    if (moved > ShellState::mouseThreshold) {
        PostClose(window);
        shellState.cursorAnchor = cursor;
    }
}

}  // namespace

LRESULT CALLBACK CloseOnInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (shellState.previewMode != 1 && shellState.closing == 0) {
        if (message == WM_CLOSE) {
            if (shellState.isWin9x != 0) {
                if (!VerifyBeforeClose(window)) {
                    GetCursorPos(&shellState.cursorAnchor);
                    return 0;  // refused: the saver runs on
                }
            }
        } else if (message == kPasswordRequest && shellState.isWin9x != 0) {
            // Answered even while verifying: the gate itself asks.
            return shellState.verifyPassword != nullptr ? shellState.verifyPassword(window) : 1;
        } else if (shellState.verifying != 1) {
            switch (message) {
                case WM_SHOWWINDOW:
                    if (wParam != 0) {
                        SetCursor(nullptr);
                    }
                    break;
                case WM_ACTIVATEAPP:
                    if (wParam == 0) {
                        PostClose(window);
                    }
                    break;
                case WM_SETCURSOR:
                    SetCursor(nullptr);
                    return 1;
                case WM_POWER:
                    if (wParam == PWR_CRITICALRESUME) {
                        PostClose(window);
                    }
                    break;
                case WM_POWERBROADCAST:
                case WM_KEYDOWN:
                case WM_SYSKEYDOWN:
                case WM_LBUTTONDOWN:
                case WM_RBUTTONDOWN:
                case WM_MBUTTONDOWN:
                    PostClose(window);
                    break;
                case WM_MOUSEMOVE:
                    CloseOnMovement(window);
                    break;
                default:
                    break;
            }
        }
    }

    // The shell's AutoPlay query is answered in every state.
    if (shellState.autoPlayMessage != 0 && message == shellState.autoPlayMessage) {
        PostClose(window);
        return shellState.verifyPassword != nullptr ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
