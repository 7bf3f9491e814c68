// XScreenSaver's way of naming the window a saver draws into, read from the
// argument vector before the system sees its command line.
#pragma once

#include <cstdint>

namespace x11 {

struct PreviewTarget {
    enum class Kind {
        None,    // no XScreenSaver switch: the arguments are the system's own
        Root,    // -root: the root window
        Window,  // -window-id ID, or -root with $XSCREENSAVER_WINDOW set
        Bad,     // -window-id with a missing or unreadable ID
    };
    Kind kind = Kind::None;
    uint64_t window = 0;
};

// A window id as XScreenSaver writes it: decimal, or hexadecimal after 0x.
// The whole text must be the number; false otherwise (or when it is 0 or
// does not fit 32 bits, the size of an X id).
bool ParseWindowId(const char* text, uint64_t* id);
// Looks for -root and -window-id (also with two dashes). `environmentWindow`
// is $XSCREENSAVER_WINDOW (null when unset), which XScreenSaver sets for
// savers it runs with -root.
PreviewTarget FindPreviewTarget(int argc, const char* const* argv, const char* environmentWindow);

}  // namespace x11
