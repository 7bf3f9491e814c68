// The password hooks: the user's setting, the verifier library, the system's
// "saver running" flag and the password changer.
#include "tests/shell/shell_test_support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace shell_test;

namespace {

const char kDesktop[] = "Control Panel\\Desktop";
const char kValue[] = "ScreenSaveUsePassword";

class PasswordHooksTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProcess();
        headless::SetWindowsFamily(headless::WindowsFamily::Win9x);
        shellState.isWin9x = 1;
    }

    static std::vector<UINT> RunningFlagsTold() {
        std::vector<UINT> flags;
        for (const auto& call : headless::SystemParametersCalls()) {
            EXPECT_EQ(call.action, static_cast<UINT>(SPI_SETSCREENSAVERRUNNING));
            flags.push_back(call.uiParam);
        }
        return flags;
    }
};

// What the setting and the library give.
enum class Setting { NoKey, KeyOnly, Zero, One, AllBits, OneByte, OneZeroByte, Text, FiveBytes };
enum class Library { Present, Missing, WithoutEntry };

struct LoadCase {
    const char* name;
    Setting setting;
    Library library;
    bool passwordRequired;
};

std::ostream& operator<<(std::ostream& out, const LoadCase& c) {
    return out << c.name;
}

class LoadVerifierTest : public PasswordHooksTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadVerifierTest, LoadsOnlyWhenAPasswordIsRequired) {
    const LoadCase& c = GetParam();
    const BYTE five[5] = {1, 0, 0, 0, 0};
    const BYTE one[1] = {1};
    const BYTE zero[1] = {0};
    switch (c.setting) {
        case Setting::NoKey:
            break;
        case Setting::KeyOnly:
            headless::AddRegistryKey(HKEY_CURRENT_USER, kDesktop);
            break;
        case Setting::Zero:
            RequirePassword(0);
            break;
        case Setting::One:
            RequirePassword(1);
            break;
        case Setting::AllBits:
            RequirePassword(0xFFFFFFFF);
            break;
        case Setting::OneByte:
            headless::SetRegistryValue(HKEY_CURRENT_USER, kDesktop, kValue, REG_BINARY, one, sizeof one);
            break;
        case Setting::OneZeroByte:
            headless::SetRegistryValue(HKEY_CURRENT_USER, kDesktop, kValue, REG_BINARY, zero, sizeof zero);
            break;
        case Setting::Text:
            headless::SetRegistryValue(HKEY_CURRENT_USER, kDesktop, kValue, REG_SZ, "1", 2);
            break;
        case Setting::FiveBytes:
            headless::SetRegistryValue(HKEY_CURRENT_USER, kDesktop, kValue, REG_BINARY, five, sizeof five);
            break;
    }
    if (c.library == Library::Present) {
        InstallVerifier();
    } else if (c.library == Library::WithoutEntry) {
        InstallVerifier(false);
    }

    LoadPasswordVerifier();

    EXPECT_EQ(headless::OpenRegistryKeys(), 0);
    if (c.passwordRequired) {
        EXPECT_NE(shellState.verifyPassword, nullptr);
        EXPECT_NE(shellState.passwordModule, nullptr);
        EXPECT_EQ(headless::ModuleRefCount("PASSWORD.CPL"), 1);
        EXPECT_EQ(RunningFlagsTold(), std::vector<UINT>{1});
    } else {
        EXPECT_EQ(shellState.verifyPassword, nullptr);
        EXPECT_EQ(shellState.passwordModule, nullptr);
        EXPECT_LE(headless::ModuleRefCount("PASSWORD.CPL"), 0) << "a library without the entry is freed at once";
        EXPECT_TRUE(RunningFlagsTold().empty());
    }

    UnloadPasswordVerifier();
    EXPECT_EQ(shellState.verifyPassword, nullptr);
    EXPECT_EQ(shellState.passwordModule, nullptr);
    EXPECT_LE(headless::ModuleRefCount("PASSWORD.CPL"), 0);
    EXPECT_EQ(RunningFlagsTold(), (c.passwordRequired ? std::vector<UINT>{1, 0} : std::vector<UINT>{}));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LoadVerifierTest,
    ::testing::Values(LoadCase{"Set", Setting::One, Library::Present, true},
                      LoadCase{"AllBits", Setting::AllBits, Library::Present, true},
                      // Shorter values fill the low bytes of a zeroed buffer.
                      LoadCase{"OneByte", Setting::OneByte, Library::Present, true},
                      LoadCase{"OneZeroByte", Setting::OneZeroByte, Library::Present, false},
                      LoadCase{"Text", Setting::Text, Library::Present, true},
                      LoadCase{"FiveBytes", Setting::FiveBytes, Library::Present, false},
                      LoadCase{"Zero", Setting::Zero, Library::Present, false},
                      LoadCase{"NoValue", Setting::KeyOnly, Library::Present, false},
                      LoadCase{"NoKey", Setting::NoKey, Library::Present, false},
                      LoadCase{"NoLibrary", Setting::One, Library::Missing, false},
                      LoadCase{"NoEntry", Setting::One, Library::WithoutEntry, false}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return info.param.name; });

TEST_F(PasswordHooksTest, LoadingAgainUnloadsFirst) {
    InstallVerifier();
    RequirePassword(1);
    LoadPasswordVerifier();
    LoadPasswordVerifier();
    EXPECT_EQ(RunningFlagsTold(), (std::vector<UINT>{1, 0, 1}));
    EXPECT_EQ(headless::ModuleRefCount("PASSWORD.CPL"), 1);

    // The setting went away meanwhile: the old verifier is dropped all the same.
    RequirePassword(0);
    LoadPasswordVerifier();
    EXPECT_EQ(shellState.verifyPassword, nullptr);
    EXPECT_EQ(headless::ModuleRefCount("PASSWORD.CPL"), 0);
    EXPECT_EQ(RunningFlagsTold(), (std::vector<UINT>{1, 0, 1, 0}));
}

TEST_F(PasswordHooksTest, UnloadingNothingDoesNothing) {
    UnloadPasswordVerifier();
    UnloadPasswordVerifier();
    EXPECT_TRUE(headless::LibraryCalls().empty());
    EXPECT_TRUE(headless::SystemParametersCalls().empty());
}

TEST_F(PasswordHooksTest, NTFamilyTouchesNothing) {
    shellState.isWin9x = 0;
    InstallVerifier();
    RequirePassword(1);
    LoadPasswordVerifier();
    SetSaverRunning(TRUE);
    UnloadPasswordVerifier();
    EXPECT_EQ(shellState.verifyPassword, nullptr);
    EXPECT_TRUE(headless::LibraryCalls().empty());
    EXPECT_TRUE(headless::SystemParametersCalls().empty());
}

TEST_F(PasswordHooksTest, SaverRunningFlagReachesTheSystem) {
    SetSaverRunning(TRUE);
    EXPECT_TRUE(headless::ScreenSaverRunning());
    SetSaverRunning(FALSE);
    EXPECT_FALSE(headless::ScreenSaverRunning());
    ASSERT_EQ(headless::SystemParametersCalls().size(), 2u);
    for (const auto& call : headless::SystemParametersCalls()) {
        EXPECT_NE(call.pvParam, nullptr) << "the previous state needs somewhere to go";
        EXPECT_EQ(call.winIni, 0u) << "nothing written to the profile, nothing broadcast";
    }
}

// ---------------------------------------------------------------------------
// The password changer: loaded for the call and freed again.

TEST_F(PasswordHooksTest, ChangerIsCalledWithTheScreenSaverProvider) {
    InstallPasswordChanger();
    HWND parent = MakeWindow();
    CallPasswordChanger(parent);
    ASSERT_EQ(ChangerCalls().size(), 1u);
    EXPECT_EQ(ChangerCalls()[0].provider, "SCRSAVE");
    EXPECT_EQ(ChangerCalls()[0].parent, parent);
    EXPECT_EQ(ChangerCalls()[0].reserved1, 0u);
    EXPECT_EQ(ChangerCalls()[0].reserved2, nullptr);
    EXPECT_EQ(headless::ModuleRefCount("MPR.DLL"), 0);
}

TEST_F(PasswordHooksTest, ChangerWithoutEntryIsLoadedAndFreed) {
    InstallPasswordChanger(false);
    CallPasswordChanger(nullptr);
    EXPECT_TRUE(ChangerCalls().empty());
    const auto& calls = headless::LibraryCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0].load);
    EXPECT_FALSE(calls[1].load);
    EXPECT_EQ(calls[1].module, calls[0].module);
    EXPECT_EQ(headless::ModuleRefCount("MPR.DLL"), 0);
}

TEST_F(PasswordHooksTest, MissingChangerDoesNothing) {
    CallPasswordChanger(nullptr);
    const auto& calls = headless::LibraryCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].module, nullptr);
}

TEST_F(PasswordHooksTest, ChangerThatCannotLoadDoesNothing) {
    InstallPasswordChanger();
    headless::FailNext(headless::FailingCall::LoadLibrary);
    CallPasswordChanger(nullptr);
    EXPECT_TRUE(ChangerCalls().empty());
    EXPECT_EQ(headless::LibraryCalls().size(), 1u);
}

}  // namespace
