// Modules: the executable itself, and the libraries the host places in the
// process (the system's optional components), loaded and freed by name with
// reference counts.
#include "platform/core/handles.h"
#include "platform/core/call_log.h"
#include "platform/core/failures.h"
#include "platform/core/resources.h"
#include "platform/core/system_state.h"

#include <algorithm>
#include <cctype>

using namespace layer;

namespace layer {
namespace {

struct Module : Object {
    static constexpr ObjectKind kKind = ObjectKind::Module;
    Module() : Object(kKind) {}

    std::string name;  // normalised: upper case, with extension
    std::vector<std::pair<std::string, FARPROC>> exports;
    int refs = 0;
};

struct ModuleTable {
    std::vector<HMODULE> placed;
    CallLog<LibraryCallRecord> calls;
};

ModuleTable& Table() {
    static ModuleTable table;
    return table;
}

// "c:\windows\system\imm32" -> "IMM32.DLL": no folder, upper case, and the
// extension Windows implies when a name has none.
std::string NormalisedName(LPCSTR name) {
    std::string text(name);
    size_t slash = text.find_last_of("\\/");
    if (slash != std::string::npos) {
        text.erase(0, slash + 1);
    }
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (text.find('.') == std::string::npos) {
        text += ".DLL";
    }
    return text;
}

Module* FindByName(LPCSTR name) {
    std::string wanted = NormalisedName(name);
    for (HMODULE handle : Table().placed) {
        Module* module = Find<Module>(handle);
        if (module != nullptr && module->name == wanted) {
            return module;
        }
    }
    return nullptr;
}

Module* FindLoaded(HMODULE handle) {
    Module* module = Find<Module>(handle);
    return module != nullptr && module->refs > 0 ? module : nullptr;
}

}  // namespace

HMODULE PlaceModule(const char* name, bool loaded, const std::vector<std::pair<std::string, FARPROC>>& exports) {
    if (name == nullptr || name[0] == '\0') {
        return nullptr;
    }
    Module* module = FindByName(name);
    if (module == nullptr) {
        module = new Module();
        module->name = NormalisedName(name);
        Table().placed.push_back(reinterpret_cast<HMODULE>(AddObject(module)));
    }
    module->exports = exports;
    module->refs = loaded ? 1 : 0;
    return HandleOf<HMODULE>(module);
}

int ModuleRefCount(const char* name) {
    const Module* module = name != nullptr ? FindByName(name) : nullptr;
    return module != nullptr ? module->refs : -1;
}

const std::vector<LibraryCallRecord>& LibraryCallLog() {
    return Table().calls.Entries();
}

void ResetModules() {
    for (HMODULE handle : Table().placed) {
        if (Find<Module>(handle) != nullptr) {
            RemoveObject(reinterpret_cast<uintptr_t>(handle));
        }
    }
    Table() = ModuleTable{};
}

}  // namespace layer

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    if (name == nullptr) {
        return MainInstance();
    }
    Module* module = FindByName(name);
    if (module == nullptr || module->refs == 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return HandleOf<HMODULE>(module);
}

HMODULE WINAPI LoadLibraryA(LPCSTR name) {
    LibraryCallRecord record;
    record.name = name != nullptr ? name : "";
    HMODULE result = nullptr;
    if (name == nullptr || name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
    } else if (!TakeFailure(Failure::LoadLibrary)) {
        if (Module* module = FindByName(name)) {
            ++module->refs;
            result = HandleOf<HMODULE>(module);
        } else {
            SetLastError(ERROR_MOD_NOT_FOUND);
        }
    }
    record.module = result;
    record.ok = result != nullptr;
    Table().calls.Add(record);
    return result;
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR name) {
    Module* module = FindLoaded(handle);
    if (module == nullptr || name == nullptr || IS_INTRESOURCE(name)) {
        SetLastError(module == nullptr ? ERROR_MOD_NOT_FOUND : ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    auto it = std::find_if(module->exports.begin(), module->exports.end(),
                           [name](const auto& entry) { return entry.first == name; });
    if (it == module->exports.end()) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return it->second;
}

BOOL WINAPI FreeLibrary(HMODULE handle) {
    LibraryCallRecord record;
    record.load = false;
    record.module = handle;
    Module* module = FindLoaded(handle);
    if (module != nullptr) {
        record.name = module->name;
        --module->refs;
        record.ok = TRUE;
    } else {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    Table().calls.Add(record);
    return record.ok;
}
