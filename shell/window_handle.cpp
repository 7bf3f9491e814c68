// Window handles on the command line: unsigned decimal, wrapping at 2^32 as
// the 32-bit system reads them.
#include "shell/shell_state.h"

HWND ParseWindowHandle(const char* text) {
    DWORD value = 0;
    if (text != nullptr) {
        for (; *text >= '0' && *text <= '9'; ++text) {
            value = value * 10 + static_cast<DWORD>(*text - '0');
        }
    }
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}
