// Start-up: the command-line tail, the window handles on it, and the one
// mode each tail runs with the exit code the process ends with.
#include "tests/shell/shell_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

using namespace shell_test;

namespace {

// ---------------------------------------------------------------------------
// The tail: what follows the program name and its blanks.

struct TailCase {
    const char* commandLine;
    const char* tail;
};

class CommandLineTailTest : public ::testing::TestWithParam<TailCase> {};

TEST_P(CommandLineTailTest, SkipsProgramNameAndBlanks) {
    FreshProcess();
    std::string line = GetParam().commandLine;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    char* tail = CommandLineTail(buffer.data());
    ASSERT_GE(tail, buffer.data());
    ASSERT_LT(tail, buffer.data() + buffer.size());
    EXPECT_STREQ(tail, GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    Tails, CommandLineTailTest,
    ::testing::Values(TailCase{"ostrel.scr /s", "/s"}, TailCase{"ostrel.scr", ""}, TailCase{"ostrel.scr   ", ""},
                      TailCase{"ostrel.scr \t \t/p 500", "/p 500"},
                      TailCase{"\"C:\\Program Files\\Ostrel\\ostrel.scr\" /s", "/s"},
                      // No blank needed behind the closing quote.
                      TailCase{"\"C:\\Program Files\\Ostrel\\ostrel.scr\"/s", "/s"},
                      TailCase{"\"a b\"  c d", "c d"},
                      // An unclosed quote takes the whole line as the name.
                      TailCase{"\"C:\\Program Files\\ostrel.scr /s", ""}, TailCase{"\"\"", ""},
                      TailCase{"\"\" /c", "/c"},
                      // Bytes above 0x7F belong to the name.
                      TailCase{"\xE9t\xE9.scr /s", "/s"},
                      // Control bytes count as blanks, both as a leading
                      // "name" and after it.
                      TailCase{" /s", "/s"}, TailCase{"\x01\x02/s", "/s"}, TailCase{"x.scr\x1F\x01/a 5", "/a 5"},
                      TailCase{"", ""}));

// A missing command line is read as an empty one.
TEST(CommandLineTail, NullIsEmpty) {
    ASSERT_NE(CommandLineTail(nullptr), nullptr);
    EXPECT_STREQ(CommandLineTail(nullptr), "");
}

// ---------------------------------------------------------------------------
// Window handles: unsigned decimal, wrapping modulo 2^32.

struct HandleCase {
    const char* text;
    uint32_t value;
};

class ParseWindowHandleTest : public ::testing::TestWithParam<HandleCase> {};

TEST_P(ParseWindowHandleTest, ReadsLeadingDigits) {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(ParseWindowHandle(GetParam().text)), uintptr_t{GetParam().value});
}

INSTANTIATE_TEST_SUITE_P(
    Handles, ParseWindowHandleTest,
    ::testing::Values(HandleCase{"500", 500}, HandleCase{"0", 0}, HandleCase{"", 0}, HandleCase{"12abc", 12},
                      HandleCase{"500 600", 500}, HandleCase{"7:8", 7},
                      // No blanks skipped, no sign taken.
                      HandleCase{" 500", 0}, HandleCase{"-5", 0}, HandleCase{"+5", 0}, HandleCase{":500", 0},
                      HandleCase{"4294967295", 0xFFFFFFFFu}, HandleCase{"4294967296", 0},
                      HandleCase{"4294967796", 500}, HandleCase{"00000000000000000000042", 42},
                      // 10^20 mod 2^32
                      HandleCase{"100000000000000000000", 1661992960u}));

TEST(ParseWindowHandle, NullIsNoHandle) {
    EXPECT_EQ(ParseWindowHandle(nullptr), nullptr);
}

// ---------------------------------------------------------------------------
// The whole start-up: command line in, one mode run, exit code out.

enum class Family { NT, Win9x, VersionFails };
enum class Mode { None, FullScreen, Preview, About, PasswordChange };
enum class Target { None, Window, Foreground };

struct StartCase {
    const char* commandLine;  // {T}: a live window, {W}: the same beyond 32 bits, {X}: a destroyed one
    Family family;
    UINT exitCode;
    Mode mode;
    Target window;  // the preview's parent, the about box's owner, the password change's parent
};

std::ostream& operator<<(std::ostream& out, const StartCase& c) {
    return out << "\"" << c.commandLine << "\"";
}

constexpr UINT kRefused = 0xFFFFFFFF;

class StartSaverTest : public ::testing::TestWithParam<StartCase> {
protected:
    void SetUp() override {
        FreshProcess();
        shellState.appInstance = nullptr;  // DispatchMode's to set
        switch (GetParam().family) {
            case Family::NT:
                headless::SetWindowsFamily(headless::WindowsFamily::NT);
                break;
            case Family::Win9x:
                headless::SetWindowsFamily(headless::WindowsFamily::Win9x);
                break;
            case Family::VersionFails:
                headless::SetWindowsFamily(headless::WindowsFamily::Win9x);
                headless::SetVersionCallFails(true);
                break;
        }
        headless::SetExitProcessThrows(true);
        InstallPasswordChanger();
        target_ = MakeWindow(120, 90, "settings");
        foreground_ = MakeWindow(100, 80, "another program");
        stale_ = MakeWindow();
        DestroyWindow(stale_);
        headless::SetForeground(foreground_);
    }

    std::string CommandLine() const {
        std::string line = GetParam().commandLine;
        Replace(&line, "{T}", std::to_string(HandleNumber(target_)));
        Replace(&line, "{W}", std::to_string(HandleNumber(target_) + (1ull << 32)));
        Replace(&line, "{X}", std::to_string(HandleNumber(stale_)));
        return line;
    }

    HWND WindowFor(Target target) const {
        switch (target) {
            case Target::Window:
                return target_;
            case Target::Foreground:
                return foreground_;
            case Target::None:
                break;
        }
        return nullptr;
    }

    static void Replace(std::string* text, const char* token, const std::string& value) {
        size_t at = text->find(token);
        if (at != std::string::npos) {
            text->replace(at, std::strlen(token), value);
        }
    }

    HWND target_ = nullptr;
    HWND foreground_ = nullptr;
    HWND stale_ = nullptr;
};

TEST_P(StartSaverTest, RunsOneModeAndExitsWithItsResult) {
    const StartCase& c = GetParam();
    std::string line = CommandLine();
    headless::SetCommandLine(line.c_str());

    // Watches the mode from inside its loop and ends it as a user would.
    Mode seen = Mode::None;
    HWND seenWindow = nullptr;
    int modesSeen = 0;
    Probe probe(20, [&](int) {
        ++modesSeen;
        HWND saver = shellState.saverWindow;
        if (saver != nullptr && IsWindow(saver)) {
            if (shellState.previewMode == 1) {
                seen = Mode::Preview;
                seenWindow = GetParent(saver);
                DestroyWindow(seenWindow);  // the settings dialog goes away
            } else {
                seen = Mode::FullScreen;
                headless::Inject(headless::KeyDown(VK_SPACE));
            }
            return;
        }
        // The about box: modal, so it has disabled its owner.
        seen = Mode::About;
        for (HWND candidate : {target_, foreground_}) {
            if (IsWindow(candidate) && !IsWindowEnabled(candidate)) {
                seenWindow = candidate;
            }
        }
        headless::Inject(headless::KeyDown(VK_RETURN));
    });

    UINT exitCode = 0x12345678;
    try {
        StartSaver();
    } catch (const headless::ProcessExit& exit) {
        exitCode = exit.code;
    }

    EXPECT_EQ(exitCode, c.exitCode);
    if (!ChangerCalls().empty()) {
        seen = Mode::PasswordChange;
        seenWindow = ChangerCalls().back().parent;
        EXPECT_EQ(ChangerCalls().size(), 1u);
    }
    EXPECT_EQ(seen, c.mode);
    EXPECT_EQ(seenWindow, WindowFor(c.window));
    EXPECT_EQ(shellState.isWin9x, c.family == Family::Win9x ? 1 : 0);
    EXPECT_EQ(shellState.appInstance, Instance());
    EXPECT_LE(modesSeen, 3) << "the mode did not end when asked";
    if (c.mode == Mode::None) {
        WNDCLASSA registered;
        EXPECT_FALSE(GetClassInfoA(Instance(), kSaverClass, &registered)) << "nothing may be registered";
        EXPECT_EQ(shellState.saverWindow, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, StartSaverTest,
    ::testing::Values(
        // No switch: the about box without owner.
        StartCase{"ostrel.scr", Family::NT, 1, Mode::About, Target::None},
        StartCase{"ostrel.scr /", Family::NT, 1, Mode::About, Target::None},
        StartCase{"ostrel.scr - -", Family::NT, 1, Mode::About, Target::None},
        StartCase{"\"C:\\Program Files\\ostrel.scr", Family::NT, 1, Mode::About, Target::None},
        // The full-screen saver; nothing after the letter is read.
        StartCase{"ostrel.scr /s", Family::NT, 0, Mode::FullScreen, Target::None},
        StartCase{"ostrel.scr s", Family::NT, 0, Mode::FullScreen, Target::None},
        StartCase{"ostrel.scr /S", Family::NT, 0, Mode::FullScreen, Target::None},
        StartCase{"ostrel.scr -s", Family::NT, 0, Mode::FullScreen, Target::None},
        StartCase{"ostrel.scr //s", Family::NT, 0, Mode::FullScreen, Target::None},
        StartCase{"ostrel.scr - /s", Family::NT, 0, Mode::FullScreen, Target::None},
        StartCase{"ostrel.scr /s 500", Family::NT, 0, Mode::FullScreen, Target::None},
        StartCase{"ostrel.scr /sX", Family::NT, 0, Mode::FullScreen, Target::None},
        StartCase{"ostrel.scr /save", Family::Win9x, 0, Mode::FullScreen, Target::None},
        StartCase{"\"C:\\Program Files\\Ostrel\\ostrel.scr\" /s", Family::NT, 0, Mode::FullScreen, Target::None},
        StartCase{"\"C:\\Program Files\\Ostrel\\ostrel.scr\"/s", Family::NT, 0, Mode::FullScreen, Target::None},
        StartCase{"ostrel.scr \t \t  /s", Family::NT, 0, Mode::FullScreen, Target::None},
        // The preview: a live window right after the letter or after spaces.
        StartCase{"ostrel.scr /p {T}", Family::NT, 0, Mode::Preview, Target::Window},
        StartCase{"ostrel.scr /p{T}", Family::NT, 0, Mode::Preview, Target::Window},
        StartCase{"ostrel.scr /P    {T}", Family::Win9x, 0, Mode::Preview, Target::Window},
        StartCase{"ostrel.scr /l {T}", Family::NT, 0, Mode::Preview, Target::Window},
        StartCase{"ostrel.scr /p {W}", Family::NT, 0, Mode::Preview, Target::Window},
        StartCase{"ostrel.scr /p:{T}", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /p", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /p 0", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /p {X}", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /p \t{T}", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /preview {T}", Family::NT, kRefused, Mode::None, Target::None},
        // The configure box: the window after a colon, else the foreground one.
        StartCase{"ostrel.scr /c:{T}", Family::NT, 1, Mode::About, Target::Window},
        StartCase{"ostrel.scr /c:{W}", Family::NT, 1, Mode::About, Target::Window},
        StartCase{"ostrel.scr /c {T}", Family::NT, 1, Mode::About, Target::Foreground},
        StartCase{"ostrel.scr /c: {T}", Family::NT, 1, Mode::About, Target::Foreground},
        StartCase{"ostrel.scr /c:", Family::NT, 1, Mode::About, Target::Foreground},
        StartCase{"ostrel.scr /c:abc", Family::NT, 1, Mode::About, Target::Foreground},
        StartCase{"ostrel.scr /c:0", Family::NT, 1, Mode::About, Target::Foreground},
        StartCase{"ostrel.scr /c:{X}", Family::NT, 1, Mode::About, Target::Foreground},
        StartCase{"ostrel.scr /C", Family::Win9x, 1, Mode::About, Target::Foreground},
        StartCase{"ostrel.scr /config", Family::NT, 1, Mode::About, Target::Foreground},
        // The password change: 95/98/Me only.
        StartCase{"ostrel.scr /a {T}", Family::Win9x, 0, Mode::PasswordChange, Target::Window},
        StartCase{"ostrel.scr /A{T}", Family::Win9x, 0, Mode::PasswordChange, Target::Window},
        StartCase{"ostrel.scr /a", Family::Win9x, 0, Mode::PasswordChange, Target::Foreground},
        StartCase{"ostrel.scr /a 0", Family::Win9x, 0, Mode::PasswordChange, Target::Foreground},
        StartCase{"ostrel.scr /a {X}", Family::Win9x, 0, Mode::PasswordChange, Target::Foreground},
        StartCase{"ostrel.scr /a {T}", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /a {T}", Family::VersionFails, kRefused, Mode::None, Target::None},
        // Every other first byte.
        StartCase{"ostrel.scr /x", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /?", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /1", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /:", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr {T}", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /\ts", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr -\x01s", Family::Win9x, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /\xD3", Family::NT, kRefused, Mode::None, Target::None},
        StartCase{"ostrel.scr /\x7F", Family::NT, kRefused, Mode::None, Target::None}));

}  // namespace
