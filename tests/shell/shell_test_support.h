// Helpers for driving the shell's modes on the headless host: a fresh
// process, a probe that runs test code inside whatever loop is pumping, and
// stand-ins for the optional system components the shell looks up by name.
#pragma once

#include "platform/headless/headless.h"
#include "scene/scene_state.h"
#include "shell/shell_state.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace shell_test {

// The state of a freshly started process: the layer reset, both system
// records at their start values (with the instance a mode finds set), a
// small screen with the cursor at its centre so that frames are cheap, and a
// run limit of `runLimit` virtual milliseconds.
void FreshProcess(DWORD ticks = 1000, DWORD runLimit = 2000);

HINSTANCE Instance();
// Runs DispatchMode on a copy of the tail.
int Dispatch(const std::string& tail);

// A hidden top-level window whose timer calls `step` every `period` virtual
// milliseconds, inside any loop that pumps the thread's messages (the
// saver's, a dialog's). The step sees how many steps ran before it.
class Probe {
public:
    Probe(UINT period, std::function<void(int step)> step);
    ~Probe();
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;
    HWND window() const { return window_; }
    int steps() const { return steps_; }

private:
    static LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    int steps_ = 0;
    std::function<void(int)> step_;
};

// Runs the saver window (full screen when `previewParent` is null, else the
// preview into it) and calls `body` once from inside its message loop, right
// after the window is up and the cursor has been routed to it; then destroys
// the window unless `body` has ended it. Returns RunSaverWindow's result.
int RunAndCall(const std::function<void(HWND saver)>& body, HWND previewParent = nullptr);

// Whether the cursor is hidden: SetCursor(NULL) was the last cursor set.
bool CursorHidden();
// Shows an arrow, as something else (a prompt, the user) would.
void ShowArrowCursor();

// A plain top-level window, as the display settings' dialog or another
// program's window would be. Visible, so that it can be a preview's parent.
HWND MakeWindow(int width = 200, int height = 150, const char* title = "");

// Handle value as the command line writes it.
unsigned long long HandleNumber(HWND window);

// The saver window's class and titles, for windows a test makes itself.
extern const char kSaverClass[];

// How many WM_CLOSE are posted to the window and not retrieved yet.
int PostedCloses(HWND window);

// ---------------------------------------------------------------------------
// "PASSWORD.CPL" with "VerifyScreenSavePwd": answers from a script (FALSE
// once the script is used up) and records every prompt.
struct Prompt {
    HWND window = nullptr;
    DWORD startTick = 0;
    int verifying = 0;          // shellState.verifying while the prompt ran
    bool timerPending = false;  // a WM_TIMER of the saver window was waiting
};
struct FakeVerifier {
    std::deque<BOOL> answers;
    std::vector<Prompt> prompts;
    DWORD promptLength = 0;              // virtual milliseconds a prompt takes
    std::function<void(HWND)> duringPrompt;  // runs inside the prompt
};
FakeVerifier& Verifier();
// Places the module (not loaded); with `withEntry` false it lacks the entry.
void InstallVerifier(bool withEntry = true);
// Sets "ScreenSaveUsePassword" as a 32-bit value.
void RequirePassword(DWORD value);

// "MPR.DLL" with "PwdChangePasswordA", recording its calls.
struct ChangerCall {
    std::string provider;
    HWND parent = nullptr;
    DWORD reserved1 = 0;
    void* reserved2 = nullptr;
};
std::vector<ChangerCall>& ChangerCalls();
void InstallPasswordChanger(bool withEntry = true);

// "IMM32.DLL" with "ImmAssociateContext", already loaded or not: every
// window starts associated with kDefaultImeContext.
struct AssociateCall {
    HWND window = nullptr;
    HIMC context = nullptr;
    HGLRC glContext = nullptr;  // current GL context at the call
    bool frameTimerLive = false;
};
extern const HIMC kDefaultImeContext;
std::vector<AssociateCall>& AssociateCalls();
HIMC ImeContextOf(HWND window);
void InstallInputMethod(bool loaded);

}  // namespace shell_test
