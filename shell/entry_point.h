// An entry found with GetProcAddress, as the function type it really has.
// The detour through a plain function pointer keeps the cast free of
// function-type warnings.
#pragma once

#include "platform/win32.h"

template <class Entry>
Entry EntryPoint(HMODULE module, LPCSTR name) {
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}
