// The system's window classes that dialogs use: "Static", "Button" and the
// default dialog class.
#pragma once

#include "platform/api/windows.h"

namespace layer {

// The default dialog class, as Win32 names it.
#define OSTREL_DIALOG_CLASS "#32770"

// Registers the system classes that are not registered yet.
void EnsureSystemClasses();

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DialogClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Window extra slots of the control classes (multiples of 8 in this layer).
constexpr int kControlStateSlot = 0;  // Static: its bitmap; Button: pressed flags
constexpr int kControlFontSlot = 8;   // WM_SETFONT
constexpr int kControlExtraBytes = 16;

// The text and font messages every control answers alike: a new text
// repaints, the font is kept in its slot. True when `message` was one of them.
bool HandleControlTextAndFont(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

}  // namespace layer
