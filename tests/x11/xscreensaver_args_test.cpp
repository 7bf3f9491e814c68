// XScreenSaver's switches read from the argument vector, and X key symbols
// as virtual keys.
#include "platform/x11/x11_keys.h"
#include "platform/x11/xscreensaver_args.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <vector>

namespace {

using x11::PreviewTarget;
using Kind = PreviewTarget::Kind;

struct WindowIdCase {
    const char* text;
    bool ok;
    uint64_t id;
};

TEST(ParseWindowId, ReadsDecimalAndHexOnlyAsAWholeNumber) {
    const WindowIdCase cases[] = {
        {"4194311", true, 4194311},     {"0x400007", true, 0x400007}, {"0X1f", true, 0x1F},
        {"4294967295", true, 0xFFFFFFFF},
        {"4294967296", false, 0},  // beyond an X id
        {"", false, 0},            {"0x", false, 0},              {"0", false, 0},
        {"12ab", false, 0},        {"-5", false, 0},              {" 12", false, 0},
        {"0x12g", false, 0},       {"12 ", false, 0},
    };
    for (const WindowIdCase& c : cases) {
        uint64_t id = 0;
        EXPECT_EQ(x11::ParseWindowId(c.text, &id), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(id, c.id) << c.text;
        }
    }
    uint64_t id = 0;
    EXPECT_FALSE(x11::ParseWindowId(nullptr, &id));
}

struct TargetCase {
    std::vector<const char*> argv;
    const char* environment;
    Kind kind;
    uint64_t window;
};

TEST(FindPreviewTarget, TurnsXScreenSaverSwitchesIntoAWindow) {
    const TargetCase cases[] = {
        {{"ostrel", "/s"}, nullptr, Kind::None, 0},
        {{"ostrel"}, "0x42", Kind::None, 0},  // the variable alone is not a request
        {{"ostrel", "-root"}, nullptr, Kind::Root, 0},
        {{"ostrel", "--root"}, nullptr, Kind::Root, 0},
        {{"ostrel", "-root"}, "0x42", Kind::Window, 0x42},
        {{"ostrel", "-root"}, "junk", Kind::Root, 0},
        {{"ostrel", "-window-id", "0x42"}, nullptr, Kind::Window, 0x42},
        {{"ostrel", "--window-id", "66"}, "0x99", Kind::Window, 66},
        {{"ostrel", "-window-id"}, nullptr, Kind::Bad, 0},
        {{"ostrel", "-window-id", "zz"}, nullptr, Kind::Bad, 0},
        {{"ostrel", "-window-id", "0"}, nullptr, Kind::Bad, 0},
        {{"ostrel", "-fps", "-window-id", "7"}, nullptr, Kind::Window, 7},
        {{"ostrel", "-roots"}, nullptr, Kind::None, 0},
        {{"ostrel", "/p", "root"}, nullptr, Kind::None, 0},
    };
    for (const TargetCase& c : cases) {
        PreviewTarget target = x11::FindPreviewTarget(static_cast<int>(c.argv.size()), c.argv.data(), c.environment);
        std::string line;
        for (const char* a : c.argv) {
            line += std::string(a) + " ";
        }
        EXPECT_EQ(target.kind, c.kind) << line;
        if (c.kind == Kind::Window) {
            EXPECT_EQ(target.window, c.window) << line;
        }
    }
    EXPECT_EQ(x11::FindPreviewTarget(0, nullptr, nullptr).kind, Kind::None);
}

TEST(VirtualKeyOf, GivesWindowsCodesAndACodeForEveryKey) {
    const std::pair<unsigned long, UINT> cases[] = {
        {XK_a, 'A'},           {XK_Z, 'Z'},          {XK_5, '5'},           {XK_Escape, VK_ESCAPE},
        {XK_Return, VK_RETURN}, {XK_KP_Enter, VK_RETURN}, {XK_Tab, VK_TAB}, {XK_space, VK_SPACE},
        {XK_Alt_L, VK_MENU},   {XK_F4, VK_F4},       {XK_F10, VK_F10},      {XK_Left, 0x25},
        {XK_KP_7, 0x67},       {XK_eacute, x11::kUnmappedKey}, {XK_VoidSymbol, x11::kUnmappedKey},
    };
    for (const auto& [keysym, key] : cases) {
        EXPECT_EQ(x11::VirtualKeyOf(keysym), key) << std::hex << keysym;
    }
}

}  // namespace
