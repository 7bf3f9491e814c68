// WGL: OpenGL contexts on a window's device context.
#pragma once

#include "platform/api/types.h"

HGLRC WINAPI wglCreateContext(HDC dc);
BOOL WINAPI wglDeleteContext(HGLRC context);
BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context);
HGLRC WINAPI wglGetCurrentContext(void);
HDC WINAPI wglGetCurrentDC(void);
