// The one window of a saver process: full screen and topmost, or a child
// filling a preview window; and the thread's message loop until it is gone.
#include "shell/shell_state.h"

namespace {

const char kSaverClass[] = "WindowsScreenSaverClass";
const char kFullScreenTitle[] = "Screen Saver";
const char kPreviewTitle[] = "Preview";

}  // namespace

int RunSaverWindow(HWND parent) {
    WNDCLASSA windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = ShellWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = shellState.appInstance;
    windowClass.hIcon = LoadIconA(shellState.appInstance, MAKEINTRESOURCE(100));
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kSaverClass;

    RECT area = {0, 0, 0, 0};
    DWORD style;
    DWORD exStyle;
    LPCSTR title;
    if (parent != nullptr) {
        GetClientRect(parent, &area);
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        exStyle = 0;
        title = kPreviewTitle;
        shellState.previewMode = 1;  // before registering: WM_CREATE reads it
    } else {
        HDC screen = GetDC(nullptr);
        GetClipBox(screen, &area);
        ReleaseDC(nullptr, screen);
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        exStyle = WS_EX_TOPMOST;
        title = kFullScreenTitle;

        // One full-screen saver at a time: the running one comes forward.
        HWND running = FindWindowA(kSaverClass, kFullScreenTitle);
        if (running != nullptr && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        LoadPasswordVerifier();
    }

    shellState.autoPlayMessage = shellState.isWin9x == 1 ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    // The loop hangs on this call's own window, whatever the record held.
    HWND window = nullptr;
    if (RegisterClassA(&windowClass) != 0) {
        window = CreateWindowExA(exStyle, kSaverClass, title, style, area.left, area.top, area.right - area.left,
                                 area.bottom - area.top, parent, nullptr, shellState.appInstance, nullptr);
        shellState.saverWindow = window;
    }

    int result = -1;  // no window, no loop
    if (window != nullptr) {
        if (shellState.previewMode != 1) {
            SetForegroundWindow(window);
        }
        MSG message;
        BOOL got;
        while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0) {
            if (got == -1) {
                break;  // the loop cannot go on; keep -1
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (got == 0) {
            result = static_cast<int>(message.wParam);
        }
    }

    UnloadPasswordVerifier();
    return result;
}
