// The scene's process-wide record: camera, random source, textures, the
// frame's loop counters and the window's drawing handles.
#pragma once

#include "platform/win32.h"

#include <cstdint>

struct SceneState {
    // Camera, single precision; see camera.cpp for how they move.
    float targetX = 40.0f;
    float targetZ = 40.0f;
    float lookHeight = 0.0f;
    float eyeX = 0.0f;
    float eyeY = 0.0f;
    float eyeZ = 0.0f;
    float orbitAngle = 0.0f;
    float switchClock = 0.0f;
    float driftDirection = 1.0f;  // 1: the drifting coordinate grows, 0: it shrinks
    float driftAxis = 0.0f;       // 0: targetZ drifts, 1: targetX drifts
    uint32_t randomSeed = 1;

    GLuint textureNames[3] = {0, 0, 0};  // panel A, panel B, floor
    BYTE additiveBlend = 1;
    int32_t gridRow = 0;
    int32_t gridColumn = 0;

    HDC windowDC = nullptr;
    HGLRC renderContext = nullptr;
};

extern SceneState sceneState;

// Camera drift and its random source.
void AdvanceCamera();
int NextRandom();
int RandomBetween(int low, int high);

// One frame of the tower field, drawn into the current context and presented.
void DrawTowerFrame(HDC windowDC);

// The window's OpenGL context and the state that stays fixed for its life.
void SetupRenderContext(HWND window, HDC* dcOut, HGLRC* contextOut);
void ResizeView(int width, int height);
void ReleaseRenderContext(HWND window, HDC dc, HGLRC context);

// The three scene textures, from bitmaps 111, 112 and 114.
void LoadSceneTextures();

LRESULT CALLBACK SceneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
