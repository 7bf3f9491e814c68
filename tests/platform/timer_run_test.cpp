// Timers on the virtual clock, and message loops that end by themselves:
// the run limit, nothing left to wait for, a loop that spins.
#include "tests/platform/recording_window.h"

namespace platform_test {
namespace {

using TimerTest = LayerTest;

// Retrieves WM_TIMER messages for the window as far as the queue has them.
int TakeTimers(HWND window) {
    int count = 0;
    MSG msg;
    while (count < 1000 && PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        ++count;
    }
    return count;
}

TEST_F(TimerTest, ElapsedPeriodsCoalesceIntoOnePendingMessage) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    SetTimer(window, 1, 10, nullptr);
    headless::AdvanceTicks(9);
    EXPECT_EQ(TakeTimers(window), 0);
    headless::AdvanceTicks(200);
    EXPECT_EQ(TakeTimers(window), 1);
    // The next period starts when the message was taken.
    headless::AdvanceTicks(9);
    EXPECT_EQ(TakeTimers(window), 0);
    headless::AdvanceTicks(1);
    EXPECT_EQ(TakeTimers(window), 1);
}

TEST_F(TimerTest, SettingAnExistingTimerAgainStartsItsPeriodAfresh) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    EXPECT_EQ(SetTimer(window, 4, 50, nullptr), 4u);
    headless::AdvanceTicks(40);
    EXPECT_EQ(SetTimer(window, 4, 50, nullptr), 4u);
    headless::AdvanceTicks(20);
    EXPECT_EQ(TakeTimers(window), 0);  // 60 ms after the first setting
    headless::AdvanceTicks(30);
    EXPECT_EQ(TakeTimers(window), 1);  // 50 ms after the second
    ASSERT_EQ(headless::Timers().size(), 1u);
}

TEST_F(TimerTest, ElapseIsKeptBetweenTheSystemsMinimumAndMaximum) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    struct Case {
        UINT asked;
        UINT kept;
    };
    const Case cases[] = {{0, 10}, {1, 10}, {9, 10}, {10, 10}, {11, 11}, {0xFFFFFFFFu, 0x7FFFFFFFu}};
    for (const Case& c : cases) {
        SetTimer(window, 1, c.asked, nullptr);
        ASSERT_EQ(headless::Timers().size(), 1u);
        EXPECT_EQ(headless::Timers()[0].elapse, c.kept) << c.asked;
    }
    SetTimer(window, 1, 1, nullptr);
    headless::AdvanceTicks(9);
    EXPECT_EQ(TakeTimers(window), 0);
    headless::AdvanceTicks(1);
    EXPECT_EQ(TakeTimers(window), 1);
}

TEST_F(TimerTest, KillTimerStopsOnlyThatTimer) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    SetTimer(window, 1, 10, nullptr);
    SetTimer(window, 2, 10, nullptr);
    EXPECT_TRUE(KillTimer(window, 1));
    EXPECT_FALSE(KillTimer(window, 1));
    EXPECT_FALSE(KillTimer(window, 99));
    headless::AdvanceTicks(10);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
}

TEST_F(TimerTest, TimersOfTheEarliestDeadlineComeFirst) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    SetTimer(window, 1, 30, nullptr);
    SetTimer(window, 2, 20, nullptr);
    SetTimer(window, 3, 20, nullptr);
    headless::AdvanceTicks(40);
    std::vector<WPARAM> order;
    MSG msg;
    while (order.size() < 5 && PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        order.push_back(msg.wParam);
    }
    EXPECT_EQ(order, (std::vector<WPARAM>{2, 3, 1}));
}

TEST_F(TimerTest, TwoRemovingPeeksTakeTwoDueTimersAndLeaveNonePending) {
    // The close gate's way of dropping the frames that wait behind a prompt.
    HWND other = TopLevel(0, 0, 10, 10, WS_POPUP);
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    SetTimer(other, 1, 10, nullptr);
    SetTimer(window, 1, 10, nullptr);
    headless::AdvanceTicks(10);
    SetTimer(window, 7, 10, nullptr);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, other);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);
    headless::AdvanceTicks(10);
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD));
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD));
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageA(&msg, other, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

TEST_F(TimerTest, ThreadTimersGetIdsOfTheirOwn) {
    UINT_PTR first = SetTimer(nullptr, 0, 10, nullptr);
    UINT_PTR second = SetTimer(nullptr, 0, 10, nullptr);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(SetTimer(nullptr, first, 20, nullptr), first);  // an existing one is reset
    EXPECT_EQ(headless::Timers().size(), 2u);
    headless::AdvanceTicks(10);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(static_cast<intptr_t>(-1)), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, second);
    EXPECT_TRUE(KillTimer(nullptr, first));
}

TEST_F(TimerTest, DestroyingTheWindowDropsItsTimers) {
    HWND doomed = TopLevel(0, 0, 10, 10, WS_POPUP);
    HWND kept = TopLevel(0, 0, 10, 10, WS_POPUP);
    SetTimer(doomed, 1, 10, nullptr);
    SetTimer(kept, 1, 10, nullptr);
    DestroyWindow(doomed);
    std::vector<headless::TimerInfo> timers = headless::Timers();
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].window, kept);
}

TEST_F(TimerTest, AFailingSetTimerReturnsZeroAndLeavesNoTimer) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    headless::FailNext(headless::FailingCall::SetTimer);
    EXPECT_EQ(SetTimer(window, 1, 10, nullptr), 0u);
    EXPECT_TRUE(headless::Timers().empty());
    EXPECT_EQ(SetTimer(window, 1, 10, nullptr), 1u);  // only the next call fails
}

// A message loop like the saver's, counting what it dispatched.
struct LoopResult {
    int timers = 0;
    int others = 0;
    MSG last{};
    BOOL lastResult = TRUE;
};

LoopResult RunLoop(int maxMessages = 100000) {
    LoopResult result;
    MSG msg;
    for (int i = 0; i < maxMessages; ++i) {
        result.lastResult = GetMessageA(&msg, nullptr, 0, 0);
        result.last = msg;
        if (result.lastResult <= 0) {
            break;
        }
        (msg.message == WM_TIMER ? result.timers : result.others)++;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return result;
}

using RunTest = LayerTest;

TEST_F(RunTest, WaitingMovesTheClockFromDeadlineToDeadlineUntilTheRunLimit) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    headless::SetTicks(5000);
    headless::SetRunLimit(100);
    SetTimer(window, 1, 10, nullptr);
    LoopResult run = RunLoop();
    EXPECT_EQ(run.lastResult, FALSE);
    EXPECT_EQ(run.last.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(run.last.wParam, headless::kRunEndedQuitCode);
    EXPECT_EQ(headless::LastRunEnd(), headless::RunEnd::TimeLimit);
    EXPECT_EQ(run.timers, 10);
    EXPECT_EQ(headless::Ticks(), 5100u);
    // Every further call ends at once, so nested loops unwind.
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, headless::kRunEndedQuitCode);
}

TEST_F(RunTest, ALoopWithNothingToWaitForEndsAtOnceWithoutMovingTheClock) {
    TopLevel(0, 0, 10, 10, WS_POPUP);
    headless::SetTicks(77);
    LoopResult run = RunLoop();
    EXPECT_EQ(run.lastResult, FALSE);
    EXPECT_EQ(run.last.wParam, headless::kRunEndedQuitCode);
    EXPECT_EQ(headless::LastRunEnd(), headless::RunEnd::NothingToWaitFor);
    EXPECT_EQ(headless::Ticks(), 77u);
}

TEST_F(RunTest, ScriptedInputArrivesAtItsTimeAndTheLoopEndsAfterTheLast) {
    HWND window = TopLevel(0, 0, 100, 100);
    std::vector<DWORD> arrivals;  // when each key arrived, as GetTickCount saw it
    record.reactions[WM_KEYDOWN] = [&](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
        arrivals.push_back(GetTickCount());
        return 0;
    };
    headless::Schedule(250, headless::KeyDown('B'));
    headless::Schedule(100, headless::KeyDown('A'));
    RunLoop();
    EXPECT_EQ(record.Count(window, WM_CHAR), 2u);  // translated on the way
    EXPECT_EQ(arrivals, (std::vector<DWORD>{100, 250}));
    EXPECT_EQ(headless::LastRunEnd(), headless::RunEnd::NothingToWaitFor);
    EXPECT_EQ(headless::PendingInputCount(), 0u);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(RunTest, APostedQuitEndsTheLoopWithItsOwnCode) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    SetTimer(window, 1, 10, nullptr);
    record.reactions[WM_TIMER] = [](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (GetTickCount() >= 30) {
            PostQuitMessage(0);
        }
        return 0;
    };
    LoopResult run = RunLoop();
    EXPECT_EQ(run.lastResult, FALSE);
    EXPECT_EQ(run.last.wParam, 0u);
    EXPECT_EQ(run.timers, 3);
    EXPECT_EQ(headless::LastRunEnd(), headless::RunEnd::None);
}

LRESULT CALLBACK NeverPaintsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_PAINT ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(RunTest, AWindowThatNeverValidatesItsPaintEndsTheRunAsSpinning) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = NeverPaintsProc;
    windowClass.lpszClassName = "NeverPaints";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    ASSERT_NE(CreateWindowExA(0, "NeverPaints", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    LoopResult run = RunLoop(2000000);
    EXPECT_EQ(run.lastResult, FALSE);
    EXPECT_EQ(run.last.wParam, headless::kRunEndedQuitCode);
    EXPECT_EQ(headless::LastRunEnd(), headless::RunEnd::Spinning);
    EXPECT_EQ(headless::Ticks(), 0u);
}

TEST_F(RunTest, GetMessageForAWindowThatGoesAwayWhileWaitingFails) {
    HWND window = TopLevel(0, 0, 100, 100);
    record.reactions[WM_ACTIVATEAPP] = [](HWND w, WPARAM, LPARAM) -> std::optional<LRESULT> {
        DestroyWindow(w);
        return 0;
    };
    headless::Schedule(10, headless::ActivateApp(false));
    MSG msg;
    int result = 0;
    for (int i = 0; i < 10 && (result = GetMessageA(&msg, window, 0, 0)) > 0; ++i) {
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(result, -1);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace platform_test
