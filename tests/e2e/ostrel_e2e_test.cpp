// The Linux ostrel executable on a private X server, driven as a person
// would: xdotool for input, xwd for what the screen shows.
#include "tests/e2e/e2e_support.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdio>
#include <utility>

namespace {

using e2e::Image;
using e2e::Process;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
// Long enough for a slow software renderer; the waits end as soon as the
// awaited thing happens.
constexpr int kShowTimeout = 15000;
constexpr int kExitTimeout = 5000;

class OstrelOnX : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server.Running()) {
            GTEST_SKIP() << "Xvfb could not be started";
        }
    }
    Process Start(std::vector<std::string> arguments, std::vector<std::pair<std::string, std::string>> env = {}) {
        arguments.insert(arguments.begin(), OSTREL_EXE_PATH);
        return server.Start(arguments, env);
    }
    // Starts the full-screen saver and waits until its towers are on screen.
    Process StartSaver(const std::string& shotName) {
        Process saver = Start({"/s"});
        std::string path;
        EXPECT_TRUE(server.WaitForTowers(kShowTimeout, shotName, &path)) << "no towers on screen; see " << path;
        return saver;
    }
    int Xdotool(std::vector<std::string> arguments) { return server.Xdotool(std::move(arguments)); }

    e2e::XServer server{kWidth, kHeight};
};

TEST_F(OstrelOnX, FullScreenSaverCoversTheScreenWithTowers) {
    Process saver = StartSaver("full_screen");
    Image screen;
    ASSERT_TRUE(server.Screenshot(&screen));
    // Towers in every quarter: the window covers the whole screen.
    EXPECT_TRUE(e2e::CyanInEveryQuarter(screen));
    EXPECT_FALSE(saver.WaitExit(0).has_value());
}

using e2e::CloseInput;

class SaverCloses : public OstrelOnX, public ::testing::WithParamInterface<CloseInput> {};

TEST_P(SaverCloses, OnInputWithExitCodeZero) {
    Process saver = StartSaver(std::string("before_") + GetParam().name);
    ASSERT_EQ(Xdotool(GetParam().xdotool), 0);
    EXPECT_EQ(saver.WaitExit(kExitTimeout), std::optional<int>(0));
}

INSTANTIATE_TEST_SUITE_P(Inputs, SaverCloses,
                         ::testing::Values(CloseInput{"move_10px", {"mousemove_relative", "--", "10", "0"}},
                                           CloseInput{"key", {"key", "a"}},
                                           CloseInput{"alt_key", {"key", "alt+x"}},
                                           CloseInput{"click", {"click", "1"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OstrelOnX, SmallMouseMoveKeepsTheSaverRunning) {
    Process saver = StartSaver("small_move");
    ASSERT_EQ(Xdotool({"mousemove_relative", "--", "3", "0"}), 0);
    EXPECT_FALSE(saver.WaitExit(1500).has_value());
    // The anchor stays where the saver started: another 3 pixels make 6.
    ASSERT_EQ(Xdotool({"mousemove_relative", "--", "3", "0"}), 0);
    EXPECT_EQ(saver.WaitExit(kExitTimeout), std::optional<int>(0));
}

bool ShowsAboutBox(const Image& image) {
    int lit = 0;
    for (int i = 0; i < image.width * image.height; ++i) {
        const uint8_t* p = image.rgb.data() + static_cast<size_t>(i) * 3;
        lit += (p[0] > 150 && p[1] > 150 && p[2] > 150) ? 1 : 0;  // the button face and its text
    }
    return lit > 200;
}

struct AboutKey {
    const char* key;
    int exitCode;
};

class AboutBoxCloses : public OstrelOnX, public ::testing::WithParamInterface<AboutKey> {};

TEST_P(AboutBoxCloses, WithTheKeysResult) {
    Process about = Start({"/c"});
    Image screen;
    bool shown = server.WaitForScreen(&screen, kShowTimeout, ShowsAboutBox);
    std::string path = e2e::SaveForViewing(screen, std::string("about_") + GetParam().key);
    ASSERT_TRUE(shown) << "no about box on screen; see " << path;
    ASSERT_EQ(Xdotool({"key", GetParam().key}), 0);
    EXPECT_EQ(about.WaitExit(kExitTimeout), std::optional<int>(GetParam().exitCode));
}

INSTANTIATE_TEST_SUITE_P(Keys, AboutBoxCloses,
                         ::testing::Values(AboutKey{"Escape", 0}, AboutKey{"Return", 1}),
                         [](const auto& info) { return std::string(info.param.key); });

// A window of the test's own, standing for XScreenSaver's preview window.
class ParentWindow {
public:
    ParentWindow(const std::string& display, int x, int y, int width, int height) {
        connection_ = XOpenDisplay(display.c_str());
        if (connection_ == nullptr) {
            return;
        }
        int screen = DefaultScreen(connection_);
        window_ = XCreateSimpleWindow(connection_, RootWindow(connection_, screen), x, y,
                                      static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                      BlackPixel(connection_, screen), WhitePixel(connection_, screen));
        XMapWindow(connection_, window_);
        XSync(connection_, False);
    }
    ~ParentWindow() {
        if (connection_ != nullptr) {
            XCloseDisplay(connection_);
        }
    }
    bool Exists() const { return connection_ != nullptr && window_ != 0; }
    std::string Id() const {
        char text[32];
        std::snprintf(text, sizeof text, "0x%lx", window_);
        return text;
    }
    void Destroy() {
        XDestroyWindow(connection_, window_);
        XSync(connection_, False);
    }

private:
    Display* connection_ = nullptr;
    ::Window window_ = 0;
};

struct PreviewWay {
    const char* name;
    bool byEnvironment;  // -root with $XSCREENSAVER_WINDOW, else -window-id
};

class PreviewDraws : public OstrelOnX, public ::testing::WithParamInterface<PreviewWay> {};

TEST_P(PreviewDraws, IntoTheGivenWindowOnlyAndEndsWithIt) {
    const int left = 100, top = 80, width = 320, height = 240;
    ParentWindow parent(server.Display(), left, top, width, height);
    ASSERT_TRUE(parent.Exists());
    Process preview = GetParam().byEnvironment ? Start({"-root"}, {{"XSCREENSAVER_WINDOW", parent.Id()}})
                                               : Start({"-window-id", parent.Id()});
    Image screen;
    bool shown = server.WaitForScreen(&screen, kShowTimeout, [&](const Image& image) {
        return e2e::CyanPixels(image, left, top, left + width, top + height) > width * height / 50;
    });
    std::string path = e2e::SaveForViewing(screen, std::string("preview_") + GetParam().name);
    ASSERT_TRUE(shown) << "no towers in the preview window; see " << path;
    // Nothing outside it: the rows above and the columns to the left.
    EXPECT_EQ(e2e::CyanPixels(screen, 0, 0, kWidth, top), 0);
    EXPECT_EQ(e2e::CyanPixels(screen, 0, 0, left, kHeight), 0);
    // Input over the preview is XScreenSaver's business, not a reason to close.
    ASSERT_EQ(Xdotool({"mousemove", std::to_string(left + 50), std::to_string(top + 50)}), 0);
    ASSERT_EQ(Xdotool({"mousemove_relative", "--", "20", "20"}), 0);
    EXPECT_FALSE(preview.WaitExit(1000).has_value());
    // The preview window goes away: the saver inside it ends.
    parent.Destroy();
    EXPECT_EQ(preview.WaitExit(kExitTimeout), std::optional<int>(0));
}

INSTANTIATE_TEST_SUITE_P(Ways, PreviewDraws,
                         ::testing::Values(PreviewWay{"window_id", false}, PreviewWay{"environment", true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusedStart {
    const char* name;
    std::vector<std::string> arguments;
};

class StartRefused : public OstrelOnX, public ::testing::WithParamInterface<RefusedStart> {};

TEST_P(StartRefused, ExitsWith255AndShowsNothing) {
    Process ostrel = Start(GetParam().arguments);
    EXPECT_EQ(ostrel.WaitExit(kExitTimeout), std::optional<int>(255));
}

INSTANTIATE_TEST_SUITE_P(Arguments, StartRefused,
                         ::testing::Values(RefusedStart{"bad_switch", {"/x"}},
                                           RefusedStart{"window_id_missing", {"-window-id"}},
                                           RefusedStart{"window_id_not_a_number", {"-window-id", "12ab"}},
                                           RefusedStart{"window_id_of_no_window", {"-window-id", "0x7ffffff"}},
                                           RefusedStart{"preview_without_handle", {"/p"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OstrelWithoutDisplay, ExitsWith255) {
    Process ostrel({OSTREL_EXE_PATH, "/s"}, {{"DISPLAY", ":9999"}});
    EXPECT_EQ(ostrel.WaitExit(kExitTimeout), std::optional<int>(255));
}

}  // namespace
