// The frame clock: the saver procedure's context, timer and frames, seen
// through whole runs of the saver window.
#include "tests/shell/shell_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace shell_test;

namespace {

class FrameClockTest : public ::testing::Test {
protected:
    void SetUp() override { FreshProcess(); }

    static bool FrameTimerLive(HWND window) {
        for (const headless::TimerInfo& timer : headless::Timers()) {
            if (timer.window == window && timer.id == 1 && timer.elapse == 10 && timer.proc == nullptr) {
                return true;
            }
        }
        return false;
    }

    static size_t Yields() {
        const auto& sleeps = headless::SleepCalls();
        return static_cast<size_t>(std::count(sleeps.begin(), sleeps.end(), DWORD{0}));
    }
};

// Each WM_TIMER the loop delivers draws one frame, after a yield; the timer
// runs every 10 ms.
TEST_F(FrameClockTest, OneFramePerTimerMessage) {
    uint64_t frames = 0;
    size_t yields = 0;
    Probe probe(205, [&](int) {
        frames = headless::PresentCount(shellState.saverWindow);
        yields = Yields();
        headless::Inject(headless::KeyDown('A'));
    });
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_EQ(frames, 20u);
    EXPECT_EQ(yields, 20u);
}

TEST_F(FrameClockTest, AnyTimerIdentifierDrawsOneFrame) {
    RunAndCall([&](HWND saver) {
        EXPECT_TRUE(FrameTimerLive(saver));
        EXPECT_NE(wglGetCurrentContext(), nullptr);
        EXPECT_NE(sceneState.windowDC, nullptr);
        for (WPARAM id : {WPARAM{1}, WPARAM{0}, WPARAM{42}}) {
            uint64_t before = headless::PresentCount(saver);
            EXPECT_EQ(SendMessageA(saver, WM_TIMER, id, 0), 0);
            EXPECT_EQ(headless::PresentCount(saver), before + 1) << "timer " << id;
        }
        headless::Frame frame;
        ASSERT_TRUE(headless::ReadPresentedFrame(saver, &frame));
        EXPECT_EQ(frame.width, 160);
        EXPECT_EQ(frame.height, 120);
        bool drawn = false;
        for (size_t i = 0; i < frame.rgb.size() && !drawn; ++i) {
            drawn = frame.rgb[i] != 0;
        }
        EXPECT_TRUE(drawn) << "the towers show";
    });
}

// Once a close is granted no frame is drawn, and none is yielded for.
TEST_F(FrameClockTest, NoFrameOnceClosing) {
    RunAndCall([&](HWND saver) {
        shellState.closing = 1;
        uint64_t before = headless::PresentCount(saver);
        size_t yields = Yields();
        EXPECT_EQ(SendMessageA(saver, WM_TIMER, 1, 0), 0);
        EXPECT_EQ(headless::PresentCount(saver), before);
        EXPECT_EQ(Yields(), yields);
        shellState.closing = 0;
    });
}

// The viewport keeps the size measured at creation.
TEST_F(FrameClockTest, SizeChangesAreIgnored) {
    RunAndCall([&](HWND saver) {
        GLint before[4] = {};
        glGetIntegerv(GL_VIEWPORT, before);
        EXPECT_EQ(before[2], 160);
        EXPECT_EQ(before[3], 120);
        SendMessageA(saver, WM_SIZE, 0, MAKELONG(40, 30));
        GLint after[4] = {};
        glGetIntegerv(GL_VIEWPORT, after);
        EXPECT_TRUE(std::equal(before, before + 4, after));
    });
}

// What the window looks like on either side of its WM_DESTROY: seen by a
// procedure put in front of the shell's.
struct DestroySnapshot {
    bool timerLive = false;
    HGLRC context = nullptr;
    bool quitPosted = false;
};
DestroySnapshot beforeDestroy;
DestroySnapshot afterDestroy;

DestroySnapshot Snapshot(HWND window) {
    DestroySnapshot snapshot;
    for (const headless::TimerInfo& timer : headless::Timers()) {
        snapshot.timerLive = snapshot.timerLive || (timer.window == window && timer.id == 1);
    }
    snapshot.context = wglGetCurrentContext();
    MSG quit;
    snapshot.quitPosted = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
    return snapshot;
}

LRESULT CALLBACK DestroyWatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DESTROY) {
        return CallWindowProcA(ShellWindowProc, window, message, wParam, lParam);
    }
    beforeDestroy = Snapshot(window);
    LRESULT result = CallWindowProcA(ShellWindowProc, window, message, wParam, lParam);
    afterDestroy = Snapshot(window);
    return result;
}

// WM_DESTROY: the quit message is posted, the clock stopped and the context
// released, all before the system takes the window away.
TEST_F(FrameClockTest, DestroyStopsTheClockAndReleasesTheContext) {
    beforeDestroy = afterDestroy = DestroySnapshot{};
    RunAndCall([&](HWND saver) { SetWindowLongA(saver, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(DestroyWatcher)); });
    EXPECT_TRUE(beforeDestroy.timerLive);
    EXPECT_NE(beforeDestroy.context, nullptr);
    EXPECT_FALSE(beforeDestroy.quitPosted);
    EXPECT_FALSE(afterDestroy.timerLive);
    EXPECT_EQ(afterDestroy.context, nullptr);
    EXPECT_TRUE(afterDestroy.quitPosted);
}

// Destruction stops the clock and releases the context: nothing is current,
// no timer is left and no frame comes after, even with the run going on.
TEST_F(FrameClockTest, TeardownLeavesNothingBehind) {
    headless::Schedule(55, headless::KeyDown('A'));
    Probe keepsTheLoopAlive(1000, [](int) {});
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    HWND saver = shellState.saverWindow;
    EXPECT_FALSE(IsWindow(saver));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(FrameTimerLive(saver));
    EXPECT_EQ(Yields(), 5u);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

// A timer that cannot be set: the window stays black, yet closes on input.
TEST_F(FrameClockTest, NoTimerMeansNoFramesButStillCloses) {
    headless::FailNext(headless::FailingCall::SetTimer);
    headless::Schedule(100, headless::KeyDown('A'));
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_EQ(headless::PresentCount(shellState.saverWindow), 0u);
    EXPECT_EQ(headless::Ticks(), 1100u);
}

// No OpenGL on the machine: no context, nothing presented, and the saver
// still closes on input.
TEST_F(FrameClockTest, NoContextLeavesABlackWindowThatCloses) {
    headless::SetPixelFormatsAvailable(false);
    bool contextSeen = true;
    Probe probe(30, [&](int) { contextSeen = wglGetCurrentContext() != nullptr; });
    headless::Schedule(100, headless::ButtonDown());
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_FALSE(contextSeen);
    EXPECT_EQ(headless::PresentCount(shellState.saverWindow), 0u);
    EXPECT_EQ(headless::Ticks(), 1100u);
}

// The preview draws the same scene at its own size.
TEST_F(FrameClockTest, PreviewDrawsAtItsSize) {
    HWND parent = MakeWindow(64, 48);
    RunAndCall(
        [&](HWND saver) {
            SendMessageA(saver, WM_TIMER, 1, 0);
            headless::Frame frame;
            ASSERT_TRUE(headless::ReadPresentedFrame(saver, &frame));
            RECT client;
            GetClientRect(saver, &client);
            EXPECT_EQ(frame.width, client.right);
            EXPECT_EQ(frame.height, client.bottom);
            GLint viewport[4] = {};
            glGetIntegerv(GL_VIEWPORT, viewport);
            EXPECT_EQ(viewport[2], client.right);
            EXPECT_EQ(viewport[3], client.bottom);
        },
        parent);
}

}  // namespace
