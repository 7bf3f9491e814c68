// XScreenSaver's switches: -root and -window-id.
#include "platform/x11/xscreensaver_args.h"

#include <cstring>

namespace x11 {
namespace {

bool IsSwitch(const char* argument, const char* name) {
    if (argument[0] != '-') {
        return false;
    }
    const char* rest = argument[1] == '-' ? argument + 2 : argument + 1;
    return std::strcmp(rest, name) == 0;
}

int DigitValue(char c, int base) {
    int value = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
    return value < base ? value : -1;
}

}  // namespace

bool ParseWindowId(const char* text, uint64_t* id) {
    if (text == nullptr || id == nullptr) {
        return false;
    }
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (*text == '\0') {
        return false;
    }
    uint64_t value = 0;
    for (; *text != '\0'; ++text) {
        int digit = DigitValue(*text, base);
        if (digit < 0) {
            return false;
        }
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            return false;
        }
    }
    if (value == 0) {
        return false;
    }
    *id = value;
    return true;
}

PreviewTarget FindPreviewTarget(int argc, const char* const* argv, const char* environmentWindow) {
    PreviewTarget target;
    if (argv == nullptr) {
        return target;
    }
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        if (IsSwitch(argv[i], "window-id")) {
            bool ok = i + 1 < argc && ParseWindowId(argv[i + 1], &target.window);
            target.kind = ok ? PreviewTarget::Kind::Window : PreviewTarget::Kind::Bad;
            return target;
        }
        if (IsSwitch(argv[i], "root")) {
            target.kind = PreviewTarget::Kind::Root;
            if (environmentWindow != nullptr && ParseWindowId(environmentWindow, &target.window)) {
                target.kind = PreviewTarget::Kind::Window;
            }
            return target;
        }
    }
    return target;
}

}  // namespace x11
