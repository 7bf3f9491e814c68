// Command line, version, system parameters, Sleep and ExitProcess.
#include "platform/core/host.h"
#include "platform/core/system_state.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

using namespace layer;

namespace layer {
namespace {

constexpr const char* kDefaultCommandLine = "ostrel.scr";

struct SystemInfo {
    // Zero-terminated; GetCommandLineA hands out the same buffer every time.
    std::vector<char> commandLine{kDefaultCommandLine, kDefaultCommandLine + std::strlen(kDefaultCommandLine) + 1};
    OSVERSIONINFOA version{sizeof(OSVERSIONINFOA), 5, 1, 2600, VER_PLATFORM_WIN32_NT, "Service Pack 3"};
    bool versionFails = false;
    bool screenSaverRunning = false;
    CallLog<SystemParametersRecord> parameters;
};

SystemInfo& Info() {
    static SystemInfo info;
    return info;
}

bool NeedsQuotes(const char* name) {
    if (name[0] == '\0') {
        return true;
    }
    for (const char* p = name; *p != '\0'; ++p) {
        if (static_cast<unsigned char>(*p) <= 0x20) {
            return true;
        }
    }
    return false;
}

}  // namespace

void SetCommandLine(const char* commandLine) {
    if (commandLine == nullptr) {
        commandLine = "";
    }
    Info().commandLine.assign(commandLine, commandLine + std::strlen(commandLine) + 1);
}

std::string CommandLineFromArgv(int argc, const char* const* argv) {
    std::string line;
    if (argc <= 0 || argv == nullptr || argv[0] == nullptr) {
        return line;
    }
    line = NeedsQuotes(argv[0]) ? "\"" + std::string(argv[0]) + "\"" : std::string(argv[0]);
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        line += ' ';
        line += argv[i];
    }
    return line;
}

void SetVersionInfo(DWORD platformId, DWORD major, DWORD minor, DWORD build, const char* servicePack) {
    OSVERSIONINFOA& version = Info().version;
    version.dwPlatformId = platformId;
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    version.dwBuildNumber = build;
    std::memset(version.szCSDVersion, 0, sizeof version.szCSDVersion);
    std::strncpy(version.szCSDVersion, servicePack != nullptr ? servicePack : "", sizeof version.szCSDVersion - 1);
}

void SetVersionCallFails(bool fails) {
    Info().versionFails = fails;
}

const std::vector<SystemParametersRecord>& SystemParametersLog() {
    return Info().parameters.Entries();
}

bool ScreenSaverRunningFlag() {
    return Info().screenSaverRunning;
}

void ResetSystemState() {
    Info() = SystemInfo{};
    ResetModules();
    ResetRegistry();
    ResetHeap();
}

}  // namespace layer

LPSTR WINAPI GetCommandLineA(void) {
    return Info().commandLine.data();
}

LPSTR WINAPI CharNextA(LPCSTR text) {
    if (text == nullptr) {
        return nullptr;
    }
    return const_cast<LPSTR>(*text != '\0' ? text + 1 : text);
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    if (info == nullptr || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (Info().versionFails) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD size = info->dwOSVersionInfoSize;
    *info = Info().version;
    info->dwOSVersionInfoSize = size;
    return TRUE;
}

BOOL WINAPI SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni) {
    SystemInfo& info = Info();
    info.parameters.Add(SystemParametersRecord{action, uiParam, pvParam, winIni});
    if (action == SPI_SETSCREENSAVERRUNNING) {
        if (pvParam != nullptr) {
            *static_cast<UINT*>(pvParam) = info.screenSaverRunning ? TRUE : FALSE;
        }
        info.screenSaverRunning = uiParam != 0;
        return TRUE;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

void WINAPI Sleep(DWORD milliseconds) {
    host::Sleep(milliseconds);
}

void WINAPI ExitProcess(UINT exitCode) {
    std::fflush(nullptr);
    host::ProcessExiting(exitCode);
    std::fflush(nullptr);
    _exit(static_cast<int>(exitCode));
}
