// The about box, the saver's configure box.
#pragma once

#include "platform/win32.h"

// Resource ids of the box: its template, the hot-spot over the web address
// drawn in the picture.
constexpr int aboutTemplateId = 2003;
constexpr int aboutLinkId = 1007;

// The maker's web page, opened by the hot-spot.
extern const char makerWebAddress[];

// Runs the box modally: 1 when closed with its push button or Enter, 0 with
// Esc, -1 when it cannot be created.
int ShowAboutDialog(HWND owner);
// Makes ready the window classes the template needs: the system's own do.
BOOL PrepareDialogClasses(HINSTANCE instance);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
