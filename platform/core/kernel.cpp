// Kernel odds and ends: last error, strings, the tick count.
#include "platform/api/windows.h"
#include "platform/core/host.h"
#include "platform/core/resources.h"

#include <cstring>

namespace {
thread_local DWORD lastError = 0;
}

DWORD WINAPI GetLastError(void) {
    return lastError;
}

void WINAPI SetLastError(DWORD error) {
    lastError = error;
}

DWORD WINAPI GetTickCount(void) {
    return layer::host::Ticks();
}

int WINAPI lstrlenA(LPCSTR text) {
    return text != nullptr ? static_cast<int>(std::strlen(text)) : 0;
}

LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source) {
    if (destination == nullptr || source == nullptr) {
        return nullptr;
    }
    return std::strcpy(destination, source);
}

LPSTR WINAPI lstrcpynA(LPSTR destination, LPCSTR source, int maxCount) {
    if (destination == nullptr || source == nullptr || maxCount <= 0) {
        return nullptr;
    }
    int i = 0;
    for (; i < maxCount - 1 && source[i] != '\0'; ++i) {
        destination[i] = source[i];
    }
    destination[i] = '\0';
    return destination;
}

