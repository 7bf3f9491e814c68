// headless::Reset: every test can start from a fresh process.
#include "platform/core/window.h"
#include "tests/platform/recording_window.h"

namespace platform_test {
namespace {

using ResetTest = LayerTest;

LRESULT CALLBACK BuiltInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(ResetTest, ForgetsWindowsWithoutCallingTheirProceduresAndEverythingElse) {
    HWND window = TopLevel(0, 0, 100, 100);
    HWND child = Child(window, 1, 0, 0, 10, 10);
    SetTimer(window, 1, 10, nullptr);
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(3);
    headless::Schedule(10, headless::KeyDown('A'));
    headless::AddModule("MPR.DLL", true, {});
    headless::SetRegistryDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", 1);
    HKEY key;
    RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key);
    HeapAlloc(GetProcessHeap(), 0, 10);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    ShowCursor(FALSE);
    headless::SetWindowsFamily(headless::WindowsFamily::Win9x);
    headless::SetCommandLine("x /s");
    headless::SetRunLimit(5);
    RegisterWindowMessageA("First");
    UINT registered = RegisterWindowMessageA("Second");
    headless::AdvanceTicks(1234);
    record.log.clear();

    headless::Reset(500);

    EXPECT_TRUE(record.log.empty());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(FindWindowA(kRecordingClass, nullptr), nullptr);
    WNDCLASSA info;
    EXPECT_FALSE(GetClassInfoA(nullptr, kRecordingClass, &info));  // registered again by the next test
    EXPECT_TRUE(headless::Timers().empty());
    EXPECT_TRUE(headless::PostedMessages().empty());
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // the quit went too
    EXPECT_EQ(headless::PendingInputCount(), 0u);
    EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr);
    EXPECT_EQ(headless::OpenRegistryKeys(), 0);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(headless::LiveHeapBlocks(), 0u);
    EXPECT_EQ(headless::CurrentCursor(), nullptr);
    EXPECT_TRUE(headless::SetCursorCalls().empty());
    EXPECT_EQ(headless::CursorShowCount(), 0);
    EXPECT_EQ(headless::CursorPosition().x, 512);
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    EXPECT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_STREQ(GetCommandLineA(), "ostrel.scr");
    EXPECT_EQ(GetTickCount(), 500u);
    EXPECT_EQ(RegisterWindowMessageA("Second"), registered - 1);  // numbering starts again
    EXPECT_EQ(headless::LastRunEnd(), headless::RunEnd::None);
}

TEST_F(ResetTest, BuiltInClassesSurvive) {
    WNDCLASSA builtIn{};
    builtIn.lpfnWndProc = BuiltInProc;
    builtIn.lpszClassName = "LayerOwnControl";
    ASSERT_NE(layer::RegisterBuiltInClass(builtIn), 0);
    EXPECT_EQ(layer::RegisterBuiltInClass(builtIn), 0);  // once only
    headless::Reset();
    WNDCLASSA info;
    EXPECT_TRUE(GetClassInfoA(nullptr, "LayerOwnControl", &info));
    EXPECT_EQ(RegisterClassA(&builtIn), 0);  // the name stays taken
}

TEST_F(ResetTest, TheRunLimitCountsFromTheReset) {
    headless::Reset(0);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.lpszClassName = kRecordingClass;
    RegisterClassA(&windowClass);
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    SetTimer(window, 1, 1000, nullptr);
    MSG msg;
    int timers = 0;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && timers < 100) {
        timers += msg.message == WM_TIMER;
    }
    EXPECT_EQ(timers, 60);
    EXPECT_EQ(headless::LastRunEnd(), headless::RunEnd::TimeLimit);
    EXPECT_EQ(GetTickCount(), 60000u);
}

}  // namespace
}  // namespace platform_test
