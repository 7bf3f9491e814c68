// The link hot-spot control: attaching, its message table, clicks, cursor,
// painting and the release of its record.
#include "about/hand_cursor.h"
#include "about/link_control.h"
#include "platform/core/controls.h"
#include "platform/core/window.h"
#include "tests/about/about_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace about_test;

namespace {

constexpr int kLinkId = 1007;
constexpr int kRecorderId = 1008;
constexpr LRESULT kRecorderAnswer = 77;

// A stand-in for the control's previous procedure: it records what reaches it.
std::vector<UINT> recorded;

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    recorded.push_back(message);
    LRESULT result = DefWindowProcA(window, message, wParam, lParam);
    return message == WM_SETTEXT || message >= WM_USER ? kRecorderAnswer : result;
}

bool Saw(UINT message) {
    return std::find(recorded.begin(), recorded.end(), message) != recorded.end();
}

class LinkControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::Reset();
        linkPressed = 0;
        recorded.clear();
        WNDCLASSA recorder{};
        recorder.lpfnWndProc = RecorderProc;
        recorder.lpszClassName = "AboutTestRecorder";
        RegisterClassA(&recorder);
        parent = MakeWhiteParent(320, 120);
        control = MakeStatic(kLinkId, SS_LEFT, 10, 10);
    }

    // The controls go with their parent, and their records with them.
    void TearDown() override {
        DestroyWindow(parent);
        EXPECT_EQ(headless::LiveHeapBlocks(), 0u);
    }

    HWND MakeStatic(int id, DWORD style, int x, int y) {
        return CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | style, x, y, 200, 40, parent,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleA(nullptr),
                               nullptr);
    }

    HWND MakeRecorder() {
        return CreateWindowExA(0, "AboutTestRecorder", "", WS_CHILD | WS_VISIBLE, 10, 60, 200, 40, parent,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(kRecorderId)),
                               GetModuleHandleA(nullptr), nullptr);
    }

    static LinkControlData* RecordOf(HWND window) {
        return reinterpret_cast<LinkControlData*>(GetWindowLongA(window, GWL_USERDATA));
    }

    static void Click(HWND window) {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    HWND parent = nullptr;
    HWND control = nullptr;
};

TEST_F(LinkControlTest, AttachSubclassesAndAddsOnlyTheNotifyStyle) {
    LONG_PTR styleBefore = GetWindowLongA(control, GWL_STYLE);
    LONG_PTR procBefore = GetWindowLongA(control, GWL_WNDPROC);
    EXPECT_EQ(AttachLinkControl(parent, kLinkId, "http://a.example/", static_cast<COLORREF>(-1)), 1);
    EXPECT_EQ(GetWindowLongA(control, GWL_STYLE), styleBefore | SS_NOTIFY);
    EXPECT_EQ(GetWindowLongA(control, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(LinkControlProc));
    LinkControlData* record = RecordOf(control);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(record->previousProc), procBefore);
    EXPECT_STREQ(record->url, "http://a.example/");
    EXPECT_EQ(record->visitedColour, 0x00800080u);
}

TEST_F(LinkControlTest, ColourArgumentGivesTheStartingColour) {
    struct Case {
        COLORREF given;
        COLORREF expected;
    };
    const Case cases[] = {
        {static_cast<COLORREF>(-1), 0x00FF0000},  // the default: pure blue
        {0x0000FF00, 0x0000FF00},
        {0x00000000, 0x00000000},
        {0x00FFFFFF, 0x00FFFFFF},
        {0xFFFFFFFE, 0xFFFFFFFE},  // only -1 itself means the default
    };
    int id = 2000;
    for (const Case& c : cases) {
        HWND link = MakeStatic(++id, SS_LEFT, 10, 10);
        AttachLinkControl(parent, id, "x", c.given);
        ASSERT_NE(RecordOf(link), nullptr);
        EXPECT_EQ(RecordOf(link)->textColour, c.expected) << std::hex << c.given;
    }
}

TEST_F(LinkControlTest, TargetIsCutTo259CharactersAndTerminated) {
    std::string longTarget(300, 'a');
    longTarget[258] = 'b';
    longTarget[259] = 'c';
    AttachLinkControl(parent, kLinkId, longTarget.c_str(), static_cast<COLORREF>(-1));
    LinkControlData* record = RecordOf(control);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::string(record->url), longTarget.substr(0, 259));
    EXPECT_EQ(record->url[259], '\0');
}

TEST_F(LinkControlTest, NullTargetLeavesTheUrlEmpty) {
    AttachLinkControl(parent, kLinkId, nullptr, static_cast<COLORREF>(-1));
    ASSERT_NE(RecordOf(control), nullptr);
    EXPECT_STREQ(RecordOf(control)->url, "");
}

TEST_F(LinkControlTest, MissingControlAllocatesNothingAndReturnsOne) {
    size_t blocks = headless::LiveHeapBlocks();
    EXPECT_EQ(AttachLinkControl(parent, 4242, "http://a.example/", static_cast<COLORREF>(-1)), 1);
    EXPECT_EQ(headless::LiveHeapBlocks(), blocks);
    EXPECT_EQ(AttachLinkControl(nullptr, kLinkId, "http://a.example/", static_cast<COLORREF>(-1)), 1);
    EXPECT_EQ(headless::LiveHeapBlocks(), blocks);
}

TEST_F(LinkControlTest, FailedAllocationLeavesAPlainStaticControl) {
    LONG_PTR styleBefore = GetWindowLongA(control, GWL_STYLE);
    LONG_PTR procBefore = GetWindowLongA(control, GWL_WNDPROC);
    headless::FailNextHeapAlloc();
    EXPECT_EQ(AttachLinkControl(parent, kLinkId, "http://a.example/", static_cast<COLORREF>(-1)), 1);
    EXPECT_EQ(GetWindowLongA(control, GWL_STYLE), styleBefore);
    EXPECT_EQ(GetWindowLongA(control, GWL_WNDPROC), procBefore);
    EXPECT_EQ(GetWindowLongA(control, GWL_USERDATA), 0);
    EXPECT_EQ(SendMessageA(control, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    Click(control);
    EXPECT_TRUE(headless::ShellExecuteCalls().empty());
}

// What the control answers itself and what it hands to its previous procedure.
TEST_F(LinkControlTest, MessageTable) {
    HWND recorder = MakeRecorder();
    AttachLinkControl(parent, kRecorderId, "http://a.example/", static_cast<COLORREF>(-1));
    struct Case {
        UINT message;
        LPARAM lParam;
        LRESULT expected;
        bool passedOn;
    };
    const Case cases[] = {
        {WM_NCHITTEST, 0, HTCLIENT, false},
        {WM_SETCURSOR, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), TRUE, false},
        {WM_PAINT, 0, 0, false},
        {WM_SETTEXT, reinterpret_cast<LPARAM>("new"), kRecorderAnswer, true},
        {WM_USER + 5, 0, kRecorderAnswer, true},
        {WM_LBUTTONDOWN, MAKELPARAM(1, 1), 0, true},
    };
    for (const Case& c : cases) {
        recorded.clear();
        EXPECT_EQ(SendMessageA(recorder, c.message, 0, c.lParam), c.expected) << std::hex << c.message;
        EXPECT_EQ(Saw(c.message), c.passedOn) << std::hex << c.message;
    }
}

TEST_F(LinkControlTest, SetTextInvalidatesWithoutErase) {
    HWND recorder = MakeRecorder();
    AttachLinkControl(parent, kRecorderId, "http://a.example/", static_cast<COLORREF>(-1));
    ValidateRect(recorder, nullptr);
    EXPECT_EQ(SendMessageA(recorder, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("text")), kRecorderAnswer);
    const layer::Window* window = layer::FindWindowObject(recorder);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->needsPaint);
    EXPECT_FALSE(window->needsErase);
    char text[16] = {};
    GetWindowTextA(recorder, text, sizeof text);
    EXPECT_STREQ(text, "text");
}

TEST_F(LinkControlTest, HitTestIsClientWhateverTheStyle) {
    AttachLinkControl(parent, kLinkId, "x", static_cast<COLORREF>(-1));
    const DWORD styles[] = {WS_CHILD | SS_LEFT, WS_CHILD | SS_CENTER | SS_CENTERIMAGE, WS_CHILD | SS_BITMAP,
                            WS_CHILD | WS_DISABLED};
    for (DWORD style : styles) {
        SetWindowLongA(control, GWL_STYLE, style);  // SS_NOTIFY taken away again
        EXPECT_EQ(SendMessageA(control, WM_NCHITTEST, 0, MAKELPARAM(500, 500)), HTCLIENT) << std::hex << style;
    }
}

TEST_F(LinkControlTest, CursorIsTheHandMadeOnceForAllLinks) {
    HWND second = MakeStatic(1010, SS_LEFT, 10, 60);
    AttachLinkControl(parent, kLinkId, "x", static_cast<COLORREF>(-1));
    AttachLinkControl(parent, 1010, "y", static_cast<COLORREF>(-1));
    EXPECT_EQ(SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), 0), TRUE);
    HCURSOR hand = linkCursor;
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(headless::CurrentCursor(), hand);
    EXPECT_EQ(SendMessageA(second, WM_SETCURSOR, reinterpret_cast<WPARAM>(second), 0), TRUE);
    EXPECT_EQ(linkCursor, hand);
    EXPECT_EQ(headless::SetCursorCalls(), (std::vector<HCURSOR>{hand, hand}));

    headless::CursorImage image;
    ASSERT_TRUE(headless::ReadCursor(hand, &image));
    EXPECT_EQ(image.hotX, 5);
    EXPECT_EQ(image.hotY, 2);
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.height, 32);
    EXPECT_EQ(image.andPlane, std::vector<BYTE>(handCursorAndPlane.begin(), handCursorAndPlane.end()));
    EXPECT_EQ(image.xorPlane, std::vector<BYTE>(handCursorXorPlane.begin(), handCursorXorPlane.end()));
}

TEST_F(LinkControlTest, ClickOpensTheTargetOncePerPressAndTurnsVisited) {
    AttachLinkControl(parent, kLinkId, "http://a.example/", static_cast<COLORREF>(-1));
    Click(control);
    ASSERT_EQ(headless::ShellExecuteCalls().size(), 1u);
    const headless::ShellExecuteCall& call = headless::ShellExecuteCalls()[0];
    EXPECT_EQ(call.owner, nullptr);
    EXPECT_EQ(call.verb, "open");
    EXPECT_EQ(call.file, "http://a.example/");
    EXPECT_FALSE(call.parameters.has_value());
    EXPECT_FALSE(call.directory.has_value());
    EXPECT_EQ(call.show, SW_SHOWNORMAL);
    EXPECT_EQ(RecordOf(control)->textColour, 0x00800080u);
    EXPECT_EQ(linkPressed, 0);

    // A release without a new press does nothing; a second click opens again.
    SendMessageA(control, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(headless::ShellExecuteCalls().size(), 1u);
    Click(control);
    EXPECT_EQ(headless::ShellExecuteCalls().size(), 2u);
    EXPECT_EQ(RecordOf(control)->textColour, 0x00800080u);
}

TEST_F(LinkControlTest, PressIsSharedByAllLinks) {
    HWND second = MakeStatic(1010, SS_LEFT, 10, 60);
    AttachLinkControl(parent, kLinkId, "http://first.example/", static_cast<COLORREF>(-1));
    AttachLinkControl(parent, 1010, "http://second.example/", static_cast<COLORREF>(-1));
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(linkPressed, 1);
    SendMessageA(second, WM_LBUTTONUP, 0, 0);
    ASSERT_EQ(headless::ShellExecuteCalls().size(), 1u);
    EXPECT_EQ(headless::ShellExecuteCalls()[0].file, "http://second.example/");
    EXPECT_EQ(RecordOf(control)->textColour, 0x00FF0000u);
    EXPECT_EQ(RecordOf(second)->textColour, 0x00800080u);
}

TEST_F(LinkControlTest, ReleaseIsPassedOnWhetherPressedOrNot) {
    HWND recorder = MakeRecorder();
    AttachLinkControl(parent, kRecorderId, "http://a.example/", static_cast<COLORREF>(-1));
    SendMessageA(recorder, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(Saw(WM_LBUTTONUP));
    EXPECT_TRUE(headless::ShellExecuteCalls().empty());
    recorded.clear();
    Click(recorder);
    EXPECT_TRUE(Saw(WM_LBUTTONDOWN));
    EXPECT_TRUE(Saw(WM_LBUTTONUP));
    EXPECT_EQ(headless::ShellExecuteCalls().size(), 1u);
}

TEST_F(LinkControlTest, EmptyUrlOpensTheWindowTextOfTheMomentCut) {
    AttachLinkControl(parent, kLinkId, "", static_cast<COLORREF>(-1));
    SetWindowTextA(control, "http://early.example/");
    std::string longText(300, 'z');
    SetWindowTextA(control, longText.c_str());
    Click(control);
    ASSERT_EQ(headless::ShellExecuteCalls().size(), 1u);
    EXPECT_EQ(headless::ShellExecuteCalls()[0].file, longText.substr(0, 259));
}

TEST_F(LinkControlTest, EmptyUrlAndEmptyTextOpensAnEmptyName) {
    AttachLinkControl(parent, kLinkId, nullptr, static_cast<COLORREF>(-1));
    Click(control);
    ASSERT_EQ(headless::ShellExecuteCalls().size(), 1u);
    EXPECT_EQ(headless::ShellExecuteCalls()[0].file, "");
    EXPECT_NE(layer::FindWindowObject(control), nullptr);
}

TEST_F(LinkControlTest, RecordIsFreedWhenTheControlGoes) {
    HWND recorder = MakeRecorder();
    size_t blocks = headless::LiveHeapBlocks();
    AttachLinkControl(parent, kRecorderId, "http://a.example/", static_cast<COLORREF>(-1));
    EXPECT_EQ(headless::LiveHeapBlocks(), blocks + 1);
    DestroyWindow(recorder);
    EXPECT_EQ(headless::LiveHeapBlocks(), blocks);
    EXPECT_TRUE(Saw(WM_NCDESTROY));
}

// Where the text lands for the style bits SS_CENTER, SS_RIGHT, SS_CENTERIMAGE.
TEST_F(LinkControlTest, PaintPlacesTheTextByTheStyleBits) {
    enum Across { Left, Centre, Right };
    enum Down { Top, Middle };
    struct Case {
        DWORD style;
        Across across;
        Down down;
    };
    const Case cases[] = {
        {SS_LEFT, Left, Top},
        {SS_CENTER, Centre, Top},
        {SS_RIGHT, Right, Top},
        {SS_CENTERIMAGE, Left, Middle},
        {SS_CENTER | SS_CENTERIMAGE, Centre, Middle},
        {SS_RIGHT | SS_CENTERIMAGE, Right, Middle},
    };
    int id = 3000;
    for (const Case& c : cases) {
        HWND link = MakeStatic(++id, c.style, 10, 10);
        SetWindowTextA(link, "Link");
        AttachLinkControl(parent, id, "x", static_cast<COLORREF>(-1));
        PaintNow(parent);
        headless::Frame frame;
        ASSERT_TRUE(headless::ReadWindowSurface(link, &frame));
        Box ink = BoxOf(frame, IsBlueInk);
        ASSERT_TRUE(ink.found) << std::hex << c.style;
        int middleX = (ink.left + ink.right) / 2;
        int middleY = (ink.top + ink.bottom) / 2;
        switch (c.across) {
            case Left:
                EXPECT_LE(ink.left, 2) << std::hex << c.style;
                break;
            case Centre:
                EXPECT_NEAR(middleX, 100, 3) << std::hex << c.style;
                break;
            case Right:
                EXPECT_GE(ink.right, 197) << std::hex << c.style;
                break;
        }
        if (c.down == Top) {
            EXPECT_LE(ink.top, 4) << std::hex << c.style;
        } else {
            EXPECT_NEAR(middleY, 20, 3) << std::hex << c.style;
        }
        DestroyWindow(link);
    }
}

// The text is underlined in the link colour, then in the visited colour.
TEST_F(LinkControlTest, TextIsUnderlinedInTheLinkThenTheVisitedColour) {
    SetWindowTextA(control, "Link");
    AttachLinkControl(parent, kLinkId, "x", static_cast<COLORREF>(-1));
    auto underlineColour = [&](uint8_t* rgbOut) {
        PaintNow(parent);
        headless::Frame frame;
        EXPECT_TRUE(headless::ReadWindowSurface(control, &frame));
        Box ink = BoxOf(frame, IsInk);
        // The underline is the lowest row of ink; it runs unbroken under the text.
        int row = ink.bottom - 1;
        std::copy(frame.Pixel(ink.left, row), frame.Pixel(ink.left, row) + 3, rgbOut);
        int run = 0;
        while (ink.left + run < frame.width) {
            const uint8_t* p = frame.Pixel(ink.left + run, row);
            if (p[0] != rgbOut[0] || p[1] != rgbOut[1] || p[2] != rgbOut[2]) {
                break;
            }
            ++run;
        }
        return run;
    };
    uint8_t rgb[3];
    EXPECT_GE(underlineColour(rgb), 15);
    EXPECT_EQ(rgb[0], 0);
    EXPECT_EQ(rgb[1], 0);
    EXPECT_EQ(rgb[2], 255);
    Click(control);
    EXPECT_GE(underlineColour(rgb), 15);
    EXPECT_EQ(rgb[0], 128);
    EXPECT_EQ(rgb[1], 0);
    EXPECT_EQ(rgb[2], 128);
}

TEST_F(LinkControlTest, EmptyTextPaintsNothing) {
    AttachLinkControl(parent, kLinkId, "x", static_cast<COLORREF>(-1));
    PaintNow(parent);
    headless::Frame frame;
    ASSERT_TRUE(headless::ReadWindowSurface(control, &frame));
    EXPECT_FALSE(BoxOf(frame, IsNotWhite).found);
}

}  // namespace
