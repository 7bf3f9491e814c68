// Arbitrary command lines through the start-up path: the program name is
// skipped, the switch read and one mode "run". The modes and the few system
// calls the dispatch makes are stand-ins that end at once, so every input
// must come back with a defined exit code and a consistent set of calls.
#include "about/about_dialog.h"
#include "shell/shell_state.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Windows that "exist": the preview and configure handles that pass IsWindow.
const uintptr_t kLiveWindows[] = {1, 500, 0xFFFFFFFFu};
const uintptr_t kForeground = 77;
constexpr int kSaverResult = 0;
constexpr int kAboutResult = 1;

struct Calls {
    int saver = 0;
    HWND saverParent = nullptr;
    int about = 0;
    HWND aboutOwner = nullptr;
    int passwordChanger = 0;
    HWND changerParent = nullptr;
    bool win9x = false;
};
Calls calls;

HWND Handle(uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}

bool Live(HWND window) {
    for (uintptr_t live : kLiveWindows) {
        if (Handle(live) == window) {
            return true;
        }
    }
    return window == Handle(kForeground);
}

void Check(bool condition) {
    if (!condition) {
        std::abort();  // a finding: libFuzzer keeps the input
    }
}

}  // namespace

// The modes, ended at once.
int RunSaverWindow(HWND parent) {
    ++calls.saver;
    calls.saverParent = parent;
    return kSaverResult;
}
int ShowAboutDialog(HWND owner) {
    ++calls.about;
    calls.aboutOwner = owner;
    return kAboutResult;
}
void CallPasswordChanger(HWND parent) {
    ++calls.passwordChanger;
    calls.changerParent = parent;
}
// Called only by the fault guard's handler: no input may fault.
void SetSaverRunning(BOOL) {
    std::abort();
}

// The system calls of the start-up path.
BOOL WINAPI IsWindow(HWND window) {
    return Live(window) ? TRUE : FALSE;
}
HWND WINAPI GetForegroundWindow(void) {
    return Handle(kForeground);
}
BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    Check(info != nullptr && info->dwOSVersionInfoSize == 148);
    info->dwPlatformId = calls.win9x ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
    return TRUE;
}
LPSTR WINAPI CharNextA(LPCSTR text) {
    return const_cast<LPSTR>(*text != '\0' ? text + 1 : text);
}
LPSTR WINAPI GetCommandLineA(void) {
    std::abort();  // StartSaver is not driven here
}
HMODULE WINAPI GetModuleHandleA(LPCSTR) {
    std::abort();
}
void WINAPI ExitProcess(UINT) {
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // First byte: the Windows family; the rest: the whole command line.
    calls = Calls{};
    calls.win9x = (data[0] & 1) != 0;
    std::vector<char> line(data + 1, data + size);
    line.push_back('\0');

    char* tail = CommandLineTail(line.data());
    Check(tail >= line.data() && tail <= line.data() + std::strlen(line.data()));
    Check(static_cast<unsigned char>(*tail) == 0 || static_cast<unsigned char>(*tail) > 0x20);

    shellState = ShellState{};
    int result = DispatchMode(reinterpret_cast<HINSTANCE>(uintptr_t{0x400000}), tail);

    Check(shellState.isWin9x == (calls.win9x ? 1 : 0));
    int modes = calls.saver + calls.about + calls.passwordChanger;
    Check(modes <= 1);
    if (modes == 0) {
        Check(result == -1);
    }
    if (calls.saver == 1) {
        // Full screen, or a preview into a window that exists.
        Check(result == kSaverResult);
        Check(calls.saverParent == nullptr || Live(calls.saverParent));
    }
    if (calls.about == 1) {
        Check(result == kAboutResult);
        Check(calls.aboutOwner == nullptr || Live(calls.aboutOwner));
    }
    if (calls.passwordChanger == 1) {
        Check(calls.win9x && result == 0 && Live(calls.changerParent));
    }
    return 0;
}
