// The executable's entry. The tail is taken from the system, not from here.
#include "shell/shell_state.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    StartSaver();
    return 0;  // never reached: StartSaver ends the process
}
