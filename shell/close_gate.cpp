// The close gate of the 95/98/Me family: a close goes through only when no
// password is required or the system's verifier accepts one. Prompts are
// paced 200 ms apart so that a burst of input asks once.
#include "shell/shell_state.h"

namespace {

constexpr DWORD kPromptPacing = 200;  // milliseconds
constexpr DWORD kNoPromptYet = 0xFFFFFFFF;

}  // namespace

DWORD ElapsedTicks(DWORD earlier, DWORD later) {
    return later - earlier;  // modulo 2^32: right across a wrap of the tick count
}

BOOL VerifyBeforeClose(HWND window) {
    if (shellState.verifying != 0 || shellState.closing != 0) {
        return 0;  // a prompt is open, or the close is already under way
    }
    if (shellState.verifyPassword == nullptr) {
        shellState.closing = 1;
        return 1;
    }
    DWORD now = GetTickCount();
    if (shellState.lastVerifyTick != kNoPromptYet && ElapsedTicks(shellState.lastVerifyTick, now) < kPromptPacing) {
        return static_cast<BOOL>(shellState.closing);
    }

    shellState.verifying = 1;
    // Frames waiting in the queue would only draw behind the prompt.
    MSG discarded;
    PeekMessageA(&discarded, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&discarded, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    LRESULT result = SendMessageA(window, kPasswordRequest, 0, 0);
    shellState.closing = static_cast<DWORD>(result);
    if (result != 0 && shellState.closing == 0) {
        shellState.closing = 1;  // a 64-bit result with only high bits set still accepts
    }
    shellState.verifying = 0;
    if (result == 0) {
        SetCursor(nullptr);
    }
    shellState.lastVerifyTick = GetTickCount();
    return static_cast<BOOL>(shellState.closing);
}
