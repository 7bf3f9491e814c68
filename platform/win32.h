// The one include of the system code for Win32, WGL, GL and GLU. On Windows it
// is the system's own headers; elsewhere our layer stands in for them.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include "platform/api/windows.h"
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif
