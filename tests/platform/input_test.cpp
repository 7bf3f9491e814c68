// Input on the headless host: routing of mouse input by hit test, keys to
// the focus, activation, power events and the AutoPlay query.
#include "tests/platform/recording_window.h"

namespace platform_test {
namespace {

class InputTest : public LayerTest {
protected:
    void SetUp() override {
        LayerTest::SetUp();
        // A dialog-like window at (100, 100), 200 by 150, with three children:
        // a link that answers HTCLIENT, a picture under it that is
        // transparent to the mouse as a plain static is, and a button.
        // Children lie over one another, the first created on top, as the
        // controls of a dialog template do.
        dialog = TopLevel(100, 100, 200, 150);
        link = Child(dialog, 11, 20, 100, 100, 10);
        picture = Child(dialog, 10, 0, 0, 200, 150);
        button = Child(dialog, 12, 80, 120, 40, 20);
        record.reactions[WM_NCHITTEST] = [this](HWND w, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (w == picture) {
                return HTTRANSPARENT;
            }
            return std::nullopt;
        };
        Pump();
        record.log.clear();
    }

    HWND dialog = nullptr;
    HWND picture = nullptr;
    HWND link = nullptr;
    HWND button = nullptr;
};

struct RouteCase {
    const char* name;
    int x;
    int y;
    int expected;  // 0 nobody, 1 dialog, 2 link, 3 button
};

class MouseRouteTest : public InputTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(MouseRouteTest, MovementGoesToTheDeepestWindowThatTakesIt) {
    const RouteCase& c = GetParam();
    HWND windows[] = {nullptr, dialog, link, button};
    HWND expected = windows[c.expected];
    headless::Inject(headless::MouseMove(c.x, c.y));
    EXPECT_EQ(headless::WindowAt(c.x, c.y), expected);
    std::vector<MSG> posted = headless::PostedMessages();
    if (expected == nullptr) {
        EXPECT_TRUE(posted.empty());
        return;
    }
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].hwnd, expected);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    POINT client{c.x, c.y};
    ScreenToClient(expected, &client);
    EXPECT_EQ(GET_X_LPARAM(posted[0].lParam), client.x);
    EXPECT_EQ(GET_Y_LPARAM(posted[0].lParam), client.y);
    // WM_SETCURSOR was sent at once, before the movement is retrieved.
    size_t setCursors = 0;
    for (const Received& r : record.log) {
        if (r.message == WM_SETCURSOR && r.window == expected) {
            ++setCursors;
            EXPECT_EQ(reinterpret_cast<HWND>(r.wParam), expected);
            EXPECT_EQ(LOWORD(r.lParam), HTCLIENT);
            EXPECT_EQ(HIWORD(r.lParam), WM_MOUSEMOVE);
        }
    }
    EXPECT_EQ(setCursors, 1u);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, c.x);
    EXPECT_EQ(cursor.y, c.y);
}

INSTANTIATE_TEST_SUITE_P(Points, MouseRouteTest,
                         ::testing::Values(RouteCase{"overTheLink", 150, 205, 2},
                                           RouteCase{"overThePictureOnly", 110, 110, 1},
                                           RouteCase{"overTheButton", 200, 230, 3},
                                           RouteCase{"outsideEverything", 500, 500, 0},
                                           RouteCase{"linkCorner", 120, 200, 2},
                                           RouteCase{"justPastTheLink", 220, 200, 1}),
                         [](const ::testing::TestParamInfo<RouteCase>& info) { return std::string(info.param.name); });

TEST_F(InputTest, DisabledChildrenLetTheParentHaveTheMouse) {
    EnableWindow(link, FALSE);
    EXPECT_EQ(headless::WindowAt(150, 205), dialog);
    ShowWindow(button, SW_HIDE);
    EXPECT_EQ(headless::WindowAt(200, 230), dialog);
}

TEST_F(InputTest, ADisabledOwnerOfAModalWindowGetsNothing) {
    HWND owner = TopLevel(0, 0, 1024, 768, WS_POPUP | WS_VISIBLE, 0, "owner");
    SetForegroundWindow(dialog);  // the modal window on top
    EnableWindow(owner, FALSE);
    Pump();
    record.log.clear();
    headless::Inject(headless::MouseMove(600, 600));  // over the owner only
    headless::Inject(headless::ButtonDown());
    headless::Inject(headless::KeyDown('A'));  // the focus is in the dialog
    EXPECT_EQ(record.Count(owner, WM_SETCURSOR), 0u);
    std::vector<MSG> posted = headless::PostedMessages();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_NE(posted[0].hwnd, owner);
    // With the focus gone and the disabled owner in front, keys go nowhere.
    Pump();
    SetFocus(nullptr);
    headless::SetForeground(owner);
    headless::Inject(headless::KeyDown('B'));
    EXPECT_TRUE(headless::PostedMessages().empty());
}

TEST_F(InputTest, ButtonsArePostedWithTheirStateAndDoubleClicksNeedTheClassStyle) {
    headless::Inject(headless::MouseMove(150, 205));
    headless::Inject(headless::ButtonDown());
    headless::Inject(headless::ButtonUp());
    headless::AdvanceTicks(100);
    headless::Inject(headless::ButtonDown());  // a second press, soon and close: a double click
    headless::AdvanceTicks(600);
    headless::Inject(headless::ButtonDown(headless::Button::Right));
    std::vector<MSG> posted = headless::PostedMessages();
    std::vector<UINT> messages;
    for (const MSG& m : posted) {
        messages.push_back(m.message);
        EXPECT_EQ(m.hwnd, link);
    }
    EXPECT_EQ(messages, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                           WM_RBUTTONDOWN}));
    EXPECT_EQ(posted[1].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(posted[2].wParam, 0u);
    EXPECT_EQ(posted[4].wParam, static_cast<WPARAM>(MK_LBUTTON | MK_RBUTTON));
}

TEST_F(InputTest, MovementsToTheSameWindowCoalesce) {
    headless::Inject(headless::MouseMove(110, 110));
    headless::Inject(headless::MouseMove(112, 111));
    headless::Inject(headless::MouseMove(150, 205));  // another window
    headless::Inject(headless::MouseMove(151, 205));
    std::vector<MSG> posted = headless::PostedMessages();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].hwnd, dialog);
    EXPECT_EQ(GET_X_LPARAM(posted[0].lParam), 12);
    EXPECT_EQ(posted[1].hwnd, link);
    EXPECT_EQ(GET_X_LPARAM(posted[1].lParam), 31);
}

struct KeyCase {
    const char* name;
    UINT key;
    bool down;
    bool alt;
    UINT message;
};

class KeyRouteTest : public InputTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyRouteTest, KeysGoToTheFocusWithTheirFlags) {
    const KeyCase& c = GetParam();
    SetFocus(button);
    Pump();
    headless::Inject(headless::InputEvent{c.down ? headless::InputKind::KeyDown : headless::InputKind::KeyUp, c.key,
                                          c.alt});
    std::vector<MSG> posted = headless::PostedMessages();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].hwnd, button);
    EXPECT_EQ(posted[0].message, c.message);
    EXPECT_EQ(posted[0].wParam, c.key);
    auto flags = static_cast<DWORD>(posted[0].lParam);
    EXPECT_EQ(flags & 0xFFFF, 1u);
    EXPECT_EQ((flags >> 29) & 1, c.alt ? 1u : 0u);
    EXPECT_EQ((flags >> 31) & 1, c.down ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyRouteTest,
                         ::testing::Values(KeyCase{"plainDown", 'Q', true, false, WM_KEYDOWN},
                                           KeyCase{"plainUp", 'Q', false, false, WM_KEYUP},
                                           KeyCase{"altDown", 'Q', true, true, WM_SYSKEYDOWN},
                                           KeyCase{"altUp", 'Q', false, true, WM_SYSKEYUP},
                                           KeyCase{"altKeyItself", VK_MENU, true, false, WM_SYSKEYDOWN},
                                           KeyCase{"f10", VK_F10, true, false, WM_SYSKEYDOWN},
                                           KeyCase{"escape", VK_ESCAPE, true, false, WM_KEYDOWN}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(InputTest, AHeldKeyRepeatsWithThePreviousStateBit) {
    headless::Inject(headless::KeyDown('K'));
    headless::Inject(headless::KeyDown('K'));
    headless::Inject(headless::KeyUp('K'));
    std::vector<MSG> posted = headless::PostedMessages();
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_EQ(posted[0].hwnd, dialog);  // the focus since it was created
    EXPECT_EQ((static_cast<DWORD>(posted[0].lParam) >> 30) & 1, 0u);
    EXPECT_EQ((static_cast<DWORD>(posted[1].lParam) >> 30) & 1, 1u);
    EXPECT_EQ((static_cast<DWORD>(posted[2].lParam) >> 30) & 1, 1u);
}

TEST_F(InputTest, KeysWithoutFocusGoToTheForegroundWindow) {
    HWND other = TopLevel(500, 500, 10, 10, WS_POPUP | WS_VISIBLE, 0, "other");
    SetFocus(nullptr);
    headless::SetForeground(other);
    Pump();
    headless::Inject(headless::KeyDown(VK_SPACE));
    ASSERT_EQ(headless::PostedMessages().size(), 1u);
    EXPECT_EQ(headless::PostedMessages()[0].hwnd, other);
}

TEST_F(InputTest, ActivationAndPowerEventsAreSentToEveryTopLevelWindow) {
    HWND other = TopLevel(500, 500, 10, 10, WS_POPUP, 0, "other");
    record.log.clear();
    headless::Inject(headless::ActivateApp(false));
    headless::Inject(headless::Power(PWR_CRITICALRESUME));
    headless::Inject(headless::PowerBroadcast(7));
    for (HWND w : {dialog, other}) {
        EXPECT_EQ(record.MessagesOf(w), (std::vector<UINT>{WM_ACTIVATEAPP, WM_POWER, WM_POWERBROADCAST}));
    }
    EXPECT_EQ(record.MessagesOf(link).size(), 0u);
    EXPECT_EQ(record.log[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(record.log[2].wParam, static_cast<WPARAM>(PWR_CRITICALRESUME));
    EXPECT_EQ(record.log[4].wParam, 7u);
    EXPECT_TRUE(headless::PostedMessages().empty());  // sent, not posted
}

TEST_F(InputTest, TheAutoPlayQueryAsksTheForegroundWindowAndKeepsItsAnswer) {
    UINT query = RegisterWindowMessageA("QueryCancelAutoPlay");
    record.reactions[query] = [](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> { return 1; };
    EXPECT_FALSE(headless::LastAutoPlayAnswer().has_value());
    headless::Inject(headless::AutoPlayQuery());
    ASSERT_TRUE(headless::LastAutoPlayAnswer().has_value());
    EXPECT_EQ(*headless::LastAutoPlayAnswer(), 1);
    EXPECT_EQ(record.Count(dialog, query), 1u);
    headless::SetForeground(nullptr);
    headless::Inject(headless::AutoPlayQuery());
    EXPECT_FALSE(headless::LastAutoPlayAnswer().has_value());
}

TEST_F(InputTest, AWindowAppearingUnderTheCursorGetsAMoveWithoutMovement) {
    headless::PlaceCursor(600, 400);
    Pump();
    HWND fresh = TopLevel(550, 350, 100, 100, WS_POPUP | WS_VISIBLE, 0, "fresh");
    record.log.clear();
    std::vector<MSG> got = Pump();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got[0].hwnd, fresh);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(GET_X_LPARAM(got[0].lParam), 50);
    EXPECT_EQ(record.Count(fresh, WM_SETCURSOR), 1u);
    // Nothing of the kind for a window away from the cursor.
    TopLevel(0, 600, 50, 50, WS_POPUP | WS_VISIBLE, 0, "away");
    for (const MSG& m : Pump()) {
        EXPECT_NE(m.message, static_cast<UINT>(WM_MOUSEMOVE));
    }
}

TEST_F(InputTest, TheCursorStaysOnTheScreen) {
    headless::Inject(headless::MouseMove(-50, 5000));
    POINT p = headless::CursorPosition();
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 767);
}

}  // namespace
}  // namespace platform_test
