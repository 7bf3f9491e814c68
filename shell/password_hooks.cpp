// Hooks to the password components of the 95/98/Me family, looked up by name
// and used only where found. On the NT family the saver leaves passwords to
// the system, so the verifier hooks do nothing there.
#include "shell/entry_point.h"
#include "shell/shell_state.h"

void LoadPasswordVerifier() {
    if (shellState.isWin9x == 0) {
        return;
    }
    if (shellState.passwordModule != nullptr) {
        UnloadPasswordVerifier();
    }
    HKEY desktop;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) != ERROR_SUCCESS) {
        return;
    }
    // Zeroed first: a value shorter than 4 bytes leaves the rest of it as is.
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    if (RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<LPBYTE>(&usePassword),
                         &size) == ERROR_SUCCESS &&
        usePassword != 0) {
        shellState.passwordModule = LoadLibraryA("PASSWORD.CPL");
        if (shellState.passwordModule != nullptr) {
            shellState.verifyPassword =
                EntryPoint<VerifyPasswordEntry>(shellState.passwordModule, "VerifyScreenSavePwd");
            if (shellState.verifyPassword != nullptr) {
                SetSaverRunning(TRUE);
            } else {
                UnloadPasswordVerifier();
            }
        }
    }
    RegCloseKey(desktop);
}

void UnloadPasswordVerifier() {
    if (shellState.isWin9x == 0 || shellState.passwordModule == nullptr) {
        return;
    }
    FreeLibrary(shellState.passwordModule);
    shellState.passwordModule = nullptr;
    if (shellState.verifyPassword != nullptr) {
        shellState.verifyPassword = nullptr;
        SetSaverRunning(FALSE);
    }
}

// Tells the system whether a saver runs, so that it keeps the task switch
// keys away from a password-protected saver.
void SetSaverRunning(BOOL on) {
    if (shellState.isWin9x == 0) {
        return;
    }
    DWORD previous = 0;  // the state before; not needed
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, static_cast<UINT>(on), &previous, 0);
}

void CallPasswordChanger(HWND parent) {
    HMODULE changer = LoadLibraryA("MPR.DLL");
    if (changer == nullptr) {
        return;
    }
    ChangePasswordEntry change = EntryPoint<ChangePasswordEntry>(changer, "PwdChangePasswordA");
    if (change != nullptr) {
        change("SCRSAVE", parent, 0, nullptr);
    }
    FreeLibrary(changer);
}
