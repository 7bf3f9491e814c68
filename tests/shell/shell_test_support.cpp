#include "tests/shell/shell_test_support.h"

#include <cstdint>
#include <map>

namespace shell_test {

const char kSaverClass[] = "WindowsScreenSaverClass";
const HIMC kDefaultImeContext = reinterpret_cast<HIMC>(uintptr_t{0x1C0});

namespace {

struct Fakes {
    FakeVerifier verifier;
    std::vector<ChangerCall> changerCalls;
    std::vector<AssociateCall> associateCalls;
    std::map<HWND, HIMC> imeContexts;
};

Fakes& TheFakes() {
    static Fakes fakes;
    return fakes;
}

// The exports as GetProcAddress hands them out; the detour through a plain
// function pointer keeps the cast free of function-type warnings.
template <class F>
FARPROC Export(F* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(function));
}

bool SaverTimerLive(HWND window) {
    for (const headless::TimerInfo& timer : headless::Timers()) {
        if (timer.window == window && timer.id == 1) {
            return true;
        }
    }
    return false;
}

BOOL WINAPI FakeVerifyScreenSavePwd(HWND window) {
    FakeVerifier& verifier = TheFakes().verifier;
    Prompt prompt;
    prompt.window = window;
    prompt.startTick = GetTickCount();
    prompt.verifying = shellState.verifying;
    MSG pending;
    prompt.timerPending = PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_NOREMOVE) != 0;
    verifier.prompts.push_back(prompt);
    // The prompt shows its own cursor.
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (verifier.duringPrompt) {
        verifier.duringPrompt(window);
    }
    headless::AdvanceTicks(verifier.promptLength);
    if (verifier.answers.empty()) {
        return FALSE;
    }
    BOOL answer = verifier.answers.front();
    verifier.answers.pop_front();
    return answer;
}

DWORD WINAPI FakePwdChangePasswordA(LPCSTR provider, HWND parent, DWORD reserved1, LPVOID reserved2) {
    TheFakes().changerCalls.push_back(ChangerCall{provider != nullptr ? provider : "", parent, reserved1, reserved2});
    return 0;
}

HIMC WINAPI FakeImmAssociateContext(HWND window, HIMC context) {
    Fakes& fakes = TheFakes();
    fakes.associateCalls.push_back(AssociateCall{window, context, wglGetCurrentContext(), SaverTimerLive(window)});
    HIMC previous = ImeContextOf(window);
    fakes.imeContexts[window] = context;
    return previous;
}

}  // namespace

void FreshProcess(DWORD ticks, DWORD runLimit) {
    headless::Reset(ticks);
    headless::SetScreenSize(160, 120);
    headless::PlaceCursor(80, 60);  // the centre of this screen
    headless::SetRunLimit(runLimit);
    shellState = ShellState{};
    shellState.appInstance = Instance();  // as DispatchMode sets it before any mode
    sceneState = SceneState{};
    TheFakes() = Fakes{};
}

HINSTANCE Instance() {
    return GetModuleHandleA(nullptr);
}

int Dispatch(const std::string& tail) {
    std::vector<char> text(tail.begin(), tail.end());
    text.push_back('\0');
    return DispatchMode(Instance(), text.data());
}

Probe::Probe(UINT period, std::function<void(int)> step) : step_(std::move(step)) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.hInstance = Instance();
    windowClass.lpszClassName = "ShellTestProbe";
    RegisterClassA(&windowClass);  // already there after the first probe of a test
    window_ = CreateWindowExA(0, "ShellTestProbe", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, Instance(), nullptr);
    SetWindowLongA(window_, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetTimer(window_, 1, period, nullptr);
}

Probe::~Probe() {
    if (IsWindow(window_)) {
        SetWindowLongA(window_, GWL_USERDATA, 0);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK Probe::ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        auto* probe = reinterpret_cast<Probe*>(GetWindowLongA(window, GWL_USERDATA));
        if (probe != nullptr) {
            int step = probe->steps_++;
            probe->step_(step);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunAndCall(const std::function<void(HWND)>& body, HWND previewParent) {
    Probe probe(10, [&](int step) {
        HWND saver = shellState.saverWindow;
        if (step == 0 && IsWindow(saver)) {
            body(saver);
        }
        if (IsWindow(saver)) {
            DestroyWindow(saver);
        }
    });
    return RunSaverWindow(previewParent);
}

bool CursorHidden() {
    return !headless::SetCursorCalls().empty() && headless::CurrentCursor() == nullptr;
}

void ShowArrowCursor() {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

HWND MakeWindow(int width, int height, const char* title) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = Instance();
    windowClass.lpszClassName = "ShellTestWindow";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "ShellTestWindow", title, WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, Instance(), nullptr);
}

unsigned long long HandleNumber(HWND window) {
    return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window));
}

int PostedCloses(HWND window) {
    int count = 0;
    for (const MSG& message : headless::PostedMessages()) {
        if (message.hwnd == window && message.message == WM_CLOSE) {
            ++count;
        }
    }
    return count;
}

FakeVerifier& Verifier() {
    return TheFakes().verifier;
}

void InstallVerifier(bool withEntry) {
    if (withEntry) {
        headless::AddModule("PASSWORD.CPL", false,
                            {{"VerifyScreenSavePwd", Export(FakeVerifyScreenSavePwd)}});
    } else {
        headless::AddModule("PASSWORD.CPL", false, {});
    }
}

void RequirePassword(DWORD value) {
    headless::SetRegistryDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", value);
}

std::vector<ChangerCall>& ChangerCalls() {
    return TheFakes().changerCalls;
}

void InstallPasswordChanger(bool withEntry) {
    if (withEntry) {
        headless::AddModule("MPR.DLL", false, {{"PwdChangePasswordA", Export(FakePwdChangePasswordA)}});
    } else {
        headless::AddModule("MPR.DLL", false, {});
    }
}

std::vector<AssociateCall>& AssociateCalls() {
    return TheFakes().associateCalls;
}

HIMC ImeContextOf(HWND window) {
    auto found = TheFakes().imeContexts.find(window);
    return found != TheFakes().imeContexts.end() ? found->second : kDefaultImeContext;
}

void InstallInputMethod(bool loaded) {
    headless::AddModule("IMM32.DLL", loaded, {{"ImmAssociateContext", Export(FakeImmAssociateContext)}});
}

}  // namespace shell_test
