// One message at a time down the saver window's chain, in each state of the
// window: what it returns, whether it asks for a close and whether it hides
// the cursor.
#include "tests/shell/shell_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace shell_test;

namespace {

enum class State { Running, Preview, Closing, Verifying };
constexpr UINT kAutoPlay = 0xFFFFFFFF;  // stands for the registered AutoPlay query

struct FilterCase {
    const char* name;
    State state;
    bool win9x;
    UINT message;
    WPARAM wParam;
    bool moveCursor;  // the cursor is 50 pixels away from the anchor first
    LRESULT result;
    int closes;        // WM_CLOSE posted
    bool hidesCursor;  // SetCursor(NULL) was the last cursor set
    bool destroys = false;
};

std::ostream& operator<<(std::ostream& out, const FilterCase& c) {
    return out << c.name;
}

class MessageFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(MessageFilterTest, AnswersInItsState) {
    const FilterCase& c = GetParam();
    FreshProcess();
    headless::SetWindowsFamily(c.win9x ? headless::WindowsFamily::Win9x : headless::WindowsFamily::NT);
    shellState.isWin9x = c.win9x ? 1 : 0;
    HWND parent = c.state == State::Preview ? MakeWindow(120, 90) : nullptr;

    bool ran = false;
    RunAndCall(
        [&](HWND saver) {
            ran = true;
            if (c.state == State::Closing) {
                shellState.closing = 1;
            }
            if (c.state == State::Verifying) {
                shellState.verifying = 1;
            }
            if (c.moveCursor) {
                headless::PlaceCursor(shellState.cursorAnchor.x + 30, shellState.cursorAnchor.y - 20);
            }
            UINT message = c.message == kAutoPlay ? RegisterWindowMessageA("QueryCancelAutoPlay") : c.message;
            ShowArrowCursor();
            int closesBefore = PostedCloses(saver);
            LRESULT result = SendMessageA(saver, message, c.wParam, 0);
            EXPECT_EQ(result, c.result);
            EXPECT_EQ(PostedCloses(saver) - closesBefore, c.closes);
            EXPECT_EQ(CursorHidden(), c.hidesCursor);
            EXPECT_EQ(!IsWindow(saver), c.destroys);
            shellState.verifying = 0;
        },
        parent);
    EXPECT_TRUE(ran);
}

const FilterCase kFilterCases[] = {
    // Input that closes the running saver, on both families.
    {"KeyDown", State::Running, false, WM_KEYDOWN, 'A', false, 0, 1, false},
    {"KeyDown9x", State::Running, true, WM_KEYDOWN, 'A', false, 0, 1, false},
    {"SysKeyDown", State::Running, false, WM_SYSKEYDOWN, VK_MENU, false, 0, 1, false},
    {"LeftButtonDown", State::Running, false, WM_LBUTTONDOWN, MK_LBUTTON, false, 0, 1, false},
    {"RightButtonDown", State::Running, true, WM_RBUTTONDOWN, MK_RBUTTON, false, 0, 1, false},
    {"MiddleButtonDown", State::Running, false, WM_MBUTTONDOWN, MK_MBUTTON, false, 0, 1, false},
    {"MouseMoved", State::Running, false, WM_MOUSEMOVE, 0, true, 0, 1, false},
    {"ActivationLost", State::Running, false, WM_ACTIVATEAPP, FALSE, false, 0, 1, false},
    {"CriticalResume", State::Running, false, WM_POWER, PWR_CRITICALRESUME, false, 0, 1, false},
    {"PowerBroadcast", State::Running, false, WM_POWERBROADCAST, 0, false, 0, 1, false},
    {"PowerBroadcastAnyCode", State::Running, true, WM_POWERBROADCAST, 0x8013, false, 0, 1, false},
    // Input that does not.
    {"KeyUp", State::Running, false, WM_KEYUP, 'A', false, 0, 0, false},
    {"SysKeyUp", State::Running, false, WM_SYSKEYUP, VK_MENU, false, 0, 0, false},
    {"Char", State::Running, false, WM_CHAR, 'a', false, 0, 0, false},
    {"LeftButtonUp", State::Running, false, WM_LBUTTONUP, 0, false, 0, 0, false},
    {"DoubleClick", State::Running, false, WM_LBUTTONDBLCLK, MK_LBUTTON, false, 0, 0, false},
    {"RightDoubleClick", State::Running, false, WM_RBUTTONDBLCLK, MK_RBUTTON, false, 0, 0, false},
    {"Wheel", State::Running, false, WM_MOUSEWHEEL, 0x00780000, false, 0, 0, false},
    {"XButton", State::Running, false, WM_XBUTTONDOWN, 0x00010000, false, 0, 0, false},
    {"NonClientMove", State::Running, false, WM_NCMOUSEMOVE, HTCLIENT, true, 0, 0, false},
    {"NonClientButton", State::Running, false, WM_NCLBUTTONDOWN, HTCLIENT, false, 0, 0, false},
    {"MouseStill", State::Running, false, WM_MOUSEMOVE, 0, false, 0, 0, false},
    {"ActivationGained", State::Running, false, WM_ACTIVATEAPP, TRUE, false, 0, 0, false},
    {"SuspendRequest", State::Running, false, WM_POWER, PWR_SUSPENDREQUEST, false, 0, 0, false},
    {"SuspendResume", State::Running, false, WM_POWER, PWR_SUSPENDRESUME, false, 0, 0, false},
    // The cursor in full screen.
    {"SetCursor", State::Running, false, WM_SETCURSOR, 0, false, 1, 0, true},
    {"Shown", State::Running, false, WM_SHOWWINDOW, TRUE, false, 0, 0, true},
    {"Hidden", State::Running, false, WM_SHOWWINDOW, FALSE, false, 0, 0, false},
    {"Paint", State::Running, false, WM_PAINT, 0, false, 0, 0, true},
    // System commands that would start another saver or switch windows are
    // swallowed in full screen; the whole wParam counts.
    {"ScreenSave", State::Running, false, WM_SYSCOMMAND, SC_SCREENSAVE, false, 0, 0, false},
    {"NextWindow", State::Running, false, WM_SYSCOMMAND, SC_NEXTWINDOW, false, 0, 0, false},
    {"PrevWindow", State::Running, true, WM_SYSCOMMAND, SC_PREVWINDOW, false, 0, 0, false},
    {"ScreenSaveLowBits", State::Running, false, WM_SYSCOMMAND, SC_SCREENSAVE | 0x2, false, 0, 0, false},
    {"NextWindowLowBits", State::Running, false, WM_SYSCOMMAND, SC_NEXTWINDOW | 0xF, false, 0, 0, false},
    {"SysClose", State::Running, false, WM_SYSCOMMAND, SC_CLOSE, false, 0, 0, false, true},
    // The password request: only the 95/98/Me family knows it.
    {"PasswordRequestNT", State::Running, false, WM_APP, 0, false, 0, 0, false},
    {"PasswordRequestNoVerifier", State::Running, true, WM_APP, 0, false, 1, 0, false},
    // The AutoPlay query: answered on the 95/98/Me family in every state.
    {"AutoPlay", State::Running, true, kAutoPlay, 0, false, 0, 1, false},
    {"AutoPlayNT", State::Running, false, kAutoPlay, 0, false, 0, 0, false},
    {"AutoPlayPreview", State::Preview, true, kAutoPlay, 0, false, 0, 1, false},
    {"AutoPlayClosing", State::Closing, true, kAutoPlay, 0, false, 0, 1, false},
    {"AutoPlayVerifying", State::Verifying, true, kAutoPlay, 0, false, 0, 1, false},
    // The preview closes on nothing and never hides the cursor.
    {"PreviewKeyDown", State::Preview, false, WM_KEYDOWN, 'A', false, 0, 0, false},
    {"PreviewButton", State::Preview, true, WM_LBUTTONDOWN, MK_LBUTTON, false, 0, 0, false},
    {"PreviewMove", State::Preview, false, WM_MOUSEMOVE, 0, true, 0, 0, false},
    {"PreviewActivation", State::Preview, false, WM_ACTIVATEAPP, FALSE, false, 0, 0, false},
    {"PreviewPower", State::Preview, false, WM_POWERBROADCAST, 0, false, 0, 0, false},
    {"PreviewSetCursor", State::Preview, false, WM_SETCURSOR, 0, false, 0, 0, false},
    {"PreviewShown", State::Preview, false, WM_SHOWWINDOW, TRUE, false, 0, 0, false},
    {"PreviewPaint", State::Preview, false, WM_PAINT, 0, false, 0, 0, false},
    {"PreviewScreenSave", State::Preview, false, WM_SYSCOMMAND, SC_SCREENSAVE, false, 0, 0, false},
    {"PreviewSysClose", State::Preview, false, WM_SYSCOMMAND, SC_CLOSE, false, 0, 0, false, true},
    {"PreviewPasswordRequest", State::Preview, true, WM_APP, 0, false, 0, 0, false},
    // Once a close is granted, input and painting go to the default.
    {"ClosingKeyDown", State::Closing, true, WM_KEYDOWN, 'A', false, 0, 0, false},
    {"ClosingMove", State::Closing, true, WM_MOUSEMOVE, 0, true, 0, 0, false},
    {"ClosingButton", State::Closing, true, WM_MBUTTONDOWN, MK_MBUTTON, false, 0, 0, false},
    {"ClosingActivation", State::Closing, true, WM_ACTIVATEAPP, FALSE, false, 0, 0, false},
    {"ClosingPower", State::Closing, true, WM_POWERBROADCAST, 0, false, 0, 0, false},
    {"ClosingSetCursor", State::Closing, true, WM_SETCURSOR, 0, false, 0, 0, false},
    {"ClosingPaint", State::Closing, true, WM_PAINT, 0, false, 0, 0, false},
    {"ClosingPasswordRequest", State::Closing, true, WM_APP, 0, false, 0, 0, false},
    {"ClosingClose", State::Closing, true, WM_CLOSE, 0, false, 0, 0, false, true},
    // While a password prompt is open only the close and the request count.
    {"VerifyingKeyDown", State::Verifying, true, WM_KEYDOWN, 'A', false, 0, 0, false},
    {"VerifyingMove", State::Verifying, true, WM_MOUSEMOVE, 0, true, 0, 0, false},
    {"VerifyingActivation", State::Verifying, true, WM_ACTIVATEAPP, FALSE, false, 0, 0, false},
    {"VerifyingSetCursor", State::Verifying, true, WM_SETCURSOR, 0, false, 0, 0, false},
    {"VerifyingPasswordRequest", State::Verifying, true, WM_APP, 0, false, 1, 0, false},
    {"VerifyingClose", State::Verifying, true, WM_CLOSE, 0, false, 0, 0, false},
};

INSTANTIATE_TEST_SUITE_P(Messages, MessageFilterTest, ::testing::ValuesIn(kFilterCases),
                         [](const ::testing::TestParamInfo<FilterCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------

class SaverWindowMessages : public ::testing::Test {
protected:
    void SetUp() override { FreshProcess(); }
};

TEST_F(SaverWindowMessages, TitleCannotBeChanged) {
    for (HWND parent : {static_cast<HWND>(nullptr), MakeWindow()}) {
        const char* title = parent != nullptr ? "Preview" : "Screen Saver";
        RunAndCall(
            [&](HWND saver) {
                EXPECT_EQ(SendMessageA(saver, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Hijacked")), 0);
                EXPECT_FALSE(SetWindowTextA(saver, "Hijacked"));
                char text[64] = "";
                GetWindowTextA(saver, text, sizeof text);
                EXPECT_STREQ(text, title);
            },
            parent);
    }
}

// The display settings' help and context menu belong to the dialog that holds
// the preview: both are posted to it with its own handle in wParam.
TEST_F(SaverWindowMessages, PreviewHandsHelpToItsParent) {
    HWND parent = MakeWindow();
    RunAndCall(
        [&](HWND saver) {
            for (UINT message : {static_cast<UINT>(WM_HELP), static_cast<UINT>(WM_CONTEXTMENU)}) {
                size_t before = headless::PostedMessages().size();
                EXPECT_EQ(SendMessageA(saver, message, reinterpret_cast<WPARAM>(saver), 0x00200010), 1);
                std::vector<MSG> posted = headless::PostedMessages();
                ASSERT_EQ(posted.size(), before + 1);
                EXPECT_EQ(posted.back().hwnd, parent);
                EXPECT_EQ(posted.back().message, message);
                EXPECT_EQ(posted.back().wParam, reinterpret_cast<WPARAM>(parent));
                EXPECT_EQ(posted.back().lParam, 0x00200010);
            }
        },
        parent);
}

TEST_F(SaverWindowMessages, FullScreenKeepsHelpToItself) {
    RunAndCall([&](HWND saver) {
        size_t before = headless::PostedMessages().size();
        EXPECT_EQ(SendMessageA(saver, WM_HELP, 0, 0), 0);
        EXPECT_EQ(SendMessageA(saver, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(saver), 0), 0);
        EXPECT_EQ(headless::PostedMessages().size(), before);
    });
}

// Which system commands the full-screen filter keeps from the default
// handling (where Windows would start another saver or switch windows): only
// the exact three values, and none in the preview.
TEST_F(SaverWindowMessages, OnlyTheExactSystemCommandsAreSwallowed) {
    struct Case {
        bool preview;
        WPARAM command;
        bool reachesDefault;
    };
    const Case cases[] = {
        {false, SC_SCREENSAVE, false},     {false, SC_NEXTWINDOW, false},     {false, SC_PREVWINDOW, false},
        {false, SC_SCREENSAVE | 0x2, true}, {false, SC_NEXTWINDOW | 0xF, true}, {false, SC_PREVWINDOW | 0x1, true},
        {false, SC_KEYMENU, true},          {false, SC_MONITORPOWER, true},    {true, SC_SCREENSAVE, true},
        {true, SC_NEXTWINDOW, true},        {true, SC_PREVWINDOW, true},
    };
    for (const Case& c : cases) {
        FreshProcess();
        RunAndCall(
            [&](HWND saver) {
                size_t before = headless::DefaultSystemCommands().size();
                EXPECT_EQ(SendMessageA(saver, WM_SYSCOMMAND, c.command, 0), 0);
                const std::vector<WPARAM>& reached = headless::DefaultSystemCommands();
                ASSERT_EQ(reached.size(), before + (c.reachesDefault ? 1 : 0)) << std::hex << c.command;
                if (c.reachesDefault) {
                    EXPECT_EQ(reached.back(), c.command & 0xFFF0);
                }
            },
            c.preview ? MakeWindow() : nullptr);
    }
}

}  // namespace
