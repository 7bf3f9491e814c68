// The about box run modally on the headless host: its results, its owner,
// its geometry, the hot-spot and what it looks like.
#include "about/about_dialog.h"
#include "about/link_control.h"
#include "platform/core/controls.h"
#include "platform/core/resources.h"
#include "shell/shell_state.h"
#include "tests/about/about_test_support.h"
#include "tools/png_file.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using headless::Button;

// Screen positions with no owner: the client area starts at the template's
// (-20, -20) dialog units, (-30, -33) pixels.
constexpr POINT kClientOrigin{-30, -33};
constexpr RECT kButton{123, 284, 209, 312};   // client coordinates
constexpr RECT kHotSpot{59, 262, 271, 280};   // client coordinates

POINT CentreOnScreen(const RECT& r, POINT origin = kClientOrigin) {
    return POINT{origin.x + (r.left + r.right) / 2, origin.y + (r.top + r.bottom) / 2};
}

// Runs functions from inside the modal loop: timers of a hidden window,
// one a function.
std::vector<std::function<void()>> probeActions;

void CALLBACK ProbeTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    if (id >= 1 && id <= probeActions.size()) {
        probeActions[id - 1]();
    }
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND FindAboutBox() {
    return FindWindowA(OSTREL_DIALOG_CLASS, nullptr);
}

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::Reset();
        headless::SetRunLimit(20000);
        shellState = ShellState{};
        shellState.appInstance = GetModuleHandleA(nullptr);
        linkPressed = 0;
        probeActions.clear();
        originalImage = layer::ResourceImageBytes(&originalSize);
    }

    void TearDown() override {
        layer::SetResourceImage(originalImage, originalSize);
        probeActions.clear();
    }

    // Calls `action` from inside the dialog's loop `delay` ms from now.
    void ProbeAt(DWORD delay, std::function<void()> action) {
        WNDCLASSA probeClass{};
        probeClass.lpfnWndProc = ProbeProc;
        probeClass.lpszClassName = "AboutTestProbe";
        RegisterClassA(&probeClass);
        HWND probe = CreateWindowExA(0, "AboutTestProbe", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        probeActions.push_back(std::move(action));
        SetTimer(probe, probeActions.size(), delay, ProbeTimer);
    }

    static void ClickAt(DWORD at, POINT p) {
        headless::Schedule(at, headless::MouseMove(p.x, p.y));
        headless::Schedule(at + 10, headless::ButtonDown(Button::Left));
        headless::Schedule(at + 20, headless::ButtonUp(Button::Left));
    }

    // A copy of the resources in which one resource can no longer be found
    // (its type is renamed) or is damaged by `patch`.
    void UseChangedResources(WORD type, WORD id, bool remove, const std::function<void(BYTE*, DWORD)>& patch) {
        changedImage.assign(originalImage, originalImage + originalSize);
        size_t offset = 0;
        while (offset + 16 <= changedImage.size()) {
            DWORD dataSize;
            DWORD headerSize;
            std::memcpy(&dataSize, &changedImage[offset], 4);
            std::memcpy(&headerSize, &changedImage[offset + 4], 4);
            WORD fields[4];
            std::memcpy(fields, &changedImage[offset + 8], sizeof fields);
            if (fields[0] == 0xFFFF && fields[1] == type && fields[2] == 0xFFFF && fields[3] == id) {
                if (remove) {
                    changedImage[offset + 10] = 0xFE;  // type 0x7FFE: nobody looks for it
                    changedImage[offset + 11] = 0x7F;
                } else if (patch) {
                    patch(&changedImage[offset + headerSize], dataSize);
                }
            }
            offset = (offset + headerSize + dataSize + 3) & ~static_cast<size_t>(3);
        }
        layer::SetResourceImage(changedImage.data(), changedImage.size());
    }

    const BYTE* originalImage = nullptr;
    size_t originalSize = 0;
    std::vector<BYTE> changedImage;
};

// How the box closes and with what result.
TEST_F(AboutDialogTest, ClosesWithTheResultOfHowItWasClosed) {
    struct Step {
        DWORD at;
        headless::InputEvent event;
    };
    POINT button = CentreOnScreen(kButton);
    POINT picture = CentreOnScreen(RECT{150, 90, 170, 110});
    struct Case {
        const char* what;
        std::vector<Step> script;
        int expected;
    };
    const Case cases[] = {
        {"Enter", {{100, headless::KeyDown(VK_RETURN)}}, 1},
        {"Esc", {{100, headless::KeyDown(VK_ESCAPE)}}, 0},
        {"click on the button",
         {{100, headless::MouseMove(button.x, button.y)},
          {110, headless::ButtonDown()},
          {120, headless::ButtonUp()}},
         1},
        {"space bar on the focused button", {{100, headless::KeyDown(VK_SPACE)}, {110, headless::KeyUp(VK_SPACE)}}, 1},
        {"click on the picture, then Esc",
         {{100, headless::MouseMove(picture.x, picture.y)},
          {110, headless::ButtonDown()},
          {120, headless::ButtonUp()},
          {200, headless::KeyDown(VK_ESCAPE)}},
         0},
        {"press on the button, release away from it, then Esc",
         {{100, headless::MouseMove(button.x, button.y)},
          {110, headless::ButtonDown()},
          {120, headless::MouseMove(picture.x, picture.y)},
          {130, headless::ButtonUp()},
          {200, headless::KeyDown(VK_ESCAPE)}},
         0},
    };
    for (const Case& c : cases) {
        headless::Reset();
        headless::SetRunLimit(20000);
        for (const Step& step : c.script) {
            headless::Schedule(step.at, step.event);
        }
        EXPECT_EQ(ShowAboutDialog(nullptr), c.expected) << c.what;
        EXPECT_EQ(headless::LastRunEnd(), headless::RunEnd::None) << c.what;
        EXPECT_EQ(FindAboutBox(), nullptr) << c.what;
        EXPECT_TRUE(headless::ShellExecuteCalls().empty()) << c.what;
        EXPECT_EQ(headless::LiveHeapBlocks(), 0u) << c.what << ": the link record is freed";
    }
}

TEST_F(AboutDialogTest, HotSpotOpensTheAddressAndLeavesTheBoxOpen) {
    POINT hotSpot = CentreOnScreen(kHotSpot);
    HCURSOR cursorOverHotSpot = nullptr;
    bool openAfterClick = false;
    headless::Schedule(100, headless::MouseMove(hotSpot.x, hotSpot.y));
    ProbeAt(105, [&] { cursorOverHotSpot = headless::CurrentCursor(); });
    headless::Schedule(110, headless::ButtonDown());
    headless::Schedule(120, headless::ButtonUp());
    ProbeAt(150, [&] { openAfterClick = FindAboutBox() != nullptr; });
    headless::Schedule(200, headless::KeyDown(VK_ESCAPE));

    EXPECT_EQ(ShowAboutDialog(nullptr), 0);
    EXPECT_TRUE(openAfterClick);
    ASSERT_NE(linkCursor, nullptr);
    EXPECT_EQ(cursorOverHotSpot, linkCursor);
    ASSERT_EQ(headless::ShellExecuteCalls().size(), 1u);
    EXPECT_EQ(headless::ShellExecuteCalls()[0].file, std::string(makerWebAddress));
    EXPECT_EQ(headless::ShellExecuteCalls()[0].verb, "open");
    EXPECT_EQ(std::string(makerWebAddress), "http://www.ostrel.example/");
}

// Only the low word of WM_COMMAND's wParam counts, whatever sends it.
TEST_F(AboutDialogTest, OnlyIdOkAndIdCancelEndTheBox) {
    struct Case {
        WPARAM command;
        int expected;  // -2: the box stays open
    };
    const Case cases[] = {
        {MAKEWPARAM(aboutLinkId, STN_CLICKED), -2},
        {MAKEWPARAM(3, BN_CLICKED), -2},
        {MAKEWPARAM(IDOK, 0x1234), 1},
        {MAKEWPARAM(IDCANCEL, 0x4321), 0},
    };
    for (const Case& c : cases) {
        headless::Reset();
        probeActions.clear();
        bool open = false;
        ProbeAt(100, [&] { SendMessageA(FindAboutBox(), WM_COMMAND, c.command, 0); });
        ProbeAt(150, [&] { open = FindAboutBox() != nullptr; });
        headless::Schedule(200, headless::KeyDown(VK_ESCAPE));
        int result = ShowAboutDialog(nullptr);
        if (c.expected == -2) {
            EXPECT_TRUE(open) << std::hex << c.command;
            EXPECT_EQ(result, 0);
        } else {
            EXPECT_FALSE(open) << std::hex << c.command;
            EXPECT_EQ(result, c.expected) << std::hex << c.command;
        }
    }
}

TEST_F(AboutDialogTest, CursorOverThePictureIsNotTheHand) {
    POINT picture = CentreOnScreen(RECT{150, 90, 170, 110});
    HWND under = nullptr;
    headless::Schedule(100, headless::MouseMove(picture.x, picture.y));
    ProbeAt(110, [&] { under = headless::WindowAt(picture.x, picture.y); });
    headless::Schedule(200, headless::KeyDown(VK_ESCAPE));
    EXPECT_EQ(ShowAboutDialog(nullptr), 0);
    // The picture lets the mouse through: the box itself is under it.
    EXPECT_NE(under, nullptr);
    EXPECT_EQ(GetDlgCtrlID(under), 0);
    if (linkCursor != nullptr) {
        for (HCURSOR set : headless::SetCursorCalls()) {
            EXPECT_NE(set, linkCursor);
        }
    }
}

TEST_F(AboutDialogTest, CannotBeCreatedGivesMinusOne) {
    struct Case {
        const char* what;
        WORD type;
        WORD id;
        bool remove;
        std::function<void(BYTE*, DWORD)> patch;
    };
    const Case cases[] = {
        {"no template", OSTREL_RT_DIALOG, 2003, true, nullptr},
        {"no picture", OSTREL_RT_BITMAP, 117, true, nullptr},
        {"template of another version", OSTREL_RT_DIALOG, 2003, false, [](BYTE* data, DWORD) { data[0] = 2; }},
        {"template whose items run past its end", OSTREL_RT_DIALOG, 2003, false,
         [](BYTE* data, DWORD) { data[16] = 0xFF; }},
        {"control of an unknown class", OSTREL_RT_DIALOG, 2003, false,
         [](BYTE* data, DWORD size) {
             // The first control's class, kept as its name "Static" (in any
             // case), becomes "Stxtic".
             const char* name = "static";
             for (DWORD i = 0; i + 12 <= size; ++i) {
                 bool same = true;
                 for (int k = 0; k < 6 && same; ++k) {
                     same = std::tolower(data[i + 2 * k]) == name[k] && data[i + 2 * k + 1] == 0;
                 }
                 if (same) {
                     data[i + 4] = 'x';
                     return;
                 }
             }
             ADD_FAILURE() << "no Static class in the template";
         }},
    };
    for (const Case& c : cases) {
        headless::Reset();
        UseChangedResources(c.type, c.id, c.remove, c.patch);
        headless::Schedule(100, headless::KeyDown(VK_RETURN));
        EXPECT_EQ(ShowAboutDialog(nullptr), -1) << c.what;
        EXPECT_EQ(FindAboutBox(), nullptr) << c.what;
        EXPECT_EQ(headless::LiveHeapBlocks(), 0u) << c.what;
        layer::SetResourceImage(originalImage, originalSize);
    }
}

TEST_F(AboutDialogTest, InvalidParentGivesMinusOne) {
    HWND gone = CreateWindowExA(0, OSTREL_DIALOG_CLASS, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    const HWND parents[] = {gone, reinterpret_cast<HWND>(static_cast<uintptr_t>(0x12345678))};
    for (HWND parent : parents) {
        headless::Schedule(100, headless::KeyDown(VK_RETURN));
        EXPECT_EQ(ShowAboutDialog(parent), -1);
        EXPECT_EQ(FindAboutBox(), nullptr);
    }
}

TEST_F(AboutDialogTest, ForeignInstanceHasNoTemplate) {
    // Another module's instance has no template 2003.
    shellState.appInstance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x10000000));
    EXPECT_EQ(ShowAboutDialog(nullptr), -1);
}

// With an owner: placed from the owner's client area, the owner disabled
// while the box is up, the focus on the push button.
TEST_F(AboutDialogTest, OwnedBoxDisablesItsOwnerAndSitsOnItsClientArea) {
    HWND owner = about_test::MakeWhiteParent(600, 500);
    ASSERT_NE(owner, nullptr);
    struct Seen {
        bool ownerEnabled = true;
        RECT window{};
        RECT client{};
        RECT link{};
        RECT button{};
        RECT picture{};
        bool focusOnButton = false;
        bool linkSubclassed = false;
    } seen;
    ProbeAt(100, [&] {
        HWND box = FindAboutBox();
        ASSERT_NE(box, nullptr);
        seen.ownerEnabled = IsWindowEnabled(owner) != FALSE;
        GetWindowRect(box, &seen.window);
        GetClientRect(box, &seen.client);
        GetWindowRect(GetDlgItem(box, aboutLinkId), &seen.link);
        GetWindowRect(GetDlgItem(box, IDOK), &seen.button);
        GetWindowRect(GetDlgItem(box, 2003), &seen.picture);
        seen.focusOnButton = GetFocus() == GetDlgItem(box, IDOK);
        seen.linkSubclassed = GetWindowLongA(GetDlgItem(box, aboutLinkId), GWL_WNDPROC) ==
                              reinterpret_cast<LONG_PTR>(LinkControlProc);
    });
    headless::Schedule(200, headless::KeyDown(VK_RETURN));
    EXPECT_EQ(ShowAboutDialog(owner), 1);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    // The owner's client area starts at the screen's origin; the box's client
    // area at (-30, -33) from it, inside a one-pixel border.
    EXPECT_EQ(seen.window.left, -31);
    EXPECT_EQ(seen.window.top, -34);
    EXPECT_EQ(seen.window.right - seen.window.left, 329);
    EXPECT_EQ(seen.window.bottom - seen.window.top, 314);
    EXPECT_EQ(seen.client.right, 327);
    EXPECT_EQ(seen.client.bottom, 312);
    auto expectAt = [](const RECT& r, const RECT& client, const char* what) {
        EXPECT_EQ(r.left, kClientOrigin.x + client.left) << what;
        EXPECT_EQ(r.top, kClientOrigin.y + client.top) << what;
        EXPECT_EQ(r.right, kClientOrigin.x + client.right) << what;
        EXPECT_EQ(r.bottom, kClientOrigin.y + client.bottom) << what;
    };
    expectAt(seen.link, kHotSpot, "hot-spot");
    expectAt(seen.button, kButton, "button");
    expectAt(seen.picture, RECT{0, 0, 327, 315}, "picture at its own size");
    EXPECT_TRUE(seen.focusOnButton);
    EXPECT_TRUE(seen.linkSubclassed);
}

TEST_F(AboutDialogTest, OwnerElsewherePlacesTheBoxFromItsClientArea) {
    about_test::MakeWhiteParent(1, 1);  // registers the class
    HWND owner = CreateWindowExA(0, "AboutTestWhiteParent", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 200, 100, 400,
                                 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    RECT window{};
    ProbeAt(100, [&] { GetWindowRect(FindAboutBox(), &window); });
    headless::Schedule(200, headless::KeyDown(VK_ESCAPE));
    EXPECT_EQ(ShowAboutDialog(owner), 0);
    // The owner's client area starts inside its border, at (201, 101).
    EXPECT_EQ(window.left, 201 - 30 - 1);
    EXPECT_EQ(window.top, 101 - 33 - 1);
}

TEST_F(AboutDialogTest, QuitDuringTheBoxEndsItAndIsPassedOn) {
    ProbeAt(100, [] { PostQuitMessage(7); });
    EXPECT_EQ(ShowAboutDialog(nullptr), 0);
    EXPECT_EQ(FindAboutBox(), nullptr);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

// What the user sees: the picture filling the box, the push button over the
// EXIT label, nothing drawn by the hot-spot, a one-pixel black border.
TEST_F(AboutDialogTest, ScreenshotShowsThePictureWithTheButtonOverExit) {
    headless::Frame shot;
    ProbeAt(100, [&] { ASSERT_TRUE(headless::ReadWindowScreenshot(FindAboutBox(), &shot)); });
    headless::Schedule(200, headless::KeyDown(VK_ESCAPE));
    EXPECT_EQ(ShowAboutDialog(nullptr), 0);
    ASSERT_EQ(shot.width, 329);
    ASSERT_EQ(shot.height, 314);
    std::string path = std::string(OSTREL_BINARY_DIR) + "/about_box.png";
    EXPECT_TRUE(WritePng(path, shot.width, shot.height, shot.rgb.data()));

    auto rgbAt = [&](int clientX, int clientY) {
        const uint8_t* p = shot.Pixel(clientX + 1, clientY + 1);
        return (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
    };
    for (int x = 0; x < shot.width; x += 16) {
        EXPECT_EQ(shot.Pixel(x, 0)[0] | shot.Pixel(x, 0)[1] | shot.Pixel(x, 0)[2], 0) << x;
        EXPECT_EQ(shot.Pixel(x, shot.height - 1)[0], 0) << x;
    }

    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(117), IMAGE_BITMAP, 0,
                                                      0, LR_CREATEDIBSECTION));
    ASSERT_NE(picture, nullptr);
    BITMAP info{};
    GetObjectA(picture, sizeof info, &info);
    ASSERT_EQ(info.bmWidth, 327);
    ASSERT_EQ(info.bmHeight, 315);
    auto pictureAt = [&](int x, int y) {
        const BYTE* bgr = static_cast<const BYTE*>(info.bmBits) + (info.bmHeight - 1 - y) * info.bmWidthBytes + x * 3;
        return (static_cast<uint32_t>(bgr[2]) << 16) | (static_cast<uint32_t>(bgr[1]) << 8) | bgr[0];
    };
    // The picture everywhere but under the button, the hot-spot included.
    const POINT samples[] = {{0, 0}, {10, 10}, {326, 311}, {300, 200}, {60, 270}, {200, 265}, {120, 300}, {215, 300}};
    for (POINT p : samples) {
        EXPECT_EQ(rgbAt(p.x, p.y), pictureAt(p.x, p.y)) << p.x << "," << p.y;
    }
    // The button's face lies over the label.
    EXPECT_EQ(rgbAt(140, 290), 0xC0C0C0u);
    EXPECT_EQ(rgbAt(kButton.left + 6, kButton.bottom - 6), 0xC0C0C0u);
    EXPECT_EQ(rgbAt(kButton.left, kButton.top + 10), 0x000000u);  // the default button's frame
    DeleteObject(picture);
}

}  // namespace
