// The 64-bit Windows ostrel.scr under Wine on a private X server: the real
// Win32 paths of the shell, the scene and the about box, driven with xdotool.
#include "tests/e2e/e2e_support.h"
#include "tests/wine/wine_prefix.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using e2e::Image;
using e2e::Process;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kPrefixTimeout = 180000;
// Wine's start-up and a software renderer are slow; the waits end as soon
// as the awaited thing happens.
constexpr int kShowTimeout = 30000;
constexpr int kExitTimeout = 10000;

std::string prefix;

class WinePrefix : public ::testing::Environment {
public:
    void SetUp() override { prefix = wine::MakePrefix(kPrefixTimeout); }
    void TearDown() override {
        if (!prefix.empty()) {
            wine::StopServer(prefix);
            wine::RemovePrefix(prefix);
        }
    }
};

const auto* registered = ::testing::AddGlobalTestEnvironment(new WinePrefix);

// The push button's light face and the picture's blue web address: Wine
// paints the dialog's spare width light grey too, so light alone is not enough.
bool ShowsAboutBox(const Image& image) {
    int light = 0;
    int blue = 0;
    for (int i = 0; i < image.width * image.height; ++i) {
        const uint8_t* p = image.rgb.data() + static_cast<size_t>(i) * 3;
        light += (p[0] > 150 && p[1] > 150 && p[2] > 150) ? 1 : 0;
        blue += (p[2] > 150 && p[0] < 80 && p[1] < 80) ? 1 : 0;
    }
    return light > 200 && blue > 200;
}

class OstrelUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(prefix.empty()) << "the Wine prefix could not be made";
        ASSERT_TRUE(server.Running()) << "Xvfb could not be started";
    }
    // The server goes before the display does: the next test's Wine starts
    // on its own display.
    void TearDown() override {
        if (!prefix.empty()) {
            wine::StopServer(prefix);
        }
    }
    Process Start(const std::string& argument) {
        return server.Start({OSTREL_WINE64_PATH, OSTREL_WIN64_SCR_PATH, argument}, wine::WineEnvironment(prefix));
    }
    Process StartSaver(const std::string& shotName) {
        Process saver = Start("/s");
        std::string path;
        EXPECT_TRUE(server.WaitForTowers(kShowTimeout, "wine_" + shotName, &path)) << "no towers on screen; see " << path;
        return saver;
    }
    int Xdotool(std::vector<std::string> arguments) { return server.Xdotool(std::move(arguments)); }

    e2e::XServer server{kWidth, kHeight};
};

TEST_F(OstrelUnderWine, SaverFillsTheScreenWithTowers) {
    Process saver = StartSaver("full_screen");
    Image screen;
    ASSERT_TRUE(server.Screenshot(&screen));
    EXPECT_TRUE(e2e::CyanInEveryQuarter(screen));
    EXPECT_FALSE(saver.WaitExit(0).has_value());
}

using e2e::CloseInput;

class WineSaverCloses : public OstrelUnderWine, public ::testing::WithParamInterface<CloseInput> {};

TEST_P(WineSaverCloses, OnInputWithExitCodeZero) {
    Process saver = StartSaver(std::string("before_") + GetParam().name);
    ASSERT_EQ(Xdotool(GetParam().xdotool), 0);
    EXPECT_EQ(saver.WaitExit(kExitTimeout), std::optional<int>(0));
}

INSTANTIATE_TEST_SUITE_P(Inputs, WineSaverCloses,
                         ::testing::Values(CloseInput{"move_10px", {"mousemove_relative", "--", "10", "0"}},
                                           CloseInput{"key", {"key", "a"}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct AboutKey {
    const char* key;
    int exitCode;
};

class WineAboutBoxCloses : public OstrelUnderWine, public ::testing::WithParamInterface<AboutKey> {};

TEST_P(WineAboutBoxCloses, WithTheKeysResult) {
    Process about = Start("/c");
    Image screen;
    bool shown = server.WaitForScreen(&screen, kShowTimeout, ShowsAboutBox);
    std::string path = e2e::SaveForViewing(screen, std::string("wine_about_") + GetParam().key);
    ASSERT_TRUE(shown) << "no about box on screen; see " << path;
    ASSERT_EQ(Xdotool({"key", GetParam().key}), 0);
    EXPECT_EQ(about.WaitExit(kExitTimeout), std::optional<int>(GetParam().exitCode));
}

INSTANTIATE_TEST_SUITE_P(Keys, WineAboutBoxCloses,
                         ::testing::Values(AboutKey{"Escape", 0}, AboutKey{"Return", 1}),
                         [](const auto& info) { return std::string(info.param.key); });

// -1 from the saver is 255 from wine.
class WineStartRefused : public OstrelUnderWine, public ::testing::WithParamInterface<const char*> {};

TEST_P(WineStartRefused, ExitsWith255) {
    Process ostrel = Start(GetParam());
    EXPECT_EQ(ostrel.WaitExit(kExitTimeout + kShowTimeout), std::optional<int>(255));
}

// /a changes the password on the 95/98/Me family only; Wine is NT.
INSTANTIATE_TEST_SUITE_P(Switches, WineStartRefused, ::testing::Values("/x", "/a"),
                         [](const auto& info) { return std::string(info.param + 1); });

}  // namespace
