// Process start: the command-line tail, one mode, and the exit with its result.
#include "shell/shell_state.h"

namespace {

bool IsBlank(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 0x01 && byte <= 0x20;
}

}  // namespace

// Skips the program name, quoted or not, and the blanks after it. Bytes above
// 0x7F belong to the name.
char* CommandLineTail(char* commandLine) {
    static char empty[1] = {'\0'};
    if (commandLine == nullptr) {
        return empty;
    }
    char* p = commandLine;
    if (*p == '"') {
        do {
            p = CharNextA(p);
        } while (*p != '\0' && *p != '"');
        if (*p == '"') {
            ++p;  // text right behind the closing quote already starts the tail
        }
    } else if (static_cast<unsigned char>(*p) > 0x20) {
        while (static_cast<unsigned char>(*p) > 0x20) {
            p = CharNextA(p);
        }
    }
    while (IsBlank(*p)) {
        p = CharNextA(p);
    }
    return p;
}

// Ends the process directly: the runtime's own exit path is not taken.
void StartSaver() {
    char* tail = CommandLineTail(GetCommandLineA());
    int result = DispatchMode(GetModuleHandleA(nullptr), tail);
    ExitProcess(static_cast<UINT>(result));
}
