// The system controls the about box is made of, and the painting they rely
// on: static text and pictures, the push button, paint order and the
// BeginPaint / UpdateWindow contract.
#include "platform/core/controls.h"
#include "platform/core/paint.h"
#include "platform/core/window.h"
#include "tests/about/about_test_support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace about_test;

namespace {

// Everything a test window receives, for the parent's notifications and the
// painting contract.
struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Received> received;
PAINTSTRUCT lastPaint;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back(Received{message, wParam, lParam});
    switch (message) {
        case WM_PAINT:
            BeginPaint(window, &lastPaint);
            EndPaint(window, &lastPaint);
            return 0;
        case WM_ERASEBKGND:
            return 0;  // leaves the erasing to the painting
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

std::vector<Received> ReceivedOf(UINT message) {
    std::vector<Received> found;
    for (const Received& r : received) {
        if (r.message == message) {
            found.push_back(r);
        }
    }
    return found;
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::Reset();
        received.clear();
        WNDCLASSA recording{};
        recording.lpfnWndProc = RecordingProc;
        recording.lpszClassName = "AboutTestRecordingParent";
        RegisterClassA(&recording);
        parent = CreateWindowExA(0, "AboutTestRecordingParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND Make(const char* className, const char* text, DWORD style, int id, RECT r, DWORD exStyle = 0) {
        return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, parent,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleA(nullptr),
                               nullptr);
    }

    HWND parent = nullptr;
};

TEST_F(ControlsTest, StaticTakesTheMouseAndNotifiesOnlyWithNotifyStyle) {
    struct Case {
        DWORD style;
        LRESULT hit;
        bool notifies;
    };
    const Case cases[] = {
        {SS_LEFT, HTTRANSPARENT, false},
        {SS_CENTER, HTTRANSPARENT, false},
        {SS_LEFT | SS_NOTIFY, HTCLIENT, true},
        {SS_RIGHT | SS_NOTIFY, HTCLIENT, true},
    };
    int id = 100;
    for (const Case& c : cases) {
        HWND control = Make("Static", "text", c.style, ++id, RECT{0, 0, 50, 20});
        received.clear();
        EXPECT_EQ(SendMessageA(control, WM_NCHITTEST, 0, 0), c.hit);
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageA(control, WM_LBUTTONUP, 0, 0);
        std::vector<Received> commands = ReceivedOf(WM_COMMAND);
        if (c.notifies) {
            ASSERT_EQ(commands.size(), 1u);
            EXPECT_EQ(commands[0].wParam, MAKEWPARAM(id, STN_CLICKED));
            EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(control));
        } else {
            EXPECT_TRUE(commands.empty());
        }
    }
}

TEST_F(ControlsTest, BitmapStaticTakesItsImageSizeOrIsNotCreated) {
    HWND picture = Make("Static", "#117", SS_BITMAP, 1, RECT{5, 5, 10, 10});
    ASSERT_NE(picture, nullptr);
    RECT client;
    GetClientRect(picture, &client);
    EXPECT_EQ(client.right, 327);
    EXPECT_EQ(client.bottom, 315);
    char text[8] = {'x'};
    EXPECT_EQ(GetWindowTextA(picture, text, sizeof text), 0);

    const char* missing[] = {"#999", "", "\xFF"};
    for (const char* name : missing) {
        EXPECT_EQ(Make("Static", name, SS_BITMAP, 2, RECT{0, 0, 10, 10}), nullptr) << name;
    }
}

TEST_F(ControlsTest, ButtonClicksOnReleaseInsideOnly) {
    HWND button = Make("Button", "Exit", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, RECT{10, 10, 96, 38});
    EXPECT_EQ(SendMessageA(button, WM_NCHITTEST, 0, 0), HTCLIENT);
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);

    struct Case {
        const char* what;
        std::vector<Received> input;
        size_t clicks;
    };
    const Case cases[] = {
        {"press and release inside",
         {{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)}, {WM_LBUTTONUP, 0, MAKELPARAM(6, 6)}},
         1},
        {"release outside", {{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)}, {WM_LBUTTONUP, 0, MAKELPARAM(200, 6)}}, 0},
        {"release without a press", {{WM_LBUTTONUP, 0, MAKELPARAM(5, 5)}}, 0},
        {"button let go elsewhere, then a release",
         {{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)}, {WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)},
          {WM_LBUTTONUP, 0, MAKELPARAM(5, 5)}},
         0},
        {"space bar", {{WM_KEYDOWN, VK_SPACE, 0}, {WM_KEYUP, VK_SPACE, 0}}, 1},
        {"space released without a press", {{WM_KEYUP, VK_SPACE, 0}}, 0},
    };
    for (const Case& c : cases) {
        received.clear();
        for (const Received& r : c.input) {
            SendMessageA(button, r.message, r.wParam, r.lParam);
        }
        std::vector<Received> commands = ReceivedOf(WM_COMMAND);
        ASSERT_EQ(commands.size(), c.clicks) << c.what;
        for (const Received& command : commands) {
            EXPECT_EQ(command.wParam, MAKEWPARAM(IDOK, BN_CLICKED)) << c.what;
            EXPECT_EQ(command.lParam, reinterpret_cast<LPARAM>(button)) << c.what;
        }
    }
    HWND plain = Make("Button", "Other", BS_PUSHBUTTON, 5, RECT{10, 50, 96, 78});
    EXPECT_EQ(SendMessageA(plain, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
}

TEST_F(ControlsTest, TransparentSiblingsPaintAfterThoseBeneathThem) {
    // Creation order is stacking order, the first on top.
    HWND topTransparent = Make("Static", "", SS_LEFT, 1, RECT{0, 0, 10, 10}, WS_EX_TRANSPARENT);
    HWND opaque = Make("Static", "", SS_LEFT, 2, RECT{0, 0, 10, 10});
    HWND lowTransparent = Make("Static", "", SS_LEFT, 3, RECT{0, 0, 10, 10}, WS_EX_TRANSPARENT);
    HWND bottom = Make("Static", "", SS_LEFT, 4, RECT{0, 0, 10, 10});
    EXPECT_EQ(layer::PaintOrder(parent), (std::vector<HWND>{opaque, bottom, lowTransparent, topTransparent}));
}

TEST_F(ControlsTest, TransparentTextStaysVisibleOverAPictureBeneathIt) {
    HWND text = Make("Static", "MMMM", SS_LEFT, 1, RECT{20, 20, 120, 40}, WS_EX_TRANSPARENT);
    HWND picture = Make("Static", "#117", SS_BITMAP, 2, RECT{0, 0, 10, 10});
    ASSERT_NE(picture, nullptr);
    PaintNow(parent);
    headless::Frame frame;
    ASSERT_TRUE(headless::ReadWindowSurface(text, &frame));
    // Black text drawn over the picture's colours.
    Box ink = BoxOf(frame, [](const uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; });
    EXPECT_TRUE(ink.found);
    EXPECT_GT(ink.right - ink.left, 20);
}

TEST_F(ControlsTest, UpdateWindowPaintsOnlyWhatIsInvalid) {
    ValidateRect(parent, nullptr);
    received.clear();
    UpdateWindow(parent);
    EXPECT_TRUE(ReceivedOf(WM_PAINT).empty());

    RECT part{10, 20, 30, 40};
    InvalidateRect(parent, &part, TRUE);
    UpdateWindow(parent);
    ASSERT_EQ(ReceivedOf(WM_PAINT).size(), 1u);
    ASSERT_EQ(ReceivedOf(WM_ERASEBKGND).size(), 1u);
    EXPECT_TRUE(lastPaint.fErase);  // its WM_ERASEBKGND did not erase
    EXPECT_EQ(lastPaint.rcPaint.left, 10);
    EXPECT_EQ(lastPaint.rcPaint.top, 20);
    EXPECT_EQ(lastPaint.rcPaint.right, 30);
    EXPECT_EQ(lastPaint.rcPaint.bottom, 40);

    received.clear();
    UpdateWindow(parent);
    EXPECT_TRUE(ReceivedOf(WM_PAINT).empty());
    InvalidateRect(parent, nullptr, FALSE);
    UpdateWindow(parent);
    EXPECT_EQ(ReceivedOf(WM_PAINT).size(), 1u);
    EXPECT_TRUE(ReceivedOf(WM_ERASEBKGND).empty());
    EXPECT_FALSE(lastPaint.fErase);
}

TEST_F(ControlsTest, PaintCallsRefuseBadArguments) {
    PAINTSTRUCT paint;
    EXPECT_EQ(BeginPaint(reinterpret_cast<HWND>(0x5555), &paint), nullptr);
    EXPECT_EQ(BeginPaint(parent, nullptr), nullptr);
    EXPECT_FALSE(EndPaint(parent, nullptr));
    EXPECT_FALSE(UpdateWindow(reinterpret_cast<HWND>(0x5555)));
}

}  // namespace
