// The headless host: a virtual screen, a controllable clock, scripted input
// and GL through OSMesa. Tests and offscreen tools use this interface to
// drive the system and read back what it did.
//
// Everything runs on the calling thread. A test usually starts with
// headless::Reset(), builds windows through the Win32 calls, scripts input
// with Schedule() and runs a message loop: whenever GetMessageA finds nothing
// to return it moves the virtual clock on to the next scripted event or timer
// deadline, so loops run as fast as the code allows and never hang (see the
// run limit below).
#pragma once

#include "platform/api/windows.h"
#include "platform/core/system_state.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace headless {

// ---------------------------------------------------------------------------
// Starting clean

// Brings the layer back to the state of a fresh process: every window is
// forgotten without being sent a message (so no procedure of an earlier test
// runs again), and the window classes the system registered, registered
// message numbers, the queue, timers, scripted input, cursor state (position
// at the screen centre, no cursor set, show count 0), focus, foreground,
// modules, registry, heap blocks, logs, failure knobs, command line, version
// and screen size go back to their defaults. The clock is set to `ticks` and
// the run limit to 60 s from there. Objects that the system caches for the
// life of the process (fonts, cursors, bitmaps, GL contexts) keep their
// handles. SceneState and ShellState are the system's: tests reset those.
void Reset(DWORD ticks = 0);

// ---------------------------------------------------------------------------
// The virtual screen. Starts at 1024 by 768.
void SetScreenSize(int width, int height);

// ---------------------------------------------------------------------------
// The virtual clock behind GetTickCount. It moves only when told to, or when
// a waiting GetMessageA moves it to the next event or deadline. Timers run on
// elapsed time, so SetTicks (which only changes what GetTickCount reads, e.g.
// to test wrap-around) neither fires nor delays them; AdvanceTicks does.
DWORD Ticks();
void SetTicks(DWORD ticks);
void AdvanceTicks(DWORD milliseconds);

// ---------------------------------------------------------------------------
// Ending runs. GetMessageA ends the run by returning 0 with a WM_QUIT message
// whose wParam is kRunEndedQuitCode (hwnd null) when
//  - it would have to move the clock past the run limit (the clock is then
//    left at the limit),
//  - it has nothing to wait for: no scripted input and no timer that can
//    still come due,
//  - or it has handed out 1,000,000 messages without the clock moving (a
//    loop that keeps itself busy, e.g. WM_PAINT never validated).
// Further calls end the same way, so nested loops unwind one after another.
constexpr WPARAM kRunEndedQuitCode = 0x7E57E0D;
enum class RunEnd { None, TimeLimit, NothingToWaitFor, Spinning };
// The limit, in milliseconds of virtual time from now. Reset: 60 s.
void SetRunLimit(DWORD milliseconds);
// Why the last run ended; None until one has (Reset clears it).
RunEnd LastRunEnd();

// ---------------------------------------------------------------------------
// Input. An event is delivered either now (Inject) or when the virtual clock
// reaches its time (Schedule). Delivery works as on Windows:
//  - mouse events go to the window under the cursor: the deepest visible,
//    enabled child whose WM_NCHITTEST is not HTTRANSPARENT, falling back to
//    its parent; a disabled top-level window (a modal dialog's owner) gets
//    nothing. That window is sent WM_SETCURSOR (wParam: itself, lParam: hit
//    code and mouse message) and posted the mouse message in client
//    coordinates. A move replaces the WM_MOUSEMOVE for the same window that
//    is the last message in the queue, if any. A second button press within
//    500 ms and 2 pixels on a window whose class has CS_DBLCLKS becomes the
//    double-click message.
//  - keys go to the focus window, else the foreground window (nothing when
//    that is disabled): WM_KEYDOWN / WM_KEYUP, or WM_SYSKEYDOWN /
//    WM_SYSKEYUP with Alt held (and for VK_MENU and VK_F10). A key pressed
//    again while down is a repeat (lParam bit 30 set).
//  - activation sends WM_ACTIVATEAPP (wParam: active) to every top-level
//    window; the foreground window is not changed.
//  - power events send WM_POWER or WM_POWERBROADCAST to every top-level
//    window.
//  - the AutoPlay query sends the registered "QueryCancelAutoPlay" message
//    to the foreground window; its answer is kept (LastAutoPlayAnswer).
// Mouse positions are screen coordinates, kept inside the virtual screen.
// Besides, whenever a window appears (visible at creation, or shown) over
// the cursor, the next GetMessageA or PeekMessageA routes the cursor anew as
// Windows does: WM_SETCURSOR and a WM_MOUSEMOVE without any movement.
enum class InputKind { KeyDown, KeyUp, MouseMove, ButtonDown, ButtonUp, ActivateApp, Power, PowerBroadcast, AutoPlay };
enum class Button { Left, Right, Middle };
struct InputEvent {
    InputKind kind = InputKind::MouseMove;
    UINT key = 0;        // KeyDown, KeyUp: virtual-key code
    bool alt = false;    // KeyDown, KeyUp: Alt held
    POINT point{};       // MouseMove: where the cursor goes
    Button button = Button::Left;
    WPARAM wParam = 0;   // ActivateApp: TRUE/FALSE; Power, PowerBroadcast: the event code
};
InputEvent KeyDown(UINT key, bool alt = false);
InputEvent KeyUp(UINT key, bool alt = false);
InputEvent MouseMove(int x, int y);
InputEvent ButtonDown(Button button = Button::Left);
InputEvent ButtonUp(Button button = Button::Left);
InputEvent ActivateApp(bool active);
InputEvent Power(WPARAM code);           // WM_POWER, e.g. PWR_CRITICALRESUME
InputEvent PowerBroadcast(WPARAM code);  // WM_POWERBROADCAST
InputEvent AutoPlayQuery();

// Delivers an event now.
void Inject(const InputEvent& event);
// Delivers an event when the clock has moved `delay` milliseconds on from
// now. Events due at the same time go in the order they were scheduled.
void Schedule(DWORD delay, const InputEvent& event);
// Scripted events not delivered yet.
size_t PendingInputCount();
// What the foreground window answered to the last AutoPlay query; nullopt
// when there was none or no foreground window to ask.
std::optional<LRESULT> LastAutoPlayAnswer();
// The window a mouse event at this screen point would go to (sends
// WM_NCHITTEST as routing does); null for none.
HWND WindowAt(int x, int y);

// ---------------------------------------------------------------------------
// Windows, foreground and queue inspection.

// Makes a window the foreground window as the user would (null: another
// program's window). No message is sent.
void SetForeground(HWND window);
// Every SetForegroundWindow call, in order.
const std::vector<HWND>& ForegroundRequests();
// Messages posted and not yet retrieved, oldest first (input included; the
// generated WM_PAINT, WM_TIMER and WM_QUIT are not in it).
std::vector<MSG> PostedMessages();
// A live timer.
struct TimerInfo {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
};
std::vector<TimerInfo> Timers();

// ---------------------------------------------------------------------------
// Cursor.

// The cursor position (what GetCursorPos reads). Starts at the screen centre.
POINT CursorPosition();
// Moves the cursor without any message (the mouse never moved; see
// MouseMove for a movement).
void PlaceCursor(int x, int y);
// The cursor that SetCursor set last (null: hidden or never set).
HCURSOR CurrentCursor();
// Every SetCursor argument, in order.
const std::vector<HCURSOR>& SetCursorCalls();
// ShowCursor's display counter: the cursor shows while it is 0 or more.
int CursorShowCount();
// A cursor's image: the hotspot, the size and the AND and XOR planes as
// CreateCursor received them (rows of ((width + 15) / 16) * 2 bytes).
struct CursorImage {
    int hotX = 0;
    int hotY = 0;
    int width = 0;
    int height = 0;
    std::vector<BYTE> andPlane;
    std::vector<BYTE> xorPlane;
};
// False for a handle that is not a live cursor.
bool ReadCursor(HCURSOR cursor, CursorImage* image);

// ---------------------------------------------------------------------------
// Process and system.

// What GetCommandLineA returns. Reset: "ostrel.scr".
void SetCommandLine(const char* commandLine);

// What GetVersionExA reports. Reset: the NT family (5.1, build 2600).
enum class WindowsFamily { NT, Win9x };  // Win9x: VER_PLATFORM_WIN32_WINDOWS, 4.10
void SetWindowsFamily(WindowsFamily family);
// Makes GetVersionExA fail (return FALSE) until set back.
void SetVersionCallFails(bool fails);

// The system commands that reached DefWindowProcA, masked to the command
// (wParam & 0xFFF0) as Windows reads them, in order.
const std::vector<WPARAM>& DefaultSystemCommands();
// Every Sleep argument, in order. Sleep does not move the clock.
const std::vector<DWORD>& SleepCalls();

// ExitProcess flushes stdio and ends the process. With this set, it throws
// ProcessExit instead, so a test can run code that ends the process.
struct ProcessExit {
    UINT code = 0;
};
void SetExitProcessThrows(bool throws);

// Calls the host can make fail once: the next call of that kind returns its
// failure value (HeapAlloc null, SetTimer 0, RegisterClassA 0,
// CreateWindowExA null, LoadLibraryA null).
enum class FailingCall { HeapAlloc, SetTimer, RegisterClass, CreateWindow, LoadLibrary };
void FailNext(FailingCall call);
inline void FailNextHeapAlloc() {
    FailNext(FailingCall::HeapAlloc);
}
// Blocks taken with HeapAlloc and not freed.
size_t LiveHeapBlocks();

// Modules. A module placed here is found by LoadLibraryA (names compare
// without regard to case, ".DLL" is implied when the name has no extension),
// and, while loaded, by GetModuleHandleA; GetProcAddress finds its exports.
// A module placed `loaded` starts with a reference count of 1 (the process
// already has it); otherwise LoadLibraryA loads it. FreeLibrary unloads it
// when the count reaches 0. Returns the module's handle (the same whenever
// it is loaded).
struct ModuleExport {
    const char* name;
    FARPROC proc;
};
template <class F>
FARPROC ExportOf(F* function) {
    // Through void (*)(), the type any function pointer converts to without a warning.
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}
HMODULE AddModule(const char* name, bool loaded, std::initializer_list<ModuleExport> exports);
// The reference count: 0 when not loaded, -1 for a module never placed.
int ModuleRefCount(const char* name);
// LoadLibraryA and FreeLibrary calls, in order: `load` (false for
// FreeLibrary), `name` (LoadLibraryA's argument; for FreeLibrary the
// module's name), `module` (LoadLibraryA's result; FreeLibrary's argument)
// and `ok`.
using LibraryCall = layer::LibraryCallRecord;
const std::vector<LibraryCall>& LibraryCalls();

// The registry. Keys are paths below a root (HKEY_CURRENT_USER, ...), with
// "\\" between names, compared without regard to case; setting a value makes
// its key and all keys above it exist.
void SetRegistryValue(HKEY root, const char* subKey, const char* valueName, DWORD type, const void* data, DWORD size);
void SetRegistryDword(HKEY root, const char* subKey, const char* valueName, DWORD value);
void AddRegistryKey(HKEY root, const char* subKey);
// Keys opened with RegOpenKeyA and not closed.
int OpenRegistryKeys();

// SystemParametersInfoA calls, in order. SPI_SETSCREENSAVERRUNNING keeps a
// flag (ScreenSaverRunning) and hands its previous value back through pvParam.
// Each call's action, uiParam, pvParam and winIni.
using SystemParametersCall = layer::SystemParametersRecord;
const std::vector<SystemParametersCall>& SystemParametersCalls();
bool ScreenSaverRunning();

// ShellExecuteA calls, in order. The headless host starts nothing; it answers
// 42 (success) for the verb "open" (or none) and a non-empty file, else the
// error ShellExecuteA would give.
struct ShellExecuteCall {
    HWND owner = nullptr;
    std::optional<std::string> verb;
    std::optional<std::string> file;
    std::optional<std::string> parameters;
    std::optional<std::string> directory;
    INT show = 0;
};
const std::vector<ShellExecuteCall>& ShellExecuteCalls();

// ---------------------------------------------------------------------------
// GL output.

// A frame that a window presented with SwapBuffers: top row first, three
// bytes (red, green, blue) per pixel, no row padding.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    uint8_t* Pixel(int x, int y) { return rgb.data() + (static_cast<size_t>(y) * width + x) * 3; }
    const uint8_t* Pixel(int x, int y) const { return rgb.data() + (static_cast<size_t>(y) * width + x) * 3; }
};

// The last frame the window presented; false when it has presented none.
bool ReadPresentedFrame(HWND window, Frame* frame);
// How many times the window has presented (successful SwapBuffers calls).
uint64_t PresentCount(HWND window);
// Makes ChoosePixelFormat find nothing (as on a machine without OpenGL).
void SetPixelFormatsAvailable(bool available);

}  // namespace headless
