// Extended dialog templates (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items) as
// the resource compiler stores them, read into plain records.
#pragma once

#include "platform/api/windows.h"

#include <string>
#include <vector>

namespace layer {

// A sz_Or_Ord field: an ordinal (0xFFFF and a number) or a string.
struct NameOrOrdinal {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::string text;  // UTF-16 taken down to 8 bits ('?' beyond Latin-1)
};

struct DialogItemTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    DWORD id = 0;
    NameOrOrdinal windowClass;  // ordinals: 0x0080 Button, 0x0081 Edit, 0x0082 Static, ...
    NameOrOrdinal title;
    std::vector<BYTE> extra;
};

struct DialogTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::string title;
    // With DS_SETFONT only.
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charSet = 0;
    std::string typeface;
    std::vector<DialogItemTemplate> items;
};

// Reads a template; false when the bytes are not a well-formed extended
// template (every field is checked against the size before it is read).
bool ParseDialogTemplate(const BYTE* data, size_t size, DialogTemplate* out);
// The class name of a predefined control ordinal, or null.
const char* PredefinedClassName(WORD ordinal);

}  // namespace layer
