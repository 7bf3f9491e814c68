// The close-on-input rules: mouse movement measured from the anchor, keys
// and their repeats, and the same rules driven by real input through the
// saver's message loop.
#include "tests/shell/shell_test_support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace shell_test;

namespace {

// ---------------------------------------------------------------------------
// Movement: the sum of the distances from the anchor must exceed 4 pixels;
// small moves add up; only a move that closes re-takes the anchor.

struct Move {
    int dx;  // from the cursor position at creation
    int dy;
    bool closes;
};

struct MovementCase {
    const char* name;
    std::vector<Move> moves;
};

std::ostream& operator<<(std::ostream& out, const MovementCase& c) {
    return out << c.name;
}

class MovementTest : public ::testing::TestWithParam<MovementCase> {};

TEST_P(MovementTest, ClosesBeyondFourPixels) {
    FreshProcess();
    RunAndCall([&](HWND saver) {
        const POINT start = shellState.cursorAnchor;
        EXPECT_EQ(start.x, headless::CursorPosition().x);
        EXPECT_EQ(start.y, headless::CursorPosition().y);
        POINT anchor = start;
        for (size_t i = 0; i < GetParam().moves.size(); ++i) {
            const Move& move = GetParam().moves[i];
            SCOPED_TRACE(testing::Message() << "move " << i);
            headless::PlaceCursor(start.x + move.dx, start.y + move.dy);
            int before = PostedCloses(saver);
            // The position is read from the cursor, never from lParam.
            SendMessageA(saver, WM_MOUSEMOVE, 0, MAKELONG(1, 1));
            EXPECT_EQ(PostedCloses(saver) - before, move.closes ? 1 : 0);
            if (move.closes) {
                anchor = headless::CursorPosition();
            }
            EXPECT_EQ(shellState.cursorAnchor.x, anchor.x);
            EXPECT_EQ(shellState.cursorAnchor.y, anchor.y);
        }
    });
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MovementTest,
    ::testing::Values(MovementCase{"Still", {{0, 0, false}}},
                      MovementCase{"ThreeRightOneDown", {{3, 1, false}}},
                      MovementCase{"ThreeRightTwoDown", {{3, 2, true}}},
                      MovementCase{"FourAcross", {{4, 0, false}}}, MovementCase{"FiveAcross", {{5, 0, true}}},
                      MovementCase{"FourUp", {{0, -4, false}}}, MovementCase{"FiveUp", {{0, -5, true}}},
                      MovementCase{"UpLeft", {{-2, -2, false}, {-3, -2, true}}},
                      MovementCase{"SmallMovesAddUp", {{2, 0, false}, {4, 0, false}, {6, 0, true}}},
                      MovementCase{"AwayAndBack", {{3, 0, false}, {0, 0, false}, {-3, 0, false}, {0, 3, false}}},
                      MovementCase{"AnchorFollowsCloses", {{5, 0, true}, {7, 0, false}, {9, 0, false}, {10, 0, true}}},
                      MovementCase{"BackOverTheAnchor", {{10, 10, true}, {6, 8, true}}}),
    [](const ::testing::TestParamInfo<MovementCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------

class CloseRulesTest : public ::testing::Test {
protected:
    void SetUp() override { FreshProcess(); }
};

// Every key press posts its own close, held-key repeats included.
TEST_F(CloseRulesTest, EachKeyDownPostsOneClose) {
    RunAndCall([&](HWND saver) {
        const LPARAM kRepeat = 1L << 30;
        SendMessageA(saver, WM_KEYDOWN, 'A', 1);
        EXPECT_EQ(PostedCloses(saver), 1);
        SendMessageA(saver, WM_KEYDOWN, 'A', kRepeat | 1);
        SendMessageA(saver, WM_KEYDOWN, 'A', kRepeat | 1);
        EXPECT_EQ(PostedCloses(saver), 3);
        SendMessageA(saver, WM_KEYUP, 'A', 0xC0000001);
        EXPECT_EQ(PostedCloses(saver), 3);
        SendMessageA(saver, WM_SYSKEYDOWN, 'X', 1L << 29);
        EXPECT_EQ(PostedCloses(saver), 4);
    });
}

// Real input through the loop. The move that the window's appearance under a
// still cursor produces closes nothing; the first real input ends the run.
struct InputCase {
    const char* name;
    std::vector<headless::InputEvent> events;  // 20 ms apart
    int closingEvent;  // index of the event the run ends on; -1: none does
};

std::ostream& operator<<(std::ostream& out, const InputCase& c) {
    return out << c.name;
}

class RealInputTest : public ::testing::TestWithParam<InputCase> {};

TEST_P(RealInputTest, EndsTheRunOnItsCloseTrigger) {
    FreshProcess(1000, 400);
    const POINT c = headless::CursorPosition();
    const InputCase& input = GetParam();
    for (size_t i = 0; i < input.events.size(); ++i) {
        headless::InputEvent event = input.events[i];
        if (event.kind == headless::InputKind::MouseMove) {
            event.point.x += c.x;  // offsets from the start position
            event.point.y += c.y;
        }
        headless::Schedule(static_cast<DWORD>(20 * (i + 1)), event);
    }
    int result = RunSaverWindow(nullptr);
    if (input.closingEvent < 0) {
        EXPECT_EQ(headless::LastRunEnd(), headless::RunEnd::TimeLimit);
        EXPECT_TRUE(IsWindow(shellState.saverWindow));
    } else {
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(IsWindow(shellState.saverWindow));
        EXPECT_EQ(headless::Ticks(), 1000u + 20u * static_cast<DWORD>(input.closingEvent + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RealInputTest,
    ::testing::Values(
        InputCase{"NothingHappens", {}, -1},
        InputCase{"SmallMoves",
                  {headless::MouseMove(1, 0), headless::MouseMove(2, 1), headless::MouseMove(3, 2)},
                  2},
        InputCase{"KeyRelease", {headless::KeyUp('A'), headless::KeyDown('B')}, 1},
        InputCase{"AltKey", {headless::KeyDown(VK_MENU, true)}, 0},
        InputCase{"ButtonRelease",
                  {headless::ButtonUp(), headless::ButtonDown(headless::Button::Right)},
                  1},
        InputCase{"Activation", {headless::ActivateApp(true), headless::ActivateApp(false)}, 1},
        InputCase{"Power",
                  {headless::Power(PWR_SUSPENDREQUEST), headless::Power(PWR_CRITICALRESUME)},
                  1},
        InputCase{"PowerBroadcast", {headless::PowerBroadcast(4)}, 0},
        InputCase{"AutoPlayOnNT", {headless::AutoPlayQuery()}, -1}),
    [](const ::testing::TestParamInfo<InputCase>& info) { return info.param.name; });

}  // namespace
