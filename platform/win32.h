// The one include of the system code for Win32, WGL, GL and GLU. On Windows it
// is the system's own headers; elsewhere our layer stands in for them.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#ifdef _WIN64
// The test-only 64-bit build: the pointer-sized calls keep procedures and records whole.
#undef GWL_WNDPROC
#undef GWL_USERDATA
#define GWL_WNDPROC GWLP_WNDPROC
#define GWL_USERDATA GWLP_USERDATA
#undef GetWindowLongA
#undef SetWindowLongA
#define GetWindowLongA GetWindowLongPtrA
#define SetWindowLongA SetWindowLongPtrA
#endif
#else
#include "platform/api/windows.h"
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif
