// The saver window: its class, the full-screen and preview windows, the one
// full-screen saver at a time, the input-method context and failures to
// register or create.
#include "tests/shell/shell_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace shell_test;

namespace {

class SaverWindowTest : public ::testing::Test {
protected:
    void SetUp() override { FreshProcess(); }

    static bool ForegroundRequested(HWND window) {
        const auto& requests = headless::ForegroundRequests();
        return std::find(requests.begin(), requests.end(), window) != requests.end();
    }

    // A window of the saver's class made by "another saver process".
    static HWND MakeSaverClassWindow(const char* title, HWND parent) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = Instance();
        windowClass.lpszClassName = kSaverClass;
        RegisterClassA(&windowClass);
        DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
        return CreateWindowExA(0, kSaverClass, title, style, 0, 0, 20, 20, parent, nullptr, Instance(), nullptr);
    }
};

TEST_F(SaverWindowTest, ClassIsTheScreenSaverClass) {
    RunAndCall([&](HWND) {
        WNDCLASSA registered;
        ASSERT_TRUE(GetClassInfoA(Instance(), kSaverClass, &registered));
        EXPECT_EQ(registered.style, 0x2Bu);
        EXPECT_EQ(registered.lpfnWndProc, ShellWindowProc);
        EXPECT_EQ(registered.cbClsExtra, 0);
        EXPECT_EQ(registered.cbWndExtra, 0);
        EXPECT_EQ(registered.hInstance, Instance());
        EXPECT_EQ(registered.hIcon, nullptr) << "the resources have no icon 100";
        EXPECT_EQ(registered.hCursor, nullptr);
        EXPECT_EQ(registered.hbrBackground, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    });
}

TEST_F(SaverWindowTest, FullScreenCoversTheScreenOnTop) {
    headless::SetScreenSize(200, 100);
    RunAndCall([&](HWND saver) {
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(saver, GWL_STYLE)), 0x96000000u);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(saver, GWL_EXSTYLE)) & WS_EX_TOPMOST,
                  static_cast<DWORD>(WS_EX_TOPMOST));
        RECT area;
        GetWindowRect(saver, &area);
        EXPECT_EQ(area.left, 0);
        EXPECT_EQ(area.top, 0);
        EXPECT_EQ(area.right, 200);
        EXPECT_EQ(area.bottom, 100);
        char title[32] = "";
        GetWindowTextA(saver, title, sizeof title);
        EXPECT_STREQ(title, "Screen Saver");
        EXPECT_EQ(GetParent(saver), nullptr);
        EXPECT_TRUE(ForegroundRequested(saver));
        EXPECT_EQ(GetForegroundWindow(), saver);
        EXPECT_EQ(shellState.previewMode, 0);
        EXPECT_TRUE(CursorHidden()) << "hidden from creation on";
    });
}

TEST_F(SaverWindowTest, PreviewFillsItsParent) {
    HWND parent = MakeWindow(152, 112);
    RECT parentClient;
    GetClientRect(parent, &parentClient);
    RunAndCall(
        [&](HWND saver) {
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(saver, GWL_STYLE)), 0x52000000u);
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(saver, GWL_EXSTYLE)), 0u);
            EXPECT_EQ(GetParent(saver), parent);
            RECT client;
            GetClientRect(saver, &client);
            EXPECT_EQ(client.right, parentClient.right);
            EXPECT_EQ(client.bottom, parentClient.bottom);
            POINT origin{0, 0};
            ClientToScreen(saver, &origin);
            POINT parentOrigin{0, 0};
            ClientToScreen(parent, &parentOrigin);
            EXPECT_EQ(origin.x, parentOrigin.x);
            EXPECT_EQ(origin.y, parentOrigin.y);
            char title[32] = "";
            GetWindowTextA(saver, title, sizeof title);
            EXPECT_STREQ(title, "Preview");
            EXPECT_EQ(shellState.previewMode, 1);
            EXPECT_FALSE(ForegroundRequested(saver));
        },
        parent);
    for (HCURSOR cursor : headless::SetCursorCalls()) {
        EXPECT_NE(cursor, nullptr) << "the preview never hides the cursor";
    }
}

// The preview ends when the display settings close the window it lives in.
TEST_F(SaverWindowTest, PreviewEndsWithItsParent) {
    HWND parent = MakeWindow();
    Probe probe(50, [&](int step) {
        if (step == 2) {
            DestroyWindow(parent);
        }
    });
    EXPECT_EQ(RunSaverWindow(parent), 0);
    EXPECT_EQ(headless::Ticks(), 1000u + 150u);
    EXPECT_FALSE(IsWindow(shellState.saverWindow));
}

TEST_F(SaverWindowTest, SecondFullScreenSaverBringsTheFirstForward) {
    headless::SetWindowsFamily(headless::WindowsFamily::Win9x);
    shellState.isWin9x = 1;
    InstallVerifier();
    RequirePassword(1);
    HWND first = MakeSaverClassWindow("Screen Saver", nullptr);
    headless::SetForeground(nullptr);

    EXPECT_EQ(RunSaverWindow(nullptr), 0);

    EXPECT_EQ(headless::ForegroundRequests(), std::vector<HWND>{first});
    EXPECT_EQ(shellState.saverWindow, nullptr);
    EXPECT_TRUE(headless::LibraryCalls().empty()) << "no verifier for a saver that does not run";
    EXPECT_TRUE(headless::SystemParametersCalls().empty());
    WNDCLASSA registered;
    ASSERT_TRUE(GetClassInfoA(Instance(), kSaverClass, &registered));
    EXPECT_NE(registered.lpfnWndProc, ShellWindowProc) << "nothing registered";
}

// Only a full-screen saver counts: a running preview never stops one. (One
// process stands in for two here, so the second registration of the class
// fails; what matters is that the single-instance test let it through.)
TEST_F(SaverWindowTest, PreviewDoesNotCountAsASaver) {
    headless::SetWindowsFamily(headless::WindowsFamily::Win9x);
    shellState.isWin9x = 1;
    InstallVerifier();
    RequirePassword(1);
    HWND settings = MakeWindow();
    int fullScreen = 1234;
    RunAndCall(
        [&](HWND preview) {
            shellState.previewMode = 0;
            fullScreen = RunSaverWindow(nullptr);
            shellState.previewMode = 1;
            EXPECT_FALSE(ForegroundRequested(preview));
        },
        settings);
    EXPECT_EQ(fullScreen, -1);
    EXPECT_EQ(headless::SystemParametersCalls().size(), 2u) << "the verifier was loaded for it";
}

// The preview makes no single-instance test: a full-screen saver running
// does not keep it from starting (nor is that one brought forward).
TEST_F(SaverWindowTest, PreviewMakesNoSingleInstanceTest) {
    HWND settings = MakeWindow();
    int preview = 1234;
    RunAndCall([&](HWND saver) {
        size_t requests = headless::ForegroundRequests().size();
        preview = RunSaverWindow(settings);
        shellState.previewMode = 0;
        EXPECT_EQ(headless::ForegroundRequests().size(), requests);
        EXPECT_TRUE(IsWindow(saver));
    });
    EXPECT_EQ(preview, -1);
}

// Failures to register the class or create the window: no loop, -1, and the
// verifier loaded for the run is released all the same.
class SaverWindowFailureTest : public SaverWindowTest, public ::testing::WithParamInterface<headless::FailingCall> {};

TEST_P(SaverWindowFailureTest, EndsWithMinusOne) {
    headless::SetWindowsFamily(headless::WindowsFamily::Win9x);
    shellState.isWin9x = 1;
    InstallVerifier();
    RequirePassword(1);
    headless::FailNext(GetParam());
    EXPECT_EQ(Dispatch("/s"), -1);
    EXPECT_EQ(shellState.saverWindow, nullptr);
    EXPECT_EQ(headless::ModuleRefCount("PASSWORD.CPL"), 0);
    ASSERT_EQ(headless::SystemParametersCalls().size(), 2u);
    EXPECT_FALSE(headless::ScreenSaverRunning());
}

INSTANTIATE_TEST_SUITE_P(Calls, SaverWindowFailureTest,
                         ::testing::Values(headless::FailingCall::RegisterClass,
                                           headless::FailingCall::CreateWindow));

TEST_F(SaverWindowTest, PreviewFailureEndsWithMinusOne) {
    HWND parent = MakeWindow();
    headless::FailNext(headless::FailingCall::CreateWindow);
    EXPECT_EQ(RunSaverWindow(parent), -1);
    EXPECT_TRUE(IsWindow(parent));
}

// ---------------------------------------------------------------------------
// The input-method context: detached for the window's life when the manager
// is loaded already, never loaded by the saver.

TEST_F(SaverWindowTest, InputContextIsDetachedAndGivenBack) {
    InstallInputMethod(true);
    RunAndCall([&](HWND saver) {
        EXPECT_EQ(ImeContextOf(saver), nullptr);
        ASSERT_EQ(AssociateCalls().size(), 1u);
        EXPECT_EQ(AssociateCalls()[0].window, saver);
        EXPECT_EQ(AssociateCalls()[0].context, nullptr);
        // Detached before the scene made its context and started its clock.
        EXPECT_EQ(AssociateCalls()[0].glContext, nullptr);
        EXPECT_FALSE(AssociateCalls()[0].frameTimerLive);
    });
    ASSERT_EQ(AssociateCalls().size(), 2u);
    EXPECT_EQ(AssociateCalls()[1].context, kDefaultImeContext);
    EXPECT_EQ(ImeContextOf(AssociateCalls()[1].window), kDefaultImeContext);
    // Given back before the scene tears down.
    EXPECT_NE(AssociateCalls()[1].glContext, nullptr);
    EXPECT_TRUE(AssociateCalls()[1].frameTimerLive);
    EXPECT_EQ(headless::ModuleRefCount("IMM32.DLL"), 1);
}

TEST_F(SaverWindowTest, InputMethodNotLoadedIsLeftAlone) {
    InstallInputMethod(false);
    RunAndCall([&](HWND) {});
    EXPECT_TRUE(AssociateCalls().empty());
    EXPECT_TRUE(headless::LibraryCalls().empty());
    EXPECT_EQ(headless::ModuleRefCount("IMM32.DLL"), 0);
}

}  // namespace
