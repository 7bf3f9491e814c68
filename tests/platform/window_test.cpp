// Windows: creation and destruction order, showing, focus and foreground,
// and the default window procedure.
#include "platform/headless/headless_gdi.h"
#include "tests/platform/recording_window.h"

#include <cstring>

namespace platform_test {
namespace {

using WindowTest = LayerTest;

TEST_F(WindowTest, DestructionSendsDestroyThenTakesChildrenThenNcDestroy) {
    HWND parent = TopLevel(0, 0, 100, 100);
    HWND first = Child(parent, 1, 0, 0, 10, 10);
    HWND second = Child(parent, 2, 10, 0, 10, 10);
    HWND grandchild = Child(first, 3, 0, 0, 5, 5);
    record.log.clear();
    ASSERT_TRUE(DestroyWindow(parent));

    std::vector<std::pair<HWND, UINT>> order;
    for (const Received& r : record.log) {
        if (r.message == WM_DESTROY || r.message == WM_NCDESTROY) {
            order.emplace_back(r.window, r.message);
        }
    }
    // The last created child goes first; each child's own children before it ends.
    std::vector<std::pair<HWND, UINT>> expected = {
        {parent, WM_DESTROY},      {second, WM_DESTROY},     {second, WM_NCDESTROY}, {first, WM_DESTROY},
        {grandchild, WM_DESTROY},  {grandchild, WM_NCDESTROY}, {first, WM_NCDESTROY}, {parent, WM_NCDESTROY},
    };
    EXPECT_EQ(order, expected);
    for (HWND w : {parent, first, second, grandchild}) {
        EXPECT_FALSE(IsWindow(w));
    }
}

TEST_F(WindowTest, WindowsStillExistDuringTheirDestroyMessage) {
    HWND parent = TopLevel(0, 0, 100, 100);
    HWND child = Child(parent, 1, 0, 0, 10, 10);
    bool childAliveAtParentDestroy = false;
    record.reactions[WM_DESTROY] = [&](HWND w, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (w == parent) {
            childAliveAtParentDestroy = IsWindow(child) && GetParent(child) == parent;
            SetTimer(w, 1, 10, nullptr);  // set during destruction, dropped with the window
        }
        return 0;
    };
    DestroyWindow(parent);
    EXPECT_TRUE(childAliveAtParentDestroy);
    EXPECT_TRUE(headless::Timers().empty());
}

TEST_F(WindowTest, AWindowCreatedVisibleIsShownAfterCreation) {
    bool visibleAtCreate = true;
    record.reactions[WM_CREATE] = [&](HWND w, WPARAM, LPARAM) -> std::optional<LRESULT> {
        visibleAtCreate = IsWindowVisible(w) != FALSE;
        return 0;
    };
    HWND window = TopLevel(0, 0, 100, 100);
    EXPECT_FALSE(visibleAtCreate);
    EXPECT_TRUE(IsWindowVisible(window));
    std::vector<UINT> creation = record.MessagesOf(window, {WM_NCCREATE, WM_CREATE, WM_SHOWWINDOW});
    EXPECT_EQ(creation, (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SHOWWINDOW}));
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_EQ(GetFocus(), window);
    EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE, 0);
}

TEST_F(WindowTest, CreationRefusedByTheProcedureLeavesNoWindow) {
    record.reactions[WM_CREATE] = [](HWND, WPARAM, LPARAM) -> std::optional<LRESULT> { return -1; };
    EXPECT_EQ(TopLevel(0, 0, 10, 10), nullptr);
    EXPECT_EQ(FindWindowA(kRecordingClass, nullptr), nullptr);
    record.reactions.clear();
    headless::FailNext(headless::FailingCall::CreateWindow);
    EXPECT_EQ(TopLevel(0, 0, 10, 10), nullptr);
    EXPECT_NE(TopLevel(0, 0, 10, 10), nullptr);
}

TEST_F(WindowTest, ShowWindowReportsThePreviousStateAndSendsShowWindow) {
    HWND window = TopLevel(0, 0, 100, 100, WS_POPUP);
    record.log.clear();
    EXPECT_FALSE(ShowWindow(window, SW_SHOWNA));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(GetForegroundWindow(), window);  // SW_SHOWNA does not activate
    EXPECT_TRUE(ShowWindow(window, SW_SHOW));
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_TRUE(ShowWindow(window, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(ShowWindow(window, SW_HIDE));
    ASSERT_EQ(record.MessagesOf(window, {WM_SHOWWINDOW}).size(), 2u);
}

TEST_F(WindowTest, AChildFillingItsParentCoversTheClientArea) {
    HWND parent = TopLevel(30, 40, 200, 150);
    RECT client;
    GetClientRect(parent, &client);
    HWND child = Child(parent, 1, 0, 0, client.right, client.bottom);
    RECT parentRect;
    RECT childRect;
    GetWindowRect(parent, &parentRect);
    GetWindowRect(child, &childRect);
    EXPECT_EQ(childRect.left, parentRect.left);
    EXPECT_EQ(childRect.top, parentRect.top);
    EXPECT_EQ(childRect.right, parentRect.right);
    EXPECT_EQ(childRect.bottom, parentRect.bottom);
    EXPECT_EQ(GetParent(child), parent);
}

TEST_F(WindowTest, FocusChangesAreAnnouncedToBothWindows) {
    HWND parent = TopLevel(0, 0, 100, 100);
    HWND a = Child(parent, 1, 0, 0, 10, 10);
    HWND b = Child(parent, 2, 10, 0, 10, 10);
    EXPECT_EQ(SetFocus(a), parent);
    record.log.clear();
    EXPECT_EQ(SetFocus(b), a);
    ASSERT_EQ(record.log.size(), 2u);
    EXPECT_EQ(record.log[0].window, a);
    EXPECT_EQ(record.log[0].message, static_cast<UINT>(WM_KILLFOCUS));
    EXPECT_EQ(reinterpret_cast<HWND>(record.log[0].wParam), b);
    EXPECT_EQ(record.log[1].window, b);
    EXPECT_EQ(record.log[1].message, static_cast<UINT>(WM_SETFOCUS));
    EXPECT_EQ(reinterpret_cast<HWND>(record.log[1].wParam), a);
    EXPECT_EQ(GetFocus(), b);
    // The same window again changes nothing; a disabled one cannot take it.
    record.log.clear();
    EXPECT_EQ(SetFocus(b), b);
    EXPECT_TRUE(record.log.empty());
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(GetFocus(), b);
    DestroyWindow(b);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowTest, ForegroundFollowsSetForegroundWindowAndForgetsDestroyedWindows) {
    HWND first = TopLevel(0, 0, 100, 100);
    HWND second = TopLevel(0, 0, 100, 100);
    EXPECT_EQ(GetForegroundWindow(), second);
    EXPECT_TRUE(SetForegroundWindow(first));
    EXPECT_EQ(GetForegroundWindow(), first);
    EXPECT_EQ(headless::ForegroundRequests(), (std::vector<HWND>{first}));
    headless::SetForeground(nullptr);  // the user switched to another program
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    SetForegroundWindow(second);
    DestroyWindow(second);
    EXPECT_EQ(GetForegroundWindow(), nullptr);
}

TEST_F(WindowTest, FindWindowMatchesTopLevelClassAndTitleOnly) {
    HWND saver = TopLevel(0, 0, 10, 10, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, "Screen Saver");
    HWND owned = CreateWindowExA(0, kRecordingClass, "Owned", WS_POPUP, 0, 0, 10, 10, saver, nullptr, nullptr,
                                 nullptr);
    Child(saver, 1, 0, 0, 5, 5);  // titled "child": children are not searched
    EXPECT_EQ(FindWindowA(kRecordingClass, "Screen Saver"), saver);
    EXPECT_EQ(FindWindowA(kRecordingClass, "Owned"), owned);
    EXPECT_EQ(FindWindowA(kRecordingClass, "child"), nullptr);
    EXPECT_EQ(FindWindowA("NoSuchClass", "Screen Saver"), nullptr);
    EXPECT_EQ(FindWindowA(kRecordingClass, "screen saver"), nullptr);  // titles compare exactly
}

TEST_F(WindowTest, DesktopWindowIsTheWholeScreenAndCannotBeDestroyed) {
    headless::SetScreenSize(800, 600);
    HWND desktop = GetDesktopWindow();
    EXPECT_TRUE(IsWindow(desktop));
    EXPECT_EQ(GetDesktopWindow(), desktop);
    RECT rect;
    ASSERT_TRUE(GetClientRect(desktop, &rect));
    EXPECT_EQ(rect.right, 800);
    EXPECT_EQ(rect.bottom, 600);
    EXPECT_FALSE(DestroyWindow(desktop));
    EXPECT_EQ(FindWindowA("#32769", nullptr), nullptr);  // not one of the program's windows
}

using DefWindowProcTest = LayerTest;

TEST_F(DefWindowProcTest, CloseDestroysAndSysCommandCloseCloses) {
    HWND a = TopLevel(0, 0, 10, 10);
    HWND b = TopLevel(0, 0, 10, 10);
    EXPECT_EQ(SendMessageA(a, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(a));
    record.log.clear();
    SendMessageA(b, WM_SYSCOMMAND, SC_CLOSE | 0x2, 0);  // the low bits are the system's own
    EXPECT_FALSE(IsWindow(b));
    EXPECT_EQ(record.Count(b, WM_CLOSE), 1u);
}

TEST_F(DefWindowProcTest, TextIsStoredAndReadBackCutToTheBuffer) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    EXPECT_TRUE(SetWindowTextA(window, "Screen Saver"));
    EXPECT_EQ(GetWindowTextLengthA(window), 12);
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetWindowTextA(window, buffer, 7), 6);
    EXPECT_STREQ(buffer, "Screen");
    EXPECT_EQ(buffer[7], 'x');
    EXPECT_EQ(SendMessageA(window, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
}

TEST_F(DefWindowProcTest, HitTestAnswersClientInsideAndNowhereOutside) {
    HWND window = TopLevel(100, 100, 50, 50, WS_POPUP);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(120, 120)), HTCLIENT);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(10, 10)), HTNOWHERE);
    EXPECT_EQ(SendMessageA(window, WM_NCCREATE, 0, 0), TRUE);
    EXPECT_EQ(SendMessageA(window, WM_MOUSEACTIVATE, 0, 0), MA_ACTIVATE);
    EXPECT_EQ(SendMessageA(window, WM_USER + 5, 1, 2), 0);
}

TEST_F(DefWindowProcTest, PaintValidatesTheWindow) {
    HWND window = TopLevel(0, 0, 10, 10);
    InvalidateRect(window, nullptr, TRUE);
    EXPECT_EQ(DefWindowProcA(window, WM_PAINT, 0, 0), 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

struct EraseCase {
    const char* name;
    HBRUSH brush;
    BYTE expected;  // the grey level the client area shows
};

class EraseBackgroundTest : public LayerTest, public ::testing::WithParamInterface<EraseCase> {};

TEST_P(EraseBackgroundTest, ThePaintOfADefaultWindowFillsItWithTheClassBrush) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hbrBackground = GetParam().brush;
    windowClass.lpszClassName = "Erased";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    HWND window = CreateWindowExA(0, "Erased", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr, nullptr,
                                  nullptr);
    Pump();  // WM_PAINT to DefWindowProcA, which erases on the way
    headless::Frame frame;
    ASSERT_TRUE(headless::ReadWindowSurface(window, &frame));
    for (auto [x, y] : {std::pair{0, 0}, std::pair{39, 29}, std::pair{20, 15}}) {
        const uint8_t* pixel = frame.Pixel(x, y);
        EXPECT_EQ(pixel[0], GetParam().expected) << x << "," << y;
        EXPECT_EQ(pixel[1], GetParam().expected);
        EXPECT_EQ(pixel[2], GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Brushes, EraseBackgroundTest,
    ::testing::Values(EraseCase{"white", static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), 255},
                      EraseCase{"grey", static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)), 128},
                      EraseCase{"systemColourOfButtonFace",
                                reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1)),
                                static_cast<BYTE>(GetSysColor(COLOR_BTNFACE) & 0xFF)},
                      EraseCase{"none", nullptr, 0}),
    [](const ::testing::TestParamInfo<EraseCase>& info) { return std::string(info.param.name); });

class SetCursorDefaultTest : public LayerTest {
protected:
    void SetUp() override {
        classCursor = LoadCursorA(nullptr, IDC_ARROW);
        LayerTest::SetUp();
    }
};

TEST_F(SetCursorDefaultTest, SetsTheClassCursorOverTheClientAreaAfterAskingTheParent) {
    HWND parent = TopLevel(0, 0, 100, 100);
    HWND child = Child(parent, 1, 0, 0, 10, 10);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(nullptr);
    EXPECT_EQ(SendMessageA(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              FALSE);
    EXPECT_EQ(headless::CurrentCursor(), arrow);
    ASSERT_GE(record.log.size(), 2u);
    EXPECT_EQ(record.Count(parent, WM_SETCURSOR), 1u);  // asked first

    // A parent that answers TRUE keeps the cursor its own business.
    SetCursor(nullptr);
    record.reactions[WM_SETCURSOR] = [&](HWND w, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return w == parent ? std::optional<LRESULT>(TRUE) : std::nullopt;
    };
    EXPECT_EQ(SendMessageA(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(headless::CurrentCursor(), nullptr);

    // Outside the client area nothing is set.
    record.reactions.clear();
    EXPECT_EQ(SendMessageA(parent, WM_SETCURSOR, reinterpret_cast<WPARAM>(parent), MAKELPARAM(HTNOWHERE, WM_MOUSEMOVE)),
              FALSE);
    EXPECT_EQ(headless::CurrentCursor(), nullptr);
}

}  // namespace
}  // namespace platform_test
