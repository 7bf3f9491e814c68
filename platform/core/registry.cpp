// A registry that the host fills: keys below the predefined roots, each with
// typed values; opened keys are handles that RegCloseKey gives back.
#include "platform/core/handles.h"
#include "platform/core/system_state.h"

#include <cctype>
#include <cstring>
#include <map>

using namespace layer;

namespace layer {
namespace {

struct RegistryKey : Object {
    static constexpr ObjectKind kKind = ObjectKind::RegistryKey;
    RegistryKey() : Object(kKind) {}
    std::string path;  // normalised, root first
};

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Registry {
    std::map<std::string, std::map<std::string, Value>> keys;  // by normalised path, then lower-case name
    std::vector<HKEY> open;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

std::string LowerCase(const char* text) {
    std::string result(text != nullptr ? text : "");
    for (char& c : result) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

// The path of a root or an open key; empty for anything else.
std::string PathOf(HKEY key) {
    if (key == HKEY_CLASSES_ROOT) {
        return "hkey_classes_root";
    }
    if (key == HKEY_CURRENT_USER) {
        return "hkey_current_user";
    }
    if (key == HKEY_LOCAL_MACHINE) {
        return "hkey_local_machine";
    }
    const RegistryKey* open = Find<RegistryKey>(key);
    return open != nullptr ? open->path : std::string();
}

bool IsRoot(HKEY key) {
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE;
}

bool KeyExists(const std::string& path) {
    return path.find('\\') == std::string::npos || TheRegistry().keys.count(path) != 0;
}

// Makes a key and every key above it exist.
std::map<std::string, Value>& MakeKey(const std::string& path) {
    for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
        TheRegistry().keys[path.substr(0, at)];
    }
    return TheRegistry().keys[path];
}

std::string Below(HKEY root, const char* subKey) {
    std::string base = PathOf(root);
    std::string sub = LowerCase(subKey);
    return sub.empty() ? base : base + "\\" + sub;
}

}  // namespace

void SetRegistryValue(HKEY root, const char* subKey, const char* valueName, DWORD type, const void* data,
                      DWORD size) {
    if (!IsRoot(root)) {
        return;
    }
    Value value;
    value.type = type;
    if (data != nullptr) {
        value.data.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    }
    MakeKey(Below(root, subKey))[LowerCase(valueName)] = value;
}

void AddRegistryKey(HKEY root, const char* subKey) {
    if (IsRoot(root)) {
        MakeKey(Below(root, subKey));
    }
}

int OpenRegistryKeyCount() {
    return static_cast<int>(TheRegistry().open.size());
}

void ResetRegistry() {
    for (HKEY key : TheRegistry().open) {
        RemoveObject(reinterpret_cast<uintptr_t>(key));
    }
    TheRegistry() = Registry{};
}

}  // namespace layer

LSTATUS WINAPI RegOpenKeyA(HKEY key, LPCSTR subKey, HKEY* result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    std::string base = PathOf(key);
    if (base.empty()) {
        return ERROR_INVALID_HANDLE;
    }
    if (subKey == nullptr || subKey[0] == '\0') {
        *result = key;  // the same key, as Windows hands it back
        return ERROR_SUCCESS;
    }
    std::string path = base + "\\" + LowerCase(subKey);
    if (!KeyExists(path)) {
        *result = nullptr;
        return ERROR_FILE_NOT_FOUND;
    }
    auto* open = new RegistryKey();
    open->path = path;
    *result = reinterpret_cast<HKEY>(AddObject(open));
    TheRegistry().open.push_back(*result);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                LPDWORD dataSize) {
    std::string path = PathOf(key);
    if (path.empty()) {
        return ERROR_INVALID_HANDLE;
    }
    if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    auto keyIt = TheRegistry().keys.find(path);
    if (keyIt == TheRegistry().keys.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    auto valueIt = keyIt->second.find(LowerCase(valueName));
    if (valueIt == keyIt->second.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const Value& value = valueIt->second;
    DWORD size = static_cast<DWORD>(value.data.size());
    if (type != nullptr) {
        *type = value.type;
    }
    if (data == nullptr) {
        if (dataSize != nullptr) {
            *dataSize = size;
        }
        return ERROR_SUCCESS;
    }
    if (*dataSize < size) {
        *dataSize = size;  // the buffer is left as it was
        return ERROR_MORE_DATA;
    }
    if (size != 0) {
        std::memcpy(data, value.data.data(), size);
    }
    *dataSize = size;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY key) {
    if (IsRoot(key)) {
        return ERROR_SUCCESS;
    }
    if (Find<RegistryKey>(key) == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    auto& open = TheRegistry().open;
    std::erase(open, key);
    RemoveObject(reinterpret_cast<uintptr_t>(key));
    return ERROR_SUCCESS;
}
