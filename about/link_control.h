// The link hot-spot: a static control subclassed to draw its text underlined
// in a link colour, show a hand cursor and open a target when clicked.
#pragma once

#include "platform/win32.h"

constexpr COLORREF linkDefaultColour = 0x00FF0000;  // pure blue
constexpr COLORREF linkVisitedColour = 0x00800080;  // purple
constexpr int linkTextMax = 259;                    // characters, without the terminator

// One per link control, on the process heap, owned by the control.
struct LinkControlData {
    char url[linkTextMax + 1];  // empty: open the window text instead
    WNDPROC previousProc;
    COLORREF textColour;
    COLORREF visitedColour;
};

// Shared by all link controls; the font and the cursor are made on first
// use and kept for the life of the process.
extern HFONT linkFont;
extern HCURSOR linkCursor;
extern LONG linkPressed;
extern char linkTextBuffer[linkTextMax + 1];

// Makes control `id` of `dialog` a link to `target` (null: its window text)
// in `colour` (-1: the default blue). Always returns 1.
int AttachLinkControl(HWND dialog, int id, const char* target, COLORREF colour);
LRESULT CALLBACK LinkControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
