// The shell's document opener.
#pragma once

#include "platform/api/types.h"

HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                               INT showCommand);
