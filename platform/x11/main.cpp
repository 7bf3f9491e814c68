// The Linux ostrel executable: the command line the system reads is made
// from argv, XScreenSaver's switches becoming the preview switch, and the
// system starts as on Windows.
#include "platform/api/windows.h"
#include "platform/core/system_state.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/xscreensaver_args.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace {

// The preview switch for XScreenSaver's window; "/p 0" (refused by the
// system) when that window cannot be had.
std::string PreviewSwitch(const x11::PreviewTarget& target) {
    HWND window = nullptr;
    if (target.kind == x11::PreviewTarget::Kind::Root) {
        window = x11::WrapForeignWindow(x11::RootWindowId());
    } else if (target.kind == x11::PreviewTarget::Kind::Window) {
        window = x11::WrapForeignWindow(target.window);
    }
    return "/p " + std::to_string(reinterpret_cast<uintptr_t>(window));
}

}  // namespace

int main(int argc, char** argv) {
    if (!x11::OpenDisplay(nullptr)) {
        std::fprintf(stderr, "ostrel: cannot open the X display\n");
        return 255;
    }
    std::string commandLine = layer::CommandLineFromArgv(argc, argv);
    x11::PreviewTarget target = x11::FindPreviewTarget(argc, argv, std::getenv("XSCREENSAVER_WINDOW"));
    if (target.kind != x11::PreviewTarget::Kind::None) {
        commandLine = layer::CommandLineFromArgv(1, argv) + " " + PreviewSwitch(target);
    }
    layer::SetCommandLine(commandLine.c_str());
    return WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
}
