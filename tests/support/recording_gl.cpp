#include "tests/support/recording_gl.h"

#include <algorithm>
#include <cstring>

namespace rec {

Recorder& Get() {
    static Recorder recorder;
    return recorder;
}

void Clear() {
    Recorder& r = Get();
    std::vector<WORD> missing = r.missingBitmaps;
    bool formats = r.pixelFormats;
    r = Recorder{};
    r.missingBitmaps = missing;
    r.pixelFormats = formats;
}

size_t Count(const std::string& name) {
    const auto& calls = Get().calls;
    return static_cast<size_t>(
        std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.name == name; }));
}

std::vector<Call> All(const std::string& name) {
    std::vector<Call> result;
    for (const Call& c : Get().calls) {
        if (c.name == name) {
            result.push_back(c);
        }
    }
    return result;
}

}  // namespace rec

namespace {

void Record(const char* name, std::vector<double> args = {}) {
    rec::Get().calls.push_back(rec::Call{name, std::move(args)});
}

void SetCap(GLenum cap, bool on) {
    rec::Recorder& r = rec::Get();
    if (cap == GL_BLEND) {
        r.blend = on;
    } else if (cap == GL_DEPTH_TEST) {
        r.depthTest = on;
    }
}

// Fake handles for the Win32 side.
HDC const kDC = reinterpret_cast<HDC>(0x1234);
HGLRC const kContext = reinterpret_cast<HGLRC>(0x5678);

BYTE fakePixels[4 * 4 * 3];

}  // namespace

// GL
void GLAPIENTRY glBegin(GLenum mode) {
    rec::Recorder& r = rec::Get();
    r.draws.push_back(rec::DrawState{r.boundTexture, r.blend, r.depthTest, r.blendSource, r.blendDestination});
    Record("glBegin", {static_cast<double>(mode)});
}
void GLAPIENTRY glEnd(void) { Record("glEnd"); }
void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Record("glVertex3f", {x, y, z}); }
void GLAPIENTRY glTexCoord2f(GLfloat s, GLfloat t) { Record("glTexCoord2f", {s, t}); }
void GLAPIENTRY glBindTexture(GLenum target, GLuint texture) {
    rec::Get().boundTexture = texture;
    Record("glBindTexture", {static_cast<double>(target), static_cast<double>(texture)});
}
void GLAPIENTRY glEnable(GLenum cap) {
    SetCap(cap, true);
    Record("glEnable", {static_cast<double>(cap)});
}
void GLAPIENTRY glDisable(GLenum cap) {
    SetCap(cap, false);
    Record("glDisable", {static_cast<double>(cap)});
}
void GLAPIENTRY glBlendFunc(GLenum source, GLenum destination) {
    rec::Get().blendSource = source;
    rec::Get().blendDestination = destination;
    Record("glBlendFunc", {static_cast<double>(source), static_cast<double>(destination)});
}
void GLAPIENTRY glClear(GLbitfield mask) { Record("glClear", {static_cast<double>(mask)}); }
void GLAPIENTRY glLoadIdentity(void) { Record("glLoadIdentity"); }
void GLAPIENTRY glFinish(void) { Record("glFinish"); }
void GLAPIENTRY glMatrixMode(GLenum mode) { Record("glMatrixMode", {static_cast<double>(mode)}); }
void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    Record("glViewport", {static_cast<double>(x), static_cast<double>(y), static_cast<double>(width),
                          static_cast<double>(height)});
}
void GLAPIENTRY glShadeModel(GLenum mode) { Record("glShadeModel", {static_cast<double>(mode)}); }
void GLAPIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { Record("glClearColor", {r, g, b, a}); }
void GLAPIENTRY glClearDepth(GLclampd depth) { Record("glClearDepth", {depth}); }
void GLAPIENTRY glDepthFunc(GLenum func) { Record("glDepthFunc", {static_cast<double>(func)}); }
void GLAPIENTRY glHint(GLenum target, GLenum mode) {
    Record("glHint", {static_cast<double>(target), static_cast<double>(mode)});
}
void GLAPIENTRY glFogi(GLenum name, GLint value) { Record("glFogi", {static_cast<double>(name), static_cast<double>(value)}); }
void GLAPIENTRY glFogf(GLenum name, GLfloat value) { Record("glFogf", {static_cast<double>(name), value}); }
void GLAPIENTRY glFogfv(GLenum name, const GLfloat* values) {
    Record("glFogfv", {static_cast<double>(name), values[0], values[1], values[2]});
}
void GLAPIENTRY glGenTextures(GLsizei count, GLuint* names) {
    for (GLsizei i = 0; i < count; ++i) {
        names[i] = rec::Get().nextTexture++;
    }
    Record("glGenTextures", {static_cast<double>(count)});
}
void GLAPIENTRY glPixelStorei(GLenum name, GLint value) {
    Record("glPixelStorei", {static_cast<double>(name), static_cast<double>(value)});
}
void GLAPIENTRY glTexParameteri(GLenum target, GLenum name, GLint value) {
    Record("glTexParameteri", {static_cast<double>(target), static_cast<double>(name), static_cast<double>(value)});
}

// GLU
void GLAPIENTRY gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
                          GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    Record("gluLookAt", {eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ});
}
void GLAPIENTRY gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    Record("gluPerspective", {fovy, aspect, zNear, zFar});
}
GLint GLAPIENTRY gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format,
                                   GLenum type, const void* data) {
    Record("gluBuild2DMipmaps", {static_cast<double>(target), static_cast<double>(components),
                                 static_cast<double>(width), static_cast<double>(height), static_cast<double>(format),
                                 static_cast<double>(type), data != nullptr ? 1.0 : 0.0});
    return 0;
}

// WGL and GDI, as far as the scene calls them.
HDC WINAPI GetDC(HWND window) {
    Record("GetDC", {static_cast<double>(reinterpret_cast<uintptr_t>(window))});
    return kDC;
}
int WINAPI ReleaseDC(HWND window, HDC dc) {
    Record("ReleaseDC", {static_cast<double>(reinterpret_cast<uintptr_t>(window)),
                         static_cast<double>(reinterpret_cast<uintptr_t>(dc))});
    return 1;
}
int WINAPI ChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR* request) {
    // The whole request, byte for byte: its size first.
    std::vector<double> bytes;
    const BYTE* p = reinterpret_cast<const BYTE*>(request);
    for (size_t i = 0; i < sizeof *request; ++i) {
        bytes.push_back(p[i]);
    }
    Record("ChoosePixelFormat", bytes);
    return rec::Get().pixelFormats ? 7 : 0;
}
BOOL WINAPI SetPixelFormat(HDC, int format, const PIXELFORMATDESCRIPTOR*) {
    Record("SetPixelFormat", {static_cast<double>(format)});
    return format != 0;
}
HGLRC WINAPI wglCreateContext(HDC) {
    Record("wglCreateContext");
    return rec::Get().pixelFormats ? kContext : nullptr;
}
BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context) {
    Record("wglMakeCurrent", {static_cast<double>(reinterpret_cast<uintptr_t>(dc)),
                              static_cast<double>(reinterpret_cast<uintptr_t>(context))});
    rec::Get().current = context;
    return context != nullptr;
}
HGLRC WINAPI wglGetCurrentContext(void) {
    return rec::Get().current;
}
BOOL WINAPI wglDeleteContext(HGLRC context) {
    Record("wglDeleteContext", {static_cast<double>(reinterpret_cast<uintptr_t>(context))});
    return context != nullptr;
}
BOOL WINAPI SwapBuffers(HDC dc) {
    Record("SwapBuffers", {static_cast<double>(reinterpret_cast<uintptr_t>(dc))});
    return TRUE;
}
HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    Record("GetModuleHandleA", {name == nullptr ? 0.0 : 1.0});
    return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x00400000));
}
HANDLE WINAPI LoadImageA(HINSTANCE, LPCSTR name, UINT type, int width, int height, UINT flags) {
    WORD id = LOWORD(name);
    Record("LoadImageA", {static_cast<double>(id), static_cast<double>(type), static_cast<double>(width),
                          static_cast<double>(height), static_cast<double>(flags)});
    const auto& missing = rec::Get().missingBitmaps;
    if (std::find(missing.begin(), missing.end(), id) != missing.end()) {
        return nullptr;
    }
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x9000 + id));
}
int WINAPI GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
    uintptr_t id = reinterpret_cast<uintptr_t>(object) - 0x9000;
    Record("GetObjectA", {static_cast<double>(id), static_cast<double>(size)});
    BITMAP bitmap{0, id == 114 ? 622 : 256, id == 114 ? 608 : 256, id == 114 ? 1868 : 768, 1, 24, fakePixels};
    std::memcpy(buffer, &bitmap, std::min<size_t>(static_cast<size_t>(size), sizeof bitmap));
    return size;
}
BOOL WINAPI DeleteObject(HGDIOBJ object) {
    Record("DeleteObject", {static_cast<double>(reinterpret_cast<uintptr_t>(object) - 0x9000)});
    return TRUE;
}
