// A recording stand-in for GL, GLU and the few WGL/GDI calls the scene makes:
// the scene is linked against it instead of a real GL, and every call lands
// in a list that tests read. A little GL state is tracked so that each
// glBegin records the state in force for its drawing.
#pragma once

#include "platform/win32.h"

#include <string>
#include <vector>

namespace rec {

struct Call {
    std::string name;
    std::vector<double> args;
};

// The state in force when a glBegin was recorded.
struct DrawState {
    GLuint texture = 0;
    bool blend = false;
    bool depthTest = false;
    GLenum blendSource = GL_ONE;
    GLenum blendDestination = GL_ZERO;
};

struct Recorder {
    std::vector<Call> calls;
    std::vector<DrawState> draws;  // one per glBegin, in order
    // Tracked state.
    GLuint boundTexture = 0;
    bool blend = false;
    bool depthTest = false;
    GLenum blendSource = GL_ONE;
    GLenum blendDestination = GL_ZERO;
    GLuint nextTexture = 1;
    HGLRC current = nullptr;
    // Knobs.
    std::vector<WORD> missingBitmaps;  // LoadImageA fails for these ids
    bool pixelFormats = true;          // ChoosePixelFormat finds one
};

Recorder& Get();
// Clears the calls and the tracked state; keeps the knobs as they are.
void Clear();
// Number of recorded calls with this name.
size_t Count(const std::string& name);
// The calls with this name, in order.
std::vector<Call> All(const std::string& name);

}  // namespace rec
