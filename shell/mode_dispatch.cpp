// The first switch of the tail picks the one mode this process runs.
#include "about/about_dialog.h"
#include "shell/fault_guard.h"
#include "shell/shell_state.h"

#include <cstring>

namespace {

const char* SkipSpaces(const char* text) {
    while (*text == ' ') {
        ++text;
    }
    return text;
}

// The configure box's owner: the window after "/c:", else the foreground one.
HWND ConfigureOwner(const char* text) {
    HWND owner = nullptr;
    if (*text == ':') {
        owner = ParseWindowHandle(text + 1);
    }
    if (owner == nullptr || !IsWindow(owner)) {
        owner = GetForegroundWindow();
    }
    return owner;
}

// Everything from the first byte read until the mode returns; runs under the
// fault guard.
int RunModeFromSwitch(char* tail) {
    const char* p = tail;
    while (*p == ' ' || *p == '-' || *p == '/') {
        ++p;
    }
    switch (*p) {
        case '\0':
            return ShowAboutDialog(nullptr);
        case 'S':
        case 's':
            return RunSaverWindow(nullptr);
        case 'P':
        case 'p':
        case 'L':
        case 'l':
            return RunPreview(SkipSpaces(p + 1));
        case 'C':
        case 'c':
            return ShowAboutDialog(ConfigureOwner(p + 1));
        case 'A':
        case 'a':
            if (shellState.isWin9x == 1) {
                return ChangePasswordMode(SkipSpaces(p + 1));
            }
            return -1;
        default:
            return -1;
    }
}

}  // namespace

int DispatchMode(HINSTANCE instance, char* tail) {
    shellState.appInstance = instance;

    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    static_assert(sizeof version == 148, "the record the 32-bit system expects");
    version.dwOSVersionInfoSize = sizeof version;
    shellState.isWin9x = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? 1 : 0;

    static char empty[1] = {'\0'};
    return RunUnderFaultGuard(RunModeFromSwitch, tail != nullptr ? tail : empty);
}

int RunPreview(const char* text) {
    HWND parent = ParseWindowHandle(text);
    if (parent == nullptr || !IsWindow(parent)) {
        return -1;
    }
    return RunSaverWindow(parent);
}

int ChangePasswordMode(const char* text) {
    HWND parent = ParseWindowHandle(text);
    if (parent == nullptr || !IsWindow(parent)) {
        parent = GetForegroundWindow();
    }
    CallPasswordChanger(parent);
    return 0;
}
