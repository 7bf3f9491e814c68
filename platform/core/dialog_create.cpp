// Creating a dialog from its template: units, placement, font, controls,
// WM_INITDIALOG and the first focus.
#include "platform/core/controls.h"
#include "platform/core/dialog.h"
#include "platform/core/host.h"
#include "platform/core/window.h"

#include <cstdlib>
#include <cstring>

namespace layer {
namespace {

// Dialog base units in pixels at 96 dpi. The dialog fonts ("MS Sans Serif",
// "MS Shell Dlg") at 8 points give 6 by 13; other sizes scale with the points.
// Without DS_SETFONT the system font's 8 by 16 apply.
SIZE BaseUnits(const DialogTemplate& t) {
    if ((t.style & DS_SETFONT) == 0 || t.pointSize == 0) {
        return SIZE{8, 16};
    }
    return SIZE{RoundedMulDiv(6, t.pointSize, 8), RoundedMulDiv(13, t.pointSize, 8)};
}

RECT UnitsToPixels(SIZE base, short x, short y, short cx, short cy) {
    int left = RoundedMulDiv(x, base.cx, 4);
    int top = RoundedMulDiv(y, base.cy, 8);
    return RECT{left, top, left + RoundedMulDiv(cx, base.cx, 4), top + RoundedMulDiv(cy, base.cy, 8)};
}

HFONT CreateDialogFont(const DialogTemplate& t) {
    LOGFONTA font{};
    font.lfHeight = -RoundedMulDiv(t.pointSize, 96, 72);
    font.lfWeight = t.weight;
    font.lfItalic = t.italic;
    font.lfCharSet = t.charSet;
    std::strncpy(font.lfFaceName, t.typeface.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}

// The window rectangle of a top-level dialog: its client area at the
// template's position, counted from the owner's client area (or the screen),
// or centred with DS_CENTER.
RECT PlaceDialog(const DialogTemplate& t, SIZE base, HWND parent) {
    RECT client = UnitsToPixels(base, t.x, t.y, t.cx, t.cy);
    LONG width = client.right - client.left;
    LONG height = client.bottom - client.top;
    LONG frame = (t.style & WS_BORDER) != 0 ? 1 : 0;
    POINT at{client.left, client.top};
    const Window* owner = FindWindowObject(parent);
    if ((t.style & DS_CENTER) != 0) {
        RECT area{0, 0, host::ScreenSize().cx, host::ScreenSize().cy};
        if (owner != nullptr && (t.style & WS_CHILD) == 0) {
            GetWindowRect(parent, &area);
        }
        at = POINT{(area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2};
        if ((t.style & WS_CHILD) != 0) {
            at = POINT{(ClientSize(owner).cx - width) / 2, (ClientSize(owner).cy - height) / 2};
        }
    } else if (owner != nullptr && (t.style & WS_CHILD) == 0) {
        POINT origin = ClientOrigin(owner);
        at.x += origin.x;
        at.y += origin.y;
    }
    return RECT{at.x - frame, at.y - frame, at.x + width + frame, at.y + height + frame};
}

HWND CreateItem(HINSTANCE instance, const DialogItemTemplate& item, SIZE base, HWND dialog) {
    const char* className = item.windowClass.isOrdinal ? PredefinedClassName(item.windowClass.ordinal)
                                                       : item.windowClass.text.c_str();
    if (className == nullptr) {
        return nullptr;
    }
    // An ordinal title (an image resource) travels as 0xFF and the ordinal.
    char ordinalTitle[4] = {static_cast<char>(0xFF), static_cast<char>(LOBYTE(item.title.ordinal)),
                            static_cast<char>(LOBYTE(item.title.ordinal >> 8)), 0};
    const char* title = item.title.isOrdinal ? ordinalTitle : item.title.text.c_str();
    RECT r = UnitsToPixels(base, item.x, item.y, item.cx, item.cy);
    LPVOID createData = item.extra.empty() ? nullptr : const_cast<BYTE*>(item.extra.data());
    return CreateWindowExA(item.exStyle, className, title, item.style | WS_CHILD, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, dialog, reinterpret_cast<HMENU>(static_cast<uintptr_t>(item.id)),
                           instance, createData);
}

HWND FirstTabStop(HWND dialog) {
    const Window* window = FindWindowObject(dialog);
    for (HWND child : window->children) {
        const Window* c = FindWindowObject(child);
        if (c != nullptr && (c->style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE)) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace

int RoundedMulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    long long product = static_cast<long long>(a) * b;
    long long magnitude = (std::llabs(product) + std::llabs(static_cast<long long>(c)) / 2) /
                          std::llabs(static_cast<long long>(c));
    return static_cast<int>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& t, HWND parent, DLGPROC proc,
                              LPARAM initParam, ModalOutcome* outcome) {
    EnsureSystemClasses();
    // Only the default dialog class: a private class would need its own
    // dialog procedure plumbing, which nothing here uses.
    if (!t.windowClass.isOrdinal && !t.windowClass.text.empty()) {
        return nullptr;
    }
    if ((t.style & WS_CHILD) != 0 && parent == nullptr) {
        return nullptr;
    }
    SIZE base = BaseUnits(t);
    RECT place = PlaceDialog(t, base, parent);
    HWND dialog = CreateWindowExA(t.exStyle, OSTREL_DIALOG_CLASS, t.title.c_str(), t.style & ~WS_VISIBLE,
                                  place.left, place.top, place.right - place.left, place.bottom - place.top,
                                  parent, nullptr, instance, nullptr);
    if (dialog == nullptr) {
        return nullptr;
    }
    auto* record = new DialogRecord();
    record->proc = proc;
    record->outcome = outcome;
    if ((t.style & DS_SETFONT) != 0) {
        record->font = CreateDialogFont(t);
        record->ownsFont = record->font != nullptr;
    }
    if (record->font == nullptr) {
        record->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    SetWindowLongA(dialog, kDialogRecordSlot, reinterpret_cast<LONG_PTR>(record));
    if ((t.style & DS_SETFONT) != 0) {
        SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(record->font), FALSE);
    }
    for (const DialogItemTemplate& item : t.items) {
        HWND control = CreateItem(instance, item, base, dialog);
        if (control == nullptr) {
            DestroyWindow(dialog);
            return nullptr;
        }
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(record->font), FALSE);
    }
    HWND focus = FirstTabStop(dialog);
    LRESULT setFocus = SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), initParam);
    if (!IsWindow(dialog)) {
        return nullptr;
    }
    if (setFocus != 0 && focus != nullptr && IsWindow(focus)) {
        SetFocus(focus);
    }
    if ((t.style & WS_VISIBLE) != 0 && (outcome == nullptr || !outcome->ended)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
    }
    return dialog;
}

}  // namespace layer
