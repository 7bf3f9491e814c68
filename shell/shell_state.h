// The shell's process-wide record and its entry points: start-up, the saver
// window with its message filter, the close-on-input rules with the close
// gate, and the hooks to the system's password components.
#pragma once

#include "platform/win32.h"

// Entries looked up by name at run time; called with the system's standard
// calling convention.
typedef HIMC(WINAPI* AssociateContextEntry)(HWND window, HIMC context);
typedef BOOL(WINAPI* VerifyPasswordEntry)(HWND window);
typedef DWORD(WINAPI* ChangePasswordEntry)(LPCSTR provider, HWND parent, DWORD reserved1, LPVOID reserved2);

struct ShellState {
    // Set once by DispatchMode before any mode runs.
    HINSTANCE appInstance = nullptr;
    int isWin9x = 0;

    // The saver window.
    int previewMode = 0;
    UINT autoPlayMessage = 0;
    HWND saverWindow = nullptr;
    HMODULE imeModule = nullptr;
    AssociateContextEntry associateContext = nullptr;
    HIMC savedImeContext = nullptr;
    POINT cursorAnchor = {0, 0};  // screen coordinates

    // The close gate. lastVerifyTick 0xFFFFFFFF: no prompt has run yet.
    DWORD closing = 0;
    int verifying = 0;
    DWORD lastVerifyTick = 0xFFFFFFFF;
    static constexpr DWORD mouseThreshold = 4;  // pixels; a sum of 5 closes

    // The password verifier, while a password is required.
    HMODULE passwordModule = nullptr;
    VerifyPasswordEntry verifyPassword = nullptr;
};

extern ShellState shellState;

// The password request that the close gate sends and the close-on-input
// rules answer.
constexpr UINT kPasswordRequest = WM_APP;

// Start-up and mode dispatch.
[[noreturn]] void StartSaver();
char* CommandLineTail(char* commandLine);
int DispatchMode(HINSTANCE instance, char* tail);
HWND ParseWindowHandle(const char* text);
int RunPreview(const char* text);
int ChangePasswordMode(const char* text);

// The saver window and its message filter.
int RunSaverWindow(HWND parent);
LRESULT CALLBACK ShellWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Close-on-input rules and the close gate.
LRESULT CALLBACK CloseOnInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL VerifyBeforeClose(HWND window);
DWORD ElapsedTicks(DWORD earlier, DWORD later);

// Password hooks.
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
void SetSaverRunning(BOOL on);
void CallPasswordChanger(HWND parent);
