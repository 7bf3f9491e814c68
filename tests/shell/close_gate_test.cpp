// The close gate of the 95/98/Me family with a password set: every close
// goes through the system's verifier, prompts are paced 200 ms apart, and a
// refused close leaves the saver running with the cursor hidden.
#include "tests/shell/shell_test_support.h"

#include <gtest/gtest.h>

using namespace shell_test;

namespace {

class CloseGateTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProcess(kStart);
        headless::SetWindowsFamily(headless::WindowsFamily::Win9x);
        shellState.isWin9x = 1;
        InstallVerifier();
        RequirePassword(1);
    }

    static constexpr DWORD kStart = 100;  // close to the sentinel 0xFFFFFFFF: 101 ms after it
};

// The whole road through the loop: a key, the posted close, the prompt, an
// accepted password, the window gone, the system told before and after.
TEST_F(CloseGateTest, AcceptedPasswordEndsTheRun) {
    Verifier().answers = {TRUE};
    bool runningDuringPrompt = false;
    Verifier().duringPrompt = [&](HWND) { runningDuringPrompt = headless::ScreenSaverRunning(); };
    headless::Schedule(50, headless::KeyDown('A'));

    EXPECT_EQ(Dispatch("/s"), 0);

    ASSERT_EQ(Verifier().prompts.size(), 1u);
    EXPECT_EQ(Verifier().prompts[0].window, shellState.saverWindow);
    EXPECT_EQ(Verifier().prompts[0].startTick, kStart + 50);
    EXPECT_EQ(Verifier().prompts[0].verifying, 1);
    EXPECT_TRUE(runningDuringPrompt);
    EXPECT_FALSE(IsWindow(shellState.saverWindow));
    EXPECT_NE(shellState.closing, 0u);
    EXPECT_EQ(shellState.verifying, 0);

    // Told exactly twice: on before the window, off after the loop.
    const auto& calls = headless::SystemParametersCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].action, static_cast<UINT>(SPI_SETSCREENSAVERRUNNING));
    EXPECT_EQ(calls[0].uiParam, 1u);
    EXPECT_NE(calls[0].pvParam, nullptr);
    EXPECT_EQ(calls[0].winIni, 0u);
    EXPECT_EQ(calls[1].action, static_cast<UINT>(SPI_SETSCREENSAVERRUNNING));
    EXPECT_EQ(calls[1].uiParam, 0u);
    EXPECT_EQ(calls[1].winIni, 0u);
    EXPECT_FALSE(headless::ScreenSaverRunning());
    EXPECT_EQ(headless::ModuleRefCount("PASSWORD.CPL"), 0);
    EXPECT_EQ(shellState.verifyPassword, nullptr);
}

// Refused prompts: the window stays, WM_CLOSE returns 0, the cursor is hidden
// again and the anchor sits where the cursor was left.
TEST_F(CloseGateTest, RefusedPasswordKeepsTheSaverRunning) {
    Verifier().answers = {FALSE};
    Verifier().promptLength = 30;
    POINT movedTo{};
    Verifier().duringPrompt = [&](HWND) {
        movedTo = POINT{shellState.cursorAnchor.x + 40, shellState.cursorAnchor.y + 20};
        headless::PlaceCursor(movedTo.x, movedTo.y);
    };
    RunAndCall([&](HWND saver) {
        EXPECT_EQ(SendMessageA(saver, WM_CLOSE, 0, 0), 0);
        EXPECT_TRUE(IsWindow(saver));
        EXPECT_EQ(shellState.closing, 0u);
        EXPECT_EQ(shellState.verifying, 0);
        EXPECT_TRUE(CursorHidden());
        EXPECT_EQ(shellState.lastVerifyTick, headless::Ticks());
        EXPECT_EQ(shellState.cursorAnchor.x, movedTo.x);
        EXPECT_EQ(shellState.cursorAnchor.y, movedTo.y);
        // The movement that led to the prompt does not close again at once.
        headless::PlaceCursor(movedTo.x + 2, movedTo.y + 2);
        SendMessageA(saver, WM_MOUSEMOVE, 0, 0);
        EXPECT_EQ(PostedCloses(saver), 0);
    });
    EXPECT_EQ(Verifier().prompts.size(), 1u);
}

// Requests less than 200 ms after the end of the last prompt are refused
// without one; the first at 200 ms prompts again.
TEST_F(CloseGateTest, PromptsArePacedFromTheEndOfTheLast) {
    Verifier().answers = {FALSE, FALSE, TRUE};
    Verifier().promptLength = 30;
    RunAndCall([&](HWND saver) {
        EXPECT_EQ(SendMessageA(saver, WM_CLOSE, 0, 0), 0);
        ASSERT_EQ(Verifier().prompts.size(), 1u);
        const DWORD promptEnd = headless::Ticks();

        headless::AdvanceTicks(199);
        ShowArrowCursor();
        EXPECT_EQ(SendMessageA(saver, WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(Verifier().prompts.size(), 1u);
        EXPECT_EQ(shellState.lastVerifyTick, promptEnd) << "a refusal without prompt moves nothing";

        headless::AdvanceTicks(1);
        EXPECT_EQ(SendMessageA(saver, WM_CLOSE, 0, 0), 0);
        ASSERT_EQ(Verifier().prompts.size(), 2u);
        EXPECT_EQ(Verifier().prompts[1].startTick, promptEnd + 200);

        headless::AdvanceTicks(250);
        SendMessageA(saver, WM_CLOSE, 0, 0);  // accepted: the default destroys the window
        EXPECT_EQ(Verifier().prompts.size(), 3u);
        EXPECT_FALSE(IsWindow(saver));
    });
}

// The tick count wraps past zero between two requests: the elapsed time is
// still right.
TEST_F(CloseGateTest, PacingSurvivesTickWrapAround) {
    Verifier().answers = {FALSE, FALSE};
    Verifier().promptLength = 10;
    RunAndCall([&](HWND saver) {
        headless::SetTicks(0xFFFFFFA0);
        EXPECT_EQ(SendMessageA(saver, WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(shellState.lastVerifyTick, 0xFFFFFFAAu);

        headless::AdvanceTicks(150);  // the clock now reads 0x40
        EXPECT_EQ(SendMessageA(saver, WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(Verifier().prompts.size(), 1u);

        headless::AdvanceTicks(50);
        EXPECT_EQ(SendMessageA(saver, WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(Verifier().prompts.size(), 2u);
    });
}

// While the prompt is open: a nested close is refused without a second
// prompt, and input reaching the saver window asks for nothing.
TEST_F(CloseGateTest, NothingClosesWhileThePromptIsOpen) {
    Verifier().answers = {FALSE};
    LRESULT nestedClose = -1;
    int closesDuringPrompt = -1;
    Verifier().duringPrompt = [&](HWND window) {
        nestedClose = SendMessageA(window, WM_CLOSE, 0, 0);
        SendMessageA(window, WM_KEYDOWN, 'A', 1);
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
        headless::PlaceCursor(shellState.cursorAnchor.x + 50, shellState.cursorAnchor.y);
        SendMessageA(window, WM_MOUSEMOVE, 0, 0);
        closesDuringPrompt = PostedCloses(window);
    };
    RunAndCall([&](HWND saver) {
        EXPECT_EQ(SendMessageA(saver, WM_CLOSE, 0, 0), 0);
        EXPECT_TRUE(IsWindow(saver));
    });
    EXPECT_EQ(nestedClose, 0);
    EXPECT_EQ(closesDuringPrompt, 0);
    EXPECT_EQ(Verifier().prompts.size(), 1u);
}

// Frames waiting in the queue are taken away before the prompt: up to two
// timer messages of the saver window.
TEST_F(CloseGateTest, PendingFramesAreDroppedBeforeThePrompt) {
    Verifier().answers = {FALSE};
    bool pendingBefore = false;
    Probe probe(10, [&](int step) {
        HWND saver = shellState.saverWindow;
        if (step == 0) {
            SetTimer(saver, 7, 10, nullptr);  // a second timer, due with the frame timer
        } else if (step == 1) {
            MSG message;
            pendingBefore = PeekMessageA(&message, saver, WM_TIMER, WM_TIMER, PM_NOREMOVE) != 0;
            SendMessageA(saver, WM_CLOSE, 0, 0);
            DestroyWindow(saver);
        }
    });
    RunSaverWindow(nullptr);
    EXPECT_TRUE(pendingBefore);
    ASSERT_EQ(Verifier().prompts.size(), 1u);
    EXPECT_FALSE(Verifier().prompts[0].timerPending);
}

// The AutoPlay query with a password required: cancel AutoPlay (1) and ask
// for a close, which prompts.
TEST_F(CloseGateTest, AutoPlayQueryIsCancelled) {
    Verifier().answers = {TRUE};
    headless::Schedule(30, headless::AutoPlayQuery());
    EXPECT_EQ(Dispatch("/s"), 0);
    ASSERT_TRUE(headless::LastAutoPlayAnswer().has_value());
    EXPECT_EQ(*headless::LastAutoPlayAnswer(), 1);
    EXPECT_EQ(Verifier().prompts.size(), 1u);
}

// Without a password the first close goes through and nothing is asked.
TEST_F(CloseGateTest, NoPasswordClosesAtOnce) {
    RequirePassword(0);
    headless::Schedule(30, headless::KeyDown('A'));
    headless::Schedule(40, headless::AutoPlayQuery());
    EXPECT_EQ(Dispatch("/s"), 0);
    EXPECT_EQ(headless::Ticks(), kStart + 30);
    EXPECT_TRUE(Verifier().prompts.empty());
    EXPECT_EQ(shellState.closing, 1u);
    EXPECT_TRUE(headless::SystemParametersCalls().empty());
}

TEST_F(CloseGateTest, NoPasswordAutoPlayAnswersZero) {
    RequirePassword(0);
    headless::Schedule(30, headless::AutoPlayQuery());
    EXPECT_EQ(Dispatch("/s"), 0);
    ASSERT_TRUE(headless::LastAutoPlayAnswer().has_value());
    EXPECT_EQ(*headless::LastAutoPlayAnswer(), 0);
    EXPECT_EQ(headless::Ticks(), kStart + 30);
}

// The NT family leaves passwords to the system: the first close request
// closes, and neither the registry, the verifier nor the system parameters
// are touched.
TEST_F(CloseGateTest, NTFamilyNeverAsks) {
    headless::SetWindowsFamily(headless::WindowsFamily::NT);
    headless::Schedule(30, headless::KeyDown('A'));
    EXPECT_EQ(Dispatch("/s"), 0);
    EXPECT_EQ(headless::Ticks(), kStart + 30);
    EXPECT_TRUE(Verifier().prompts.empty());
    EXPECT_TRUE(headless::LibraryCalls().empty());
    EXPECT_TRUE(headless::SystemParametersCalls().empty());
    EXPECT_EQ(shellState.closing, 0u);
    EXPECT_EQ(shellState.autoPlayMessage, 0u);
}

// ---------------------------------------------------------------------------

struct ElapsedCase {
    DWORD earlier;
    DWORD later;
    DWORD elapsed;
};

class ElapsedTicksTest : public ::testing::TestWithParam<ElapsedCase> {};

TEST_P(ElapsedTicksTest, IsModulo2To32) {
    EXPECT_EQ(ElapsedTicks(GetParam().earlier, GetParam().later), GetParam().elapsed);
}

INSTANTIATE_TEST_SUITE_P(Ticks, ElapsedTicksTest,
                         ::testing::Values(ElapsedCase{100, 300, 200}, ElapsedCase{5, 5, 0},
                                           ElapsedCase{0xFFFFFFF0, 0x10, 0x20},
                                           ElapsedCase{0xFFFFFFFF, 0, 1}, ElapsedCase{0, 0xFFFFFFFF, 0xFFFFFFFF},
                                           ElapsedCase{300, 100, 0xFFFFFF38}));

}  // namespace
