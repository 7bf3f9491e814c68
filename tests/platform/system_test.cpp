// The process and system seams: command line, version, modules, registry,
// system parameters, heap, Sleep and ExitProcess.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/core/system_state.h"
#include "tests/platform/recording_window.h"

namespace platform_test {
namespace {

using SystemTest = LayerTest;

struct ArgvCase {
    const char* name;
    std::vector<const char*> argv;
    const char* expected;
};

class CommandLineTest : public LayerTest, public ::testing::WithParamInterface<ArgvCase> {};

TEST_P(CommandLineTest, ArgvBecomesTheCommandLineWindowsWouldGive) {
    const ArgvCase& c = GetParam();
    EXPECT_EQ(layer::CommandLineFromArgv(static_cast<int>(c.argv.size()), c.argv.data()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Argv, CommandLineTest,
    ::testing::Values(
        ArgvCase{"programOnly", {"ostrel"}, "ostrel"}, ArgvCase{"oneSwitch", {"./ostrel", "/s"}, "./ostrel /s"},
        ArgvCase{"blankInName", {"/opt/my saver/ostrel", "/p", "500"}, "\"/opt/my saver/ostrel\" /p 500"},
        ArgvCase{"tabInName", {"a\tb", "/c"}, "\"a\tb\" /c"}, ArgvCase{"emptyName", {"", "/s"}, "\"\" /s"},
        ArgvCase{"argumentsAsTheyStand", {"ostrel", "/c:1 2", ""}, "ostrel /c:1 2 "}, ArgvCase{"nothing", {}, ""}),
    [](const ::testing::TestParamInfo<ArgvCase>& info) { return std::string(info.param.name); });

TEST_F(SystemTest, GetCommandLineHandsOutTheSameWritableBuffer) {
    headless::SetCommandLine("\"C:\\Saver\\ostrel.scr\" /s");
    LPSTR line = GetCommandLineA();
    EXPECT_STREQ(line, "\"C:\\Saver\\ostrel.scr\" /s");
    EXPECT_EQ(GetCommandLineA(), line);
    headless::SetCommandLine(nullptr);
    EXPECT_STREQ(GetCommandLineA(), "");
}

TEST_F(SystemTest, CharNextStepsOneByteAndNeverPastTheEnd) {
    const char text[] = "a\xE4";
    EXPECT_EQ(CharNextA(text), text + 1);
    EXPECT_EQ(CharNextA(text + 1), text + 2);
    EXPECT_EQ(CharNextA(text + 2), text + 2);
    EXPECT_EQ(CharNextA(nullptr), nullptr);
}

TEST_F(SystemTest, VersionReportsTheFamilyOrFails) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(info.dwOSVersionInfoSize, 148u);

    headless::SetWindowsFamily(headless::WindowsFamily::Win9x);
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
    EXPECT_EQ(info.dwMajorVersion, 4u);
    EXPECT_EQ(info.dwMinorVersion, 10u);

    info.dwOSVersionInfoSize = 147;
    info.dwPlatformId = 99;
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, 99u);  // untouched
    EXPECT_FALSE(GetVersionExA(nullptr));

    info.dwOSVersionInfoSize = 148;
    headless::SetVersionCallFails(true);
    EXPECT_FALSE(GetVersionExA(&info));
    headless::Reset();
    info.dwOSVersionInfoSize = 148;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
}

using VerifyFunction = BOOL(WINAPI*)(HWND);
BOOL WINAPI AcceptingVerifier(HWND) { return TRUE; }
using AssociateFunction = HIMC(WINAPI*)(HWND, HIMC);
HIMC WINAPI FakeAssociate(HWND, HIMC) { return nullptr; }

TEST_F(SystemTest, ALoadedModuleIsFoundByNameAnotherOnlyByLoadingIt) {
    HMODULE imm = headless::AddModule("IMM32.DLL", true, {{"ImmAssociateContext", headless::ExportOf(FakeAssociate)}});
    HMODULE password =
        headless::AddModule("PASSWORD.CPL", false, {{"VerifyScreenSavePwd", headless::ExportOf(AcceptingVerifier)}});
    // Names compare without case; ".DLL" is implied.
    EXPECT_EQ(GetModuleHandleA("imm32.dll"), imm);
    EXPECT_EQ(GetModuleHandleA("Imm32"), imm);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(GetModuleHandleA(nullptr), reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x00400000)));
    auto associate =
        reinterpret_cast<AssociateFunction>(reinterpret_cast<void (*)()>(GetProcAddress(imm, "ImmAssociateContext")));
    ASSERT_NE(associate, nullptr);
    EXPECT_EQ(associate(nullptr, nullptr), nullptr);
    EXPECT_EQ(GetProcAddress(imm, "immassociatecontext"), nullptr);       // entry names keep their case
    EXPECT_EQ(GetProcAddress(password, "VerifyScreenSavePwd"), nullptr);  // not loaded yet

    EXPECT_EQ(LoadLibraryA("password.cpl"), password);
    auto verify =
        reinterpret_cast<VerifyFunction>(reinterpret_cast<void (*)()>(GetProcAddress(password, "VerifyScreenSavePwd")));
    ASSERT_NE(verify, nullptr);
    EXPECT_TRUE(verify(nullptr));
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), password);
    EXPECT_EQ(headless::ModuleRefCount("PASSWORD.CPL"), 1);
    EXPECT_TRUE(FreeLibrary(password));
    EXPECT_EQ(headless::ModuleRefCount("PASSWORD.CPL"), 0);
    EXPECT_EQ(GetProcAddress(password, "VerifyScreenSavePwd"), nullptr);
    EXPECT_FALSE(FreeLibrary(password));  // one free too many is refused
    EXPECT_EQ(headless::ModuleRefCount("NOSUCH.DLL"), -1);
}

TEST_F(SystemTest, LibraryCallsAreLoggedWithTheirResults) {
    headless::AddModule("MPR.DLL", false, {});
    HMODULE first = LoadLibraryA("MPR.DLL");
    HMODULE second = LoadLibraryA("MPR.DLL");
    EXPECT_EQ(first, second);
    EXPECT_EQ(headless::ModuleRefCount("MPR.DLL"), 2);
    EXPECT_EQ(GetProcAddress(first, "PwdChangePasswordA"), nullptr);
    EXPECT_EQ(LoadLibraryA("MISSING.DLL"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    headless::FailNext(headless::FailingCall::LoadLibrary);
    EXPECT_EQ(LoadLibraryA("MPR.DLL"), nullptr);
    FreeLibrary(first);
    FreeLibrary(second);
    const auto& calls = headless::LibraryCalls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_TRUE(calls[0].load);
    EXPECT_EQ(calls[0].name, "MPR.DLL");
    EXPECT_TRUE(calls[0].ok);
    EXPECT_FALSE(calls[2].ok);
    EXPECT_EQ(calls[2].name, "MISSING.DLL");
    EXPECT_FALSE(calls[3].ok);
    EXPECT_FALSE(calls[4].load);
    EXPECT_EQ(calls[4].module, first);
    EXPECT_TRUE(calls[5].ok);
    EXPECT_EQ(headless::ModuleRefCount("MPR.DLL"), 0);
}

struct RegistryCase {
    const char* name;
    const char* subKey;
    const char* valueName;
    DWORD bufferSize;
    LSTATUS status;
    DWORD sizeAfter;
};

class RegistryTest : public LayerTest, public ::testing::WithParamInterface<RegistryCase> {
protected:
    void SetUp() override {
        LayerTest::SetUp();
        headless::SetRegistryDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", 1);
        const char text[] = "12345678";
        headless::SetRegistryValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Long", REG_SZ, text, sizeof text);
        const BYTE two[] = {0x01, 0x02};
        headless::SetRegistryValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Short", REG_BINARY, two, 2);
    }
};

TEST_P(RegistryTest, QueryAnswersAsWindowsDoes) {
    const RegistryCase& c = GetParam();
    HKEY key = nullptr;
    LSTATUS opened = RegOpenKeyA(HKEY_CURRENT_USER, c.subKey, &key);
    if (opened != ERROR_SUCCESS) {
        EXPECT_EQ(opened, c.status);
        EXPECT_EQ(headless::OpenRegistryKeys(), 0);
        return;
    }
    BYTE buffer[16];
    std::memset(buffer, 0xEE, sizeof buffer);
    DWORD size = c.bufferSize;
    LSTATUS status = RegQueryValueExA(key, c.valueName, nullptr, nullptr, buffer, &size);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(size, c.sizeAfter);
    if (status != ERROR_SUCCESS) {
        EXPECT_EQ(buffer[0], 0xEE);  // nothing written
    }
    EXPECT_EQ(headless::OpenRegistryKeys(), 1);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(headless::OpenRegistryKeys(), 0);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegistryTest,
    ::testing::Values(
        RegistryCase{"dword", "Control Panel\\Desktop", "ScreenSaveUsePassword", 4, ERROR_SUCCESS, 4},
        RegistryCase{"caseIgnored", "control panel\\DESKTOP", "screensaveusepassword", 4, ERROR_SUCCESS, 4},
        RegistryCase{"longerThanTheBuffer", "Control Panel\\Desktop", "Long", 4, ERROR_MORE_DATA, 9},
        RegistryCase{"shorterThanTheBuffer", "Control Panel\\Desktop", "Short", 4, ERROR_SUCCESS, 2},
        RegistryCase{"missingValue", "Control Panel\\Desktop", "Nothing", 4, ERROR_FILE_NOT_FOUND, 4},
        RegistryCase{"missingKey", "Control Panel\\Nowhere", "ScreenSaveUsePassword", 4, ERROR_FILE_NOT_FOUND, 4},
        RegistryCase{"parentKeyExists", "Control Panel", "ScreenSaveUsePassword", 4, ERROR_FILE_NOT_FOUND, 4}),
    [](const ::testing::TestParamInfo<RegistryCase>& info) { return std::string(info.param.name); });

TEST_F(SystemTest, RegistryReportsTypeAndSizeAndRefusesBadCalls) {
    headless::SetRegistryDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", 0x12345678);
    HKEY key;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    DWORD value = 0;
    size = 4;
    EXPECT_EQ(RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 0x12345678u);
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExA(key, "ScreenSaveUsePassword", &reserved, nullptr, nullptr, &size),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(
        RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel", nullptr), ERROR_INVALID_PARAMETER);
    HKEY bogus = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x7F0000));
    EXPECT_EQ(RegOpenKeyA(bogus, "x", &key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(bogus, "x", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    HKEY same = nullptr;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "", &same), ERROR_SUCCESS);
    EXPECT_EQ(same, HKEY_CURRENT_USER);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(SystemTest, ScreenSaverRunningIsRecordedAndHandsBackThePreviousState) {
    UINT previous = 0xAB;
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &previous, 0));
    EXPECT_EQ(previous, 0u);
    EXPECT_TRUE(headless::ScreenSaverRunning());
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &previous, 0));
    EXPECT_EQ(previous, 1u);
    EXPECT_FALSE(headless::ScreenSaverRunning());
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0));
    const auto& calls = headless::SystemParametersCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].action, static_cast<UINT>(SPI_SETSCREENSAVERRUNNING));
    EXPECT_EQ(calls[0].uiParam, 1u);
    EXPECT_EQ(calls[0].pvParam, &previous);
    EXPECT_EQ(calls[0].winIni, 0u);
    EXPECT_EQ(calls[1].uiParam, 0u);
}

TEST_F(SystemTest, HeapBlocksAreNotZeroedAndBadFreesAreRefused) {
    HANDLE heap = GetProcessHeap();
    size_t before = headless::LiveHeapBlocks();
    auto* block = static_cast<BYTE*>(HeapAlloc(heap, 0, 16));
    ASSERT_NE(block, nullptr);
    EXPECT_NE(block[0], 0);  // callers must not count on zeros
    auto* zeroed = static_cast<BYTE*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 16));
    EXPECT_EQ(zeroed[15], 0);
    EXPECT_EQ(headless::LiveHeapBlocks(), before + 2);
    EXPECT_TRUE(HeapFree(heap, 0, block));
    EXPECT_FALSE(HeapFree(heap, 0, block));  // twice
    int onTheStack = 0;
    EXPECT_FALSE(HeapFree(heap, 0, &onTheStack));
    EXPECT_TRUE(HeapFree(heap, 0, nullptr));
    EXPECT_TRUE(HeapFree(heap, 0, zeroed));
    EXPECT_EQ(headless::LiveHeapBlocks(), before);

    headless::FailNextHeapAlloc();
    EXPECT_EQ(HeapAlloc(heap, 0, 16), nullptr);
    void* next = HeapAlloc(heap, 0, 16);
    EXPECT_NE(next, nullptr);
    HeapFree(heap, 0, next);
    EXPECT_EQ(HeapAlloc(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1234)), 0, 16), nullptr);
}

TEST_F(SystemTest, SleepIsRecordedAndMovesNoClock) {
    headless::SetTicks(1000);
    Sleep(0);
    Sleep(25);
    EXPECT_EQ(headless::SleepCalls(), (std::vector<DWORD>{0, 25}));
    EXPECT_EQ(GetTickCount(), 1000u);
}

TEST_F(SystemTest, TickCountWrapsAndSetTicksLeavesTimersAlone) {
    HWND window = TopLevel(0, 0, 10, 10, WS_POPUP);
    headless::SetTicks(0xFFFFFFF0u);
    SetTimer(window, 1, 50, nullptr);
    headless::AdvanceTicks(0x20);
    EXPECT_EQ(GetTickCount(), 0x10u);
    headless::SetTicks(0);  // only what GetTickCount reads
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    headless::AdvanceTicks(18);
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

TEST_F(SystemTest, ExitProcessCanBeCaughtByATest) {
    headless::SetExitProcessThrows(true);
    try {
        ExitProcess(0xFFFFFFFFu);
        FAIL() << "ExitProcess returned";
    } catch (const headless::ProcessExit& exit) {
        EXPECT_EQ(exit.code, 0xFFFFFFFFu);
    }
}

TEST(ExitProcessDeathTest, EndsTheProcessWithTheCodeAfterFlushingStdio) {
    std::string path = ::testing::TempDir() + "exit_process_flush.txt";
    std::remove(path.c_str());
    EXPECT_EXIT(
        {
            FILE* file = std::fopen(path.c_str(), "w");
            std::fprintf(file, "written before the exit");
            ExitProcess(7);
        },
        ::testing::ExitedWithCode(7), "");
    FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    char text[64] = {};
    ASSERT_NE(std::fgets(text, sizeof text, file), nullptr);
    std::fclose(file);
    std::remove(path.c_str());
    EXPECT_STREQ(text, "written before the exit");
}

}  // namespace
}  // namespace platform_test
