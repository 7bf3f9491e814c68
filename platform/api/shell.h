// The shell's document opener.
#pragma once

#include "platform/api/types.h"

// ShellExecuteA's results: above 32 on success, else one of these.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31
HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                               INT showCommand);
