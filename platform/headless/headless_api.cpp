// The test-facing interface of headless.h over the core's and the back
// end's state.
#include "platform/core/cursor.h"
#include "platform/core/failures.h"
#include "platform/core/focus.h"
#include "platform/core/host.h"
#include "platform/core/input.h"
#include "platform/core/queue.h"
#include "platform/core/reset.h"
#include "platform/core/system_state.h"
#include "platform/core/timers.h"
#include "platform/headless/headless.h"

#include "platform/core/window.h"
#include "platform/headless/host_state.h"

#include <algorithm>

using headless::detail::Host;

namespace headless {

void Reset(DWORD ticks) {
    // The clock first: windows and timers forgotten below must not see the old one.
    detail::ResetHost(ticks);
    layer::ResetLayer();
    SetPixelFormatsAvailable(true);
}

void SetScreenSize(int width, int height) {
    Host().screen = SIZE{std::max(width, 1), std::max(height, 1)};
    // A smaller screen takes the cursor with it.
    layer::SetCursorPoint(layer::CursorPoint());
}

DWORD Ticks() {
    return layer::host::Ticks();
}

void SetTicks(DWORD ticks) {
    Host().tickOffset = ticks - static_cast<DWORD>(Host().now);
}

void AdvanceTicks(DWORD milliseconds) {
    detail::MoveClockTo(Host().now + milliseconds);
}

void SetRunLimit(DWORD milliseconds) {
    Host().runLimitAt = Host().now + milliseconds;
}

RunEnd LastRunEnd() {
    return Host().lastRunEnd;
}

InputEvent KeyDown(UINT key, bool alt) {
    InputEvent event;
    event.kind = InputKind::KeyDown;
    event.key = key;
    event.alt = alt;
    return event;
}

InputEvent KeyUp(UINT key, bool alt) {
    InputEvent event = KeyDown(key, alt);
    event.kind = InputKind::KeyUp;
    return event;
}

InputEvent MouseMove(int x, int y) {
    InputEvent event;
    event.kind = InputKind::MouseMove;
    event.point = POINT{x, y};
    return event;
}

InputEvent ButtonDown(Button button) {
    InputEvent event;
    event.kind = InputKind::ButtonDown;
    event.button = button;
    return event;
}

InputEvent ButtonUp(Button button) {
    InputEvent event = ButtonDown(button);
    event.kind = InputKind::ButtonUp;
    return event;
}

InputEvent ActivateApp(bool active) {
    InputEvent event;
    event.kind = InputKind::ActivateApp;
    event.wParam = active ? TRUE : FALSE;
    return event;
}

InputEvent Power(WPARAM code) {
    InputEvent event;
    event.kind = InputKind::Power;
    event.wParam = code;
    return event;
}

InputEvent PowerBroadcast(WPARAM code) {
    InputEvent event;
    event.kind = InputKind::PowerBroadcast;
    event.wParam = code;
    return event;
}

InputEvent AutoPlayQuery() {
    InputEvent event;
    event.kind = InputKind::AutoPlay;
    return event;
}

void Inject(const InputEvent& event) {
    detail::Deliver(event);
}

void Schedule(DWORD delay, const InputEvent& event) {
    Host().script.push_back(detail::ScriptedEvent{Host().now + delay, event});
}

size_t PendingInputCount() {
    return Host().script.size();
}

std::optional<LRESULT> LastAutoPlayAnswer() {
    return Host().autoPlayAnswer;
}

HWND WindowAt(int x, int y) {
    return layer::input::MouseTarget(POINT{x, y}, nullptr);
}

void SetForeground(HWND window) {
    layer::SetForegroundSilently(window);
}

const std::vector<HWND>& ForegroundRequests() {
    return layer::ForegroundRequests();
}

std::vector<MSG> PostedMessages() {
    return layer::QueuedMessages();
}

std::vector<TimerInfo> Timers() {
    std::vector<TimerInfo> timers;
    for (const layer::TimerRecord& record : layer::LiveTimers()) {
        timers.push_back(TimerInfo{record.window, record.id, record.elapse, record.proc});
    }
    return timers;
}

POINT CursorPosition() {
    return layer::CursorPoint();
}

void PlaceCursor(int x, int y) {
    layer::SetCursorPoint(POINT{x, y});
}

HCURSOR CurrentCursor() {
    return layer::CurrentCursor();
}

const std::vector<HCURSOR>& SetCursorCalls() {
    return layer::SetCursorLog();
}

int CursorShowCount() {
    return layer::CursorShowCount();
}

bool ReadCursor(HCURSOR handle, CursorImage* image) {
    const layer::Cursor* cursor = layer::Find<layer::Cursor>(handle);
    if (cursor == nullptr || image == nullptr) {
        return false;
    }
    *image = CursorImage{cursor->hotX, cursor->hotY, cursor->width, cursor->height, cursor->andPlane,
                         cursor->xorPlane};
    return true;
}

void SetCommandLine(const char* commandLine) {
    layer::SetCommandLine(commandLine);
}

void SetWindowsFamily(WindowsFamily family) {
    if (family == WindowsFamily::Win9x) {
        layer::SetVersionInfo(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0x040A08AE, " A");
    } else {
        layer::SetVersionInfo(VER_PLATFORM_WIN32_NT, 5, 1, 2600, "Service Pack 3");
    }
}

void SetVersionCallFails(bool fails) {
    layer::SetVersionCallFails(fails);
}

const std::vector<WPARAM>& DefaultSystemCommands() {
    return layer::DefaultSystemCommands();
}

const std::vector<DWORD>& SleepCalls() {
    return Host().sleeps.Entries();
}

void SetExitProcessThrows(bool throws) {
    Host().exitThrows = throws;
}

void FailNext(FailingCall call) {
    switch (call) {
        case FailingCall::HeapAlloc:
            layer::FailNext(layer::Failure::HeapAlloc);
            break;
        case FailingCall::SetTimer:
            layer::FailNext(layer::Failure::SetTimer);
            break;
        case FailingCall::RegisterClass:
            layer::FailNext(layer::Failure::RegisterClass);
            break;
        case FailingCall::CreateWindow:
            layer::FailNext(layer::Failure::CreateWindow);
            break;
        case FailingCall::LoadLibrary:
            layer::FailNext(layer::Failure::LoadLibrary);
            break;
    }
}

size_t LiveHeapBlocks() {
    return layer::LiveHeapBlockCount();
}

HMODULE AddModule(const char* name, bool loaded, std::initializer_list<ModuleExport> exports) {
    std::vector<std::pair<std::string, FARPROC>> table;
    for (const ModuleExport& entry : exports) {
        if (entry.name != nullptr) {
            table.emplace_back(entry.name, entry.proc);
        }
    }
    return layer::PlaceModule(name, loaded, table);
}

int ModuleRefCount(const char* name) {
    return layer::ModuleRefCount(name);
}

const std::vector<LibraryCall>& LibraryCalls() {
    return layer::LibraryCallLog();
}

void SetRegistryValue(HKEY root, const char* subKey, const char* valueName, DWORD type, const void* data,
                      DWORD size) {
    layer::SetRegistryValue(root, subKey, valueName, type, data, size);
}

void SetRegistryDword(HKEY root, const char* subKey, const char* valueName, DWORD value) {
    layer::SetRegistryValue(root, subKey, valueName, REG_DWORD, &value, sizeof value);
}

void AddRegistryKey(HKEY root, const char* subKey) {
    layer::AddRegistryKey(root, subKey);
}

int OpenRegistryKeys() {
    return layer::OpenRegistryKeyCount();
}

const std::vector<SystemParametersCall>& SystemParametersCalls() {
    return layer::SystemParametersLog();
}

bool ScreenSaverRunning() {
    return layer::ScreenSaverRunningFlag();
}

const std::vector<ShellExecuteCall>& ShellExecuteCalls() {
    return Host().shellExecutes.Entries();
}

}  // namespace headless
