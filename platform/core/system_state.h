// Process-wide settings of the system the core stands in for: command line,
// version, modules, registry, heap, system parameters.
#pragma once

#include "platform/api/windows.h"
#include "platform/core/call_log.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace layer {

// Command line (GetCommandLineA).
void SetCommandLine(const char* commandLine);
// The command line Windows would give a program started with this argument
// vector: the program name in double quotes when it is empty or contains a
// blank or control byte, each argument after a single blank, as it stands.
std::string CommandLineFromArgv(int argc, const char* const* argv);

// Version (GetVersionExA).
void SetVersionInfo(DWORD platformId, DWORD major, DWORD minor, DWORD build, const char* servicePack);
void SetVersionCallFails(bool fails);

// Modules (GetModuleHandleA, LoadLibraryA, GetProcAddress, FreeLibrary).
struct LibraryCallRecord {
    bool load = true;
    std::string name;
    HMODULE module = nullptr;
    BOOL ok = FALSE;
};
HMODULE PlaceModule(const char* name, bool loaded, const std::vector<std::pair<std::string, FARPROC>>& exports);
int ModuleRefCount(const char* name);
const std::vector<LibraryCallRecord>& LibraryCallLog();

// Registry (RegOpenKeyA, RegQueryValueExA, RegCloseKey).
void SetRegistryValue(HKEY root, const char* subKey, const char* valueName, DWORD type, const void* data, DWORD size);
void AddRegistryKey(HKEY root, const char* subKey);
int OpenRegistryKeyCount();

// Heap (HeapAlloc, HeapFree).
size_t LiveHeapBlockCount();

// System parameters (SystemParametersInfoA).
struct SystemParametersRecord {
    UINT action = 0;
    UINT uiParam = 0;
    void* pvParam = nullptr;
    UINT winIni = 0;
};
const std::vector<SystemParametersRecord>& SystemParametersLog();
bool ScreenSaverRunningFlag();

// Back to the defaults; ResetSystemState does all of these.
void ResetModules();
void ResetRegistry();
void ResetHeap();
void ResetSystemState();

}  // namespace layer
