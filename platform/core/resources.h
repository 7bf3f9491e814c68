// Resources of the executable: the compiled resource script (the standard
// binary .res layout) embedded in the program, looked up by type and id.
#pragma once

#include "platform/api/types.h"

#include <cstddef>

namespace layer {

#define OSTREL_RT_BITMAP 2
#define OSTREL_RT_DIALOG 5
#define OSTREL_RT_STRING 6

struct ResourceData {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// Installs the .res image that resource lookups read; the executable's
// embedded resources call this before main. The bytes must outlive the process.
void SetResourceImage(const BYTE* image, size_t size);
// The installed image, for tests that make a changed copy of it.
const BYTE* ResourceImageBytes(size_t* size);
// Finds a resource by numeric type and by name (an integer resource or a
// string, compared without regard to case). Any language matches.
bool FindResourceData(WORD type, LPCSTR name, ResourceData* out);
// The instance handle of the executable itself.
HINSTANCE MainInstance();
// Whether the instance is one whose resources FindResourceData reads.
bool IsMainInstance(HINSTANCE instance);

}  // namespace layer
