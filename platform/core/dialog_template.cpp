// Reading extended dialog templates, bounds-checked field by field.
#include "platform/core/dialog_template.h"

#include <cstring>

namespace layer {
namespace {

class Reader {
public:
    Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}

    bool Word(WORD* value) { return Bytes(value, sizeof *value); }
    bool Dword(DWORD* value) { return Bytes(value, sizeof *value); }
    bool Short(short* value) { return Bytes(value, sizeof *value); }
    bool Byte(BYTE* value) { return Bytes(value, sizeof *value); }

    // A zero-terminated UTF-16 string.
    bool String(std::string* text) {
        text->clear();
        for (;;) {
            WORD c;
            if (!Word(&c)) {
                return false;
            }
            if (c == 0) {
                return true;
            }
            text->push_back(c < 0x100 ? static_cast<char>(c) : '?');
        }
    }

    bool NameOrOrd(NameOrOrdinal* field) {
        WORD first;
        if (!Word(&first)) {
            return false;
        }
        if (first == 0xFFFF) {
            field->isOrdinal = true;
            return Word(&field->ordinal);
        }
        field->isOrdinal = false;
        field->text.clear();
        if (first == 0) {
            return true;
        }
        offset_ -= sizeof first;
        return String(&field->text);
    }

    bool AlignDword() {
        size_t aligned = (offset_ + 3) & ~static_cast<size_t>(3);
        if (aligned > size_) {
            return false;
        }
        offset_ = aligned;
        return true;
    }

    bool Skip(size_t count, std::vector<BYTE>* into) {
        if (count > size_ - offset_) {
            return false;
        }
        into->assign(data_ + offset_, data_ + offset_ + count);
        offset_ += count;
        return true;
    }

private:
    bool Bytes(void* out, size_t count) {
        if (count > size_ - offset_) {
            return false;
        }
        std::memcpy(out, data_ + offset_, count);
        offset_ += count;
        return true;
    }

    const BYTE* data_;
    size_t size_;
    size_t offset_ = 0;
};

bool ReadItem(Reader& in, DialogItemTemplate* item) {
    WORD extraCount = 0;
    return in.AlignDword() && in.Dword(&item->helpId) && in.Dword(&item->exStyle) && in.Dword(&item->style) &&
           in.Short(&item->x) && in.Short(&item->y) && in.Short(&item->cx) && in.Short(&item->cy) &&
           in.Dword(&item->id) && in.NameOrOrd(&item->windowClass) && in.NameOrOrd(&item->title) &&
           in.Word(&extraCount) && in.Skip(extraCount, &item->extra);
}

}  // namespace

bool ParseDialogTemplate(const BYTE* data, size_t size, DialogTemplate* out) {
    if (data == nullptr || out == nullptr) {
        return false;
    }
    Reader in(data, size);
    WORD version = 0;
    WORD signature = 0;
    WORD itemCount = 0;
    DialogTemplate parsed;
    if (!in.Word(&version) || !in.Word(&signature) || version != 1 || signature != 0xFFFF) {
        return false;
    }
    if (!in.Dword(&parsed.helpId) || !in.Dword(&parsed.exStyle) || !in.Dword(&parsed.style) ||
        !in.Word(&itemCount) || !in.Short(&parsed.x) || !in.Short(&parsed.y) || !in.Short(&parsed.cx) ||
        !in.Short(&parsed.cy) || !in.NameOrOrd(&parsed.menu) || !in.NameOrOrd(&parsed.windowClass) ||
        !in.String(&parsed.title)) {
        return false;
    }
    if ((parsed.style & DS_SETFONT) != 0) {
        if (!in.Word(&parsed.pointSize) || !in.Word(&parsed.weight) || !in.Byte(&parsed.italic) ||
            !in.Byte(&parsed.charSet) || !in.String(&parsed.typeface)) {
            return false;
        }
    }
    parsed.items.resize(itemCount);
    for (DialogItemTemplate& item : parsed.items) {
        if (!ReadItem(in, &item)) {
            return false;
        }
    }
    *out = std::move(parsed);
    return true;
}

const char* PredefinedClassName(WORD ordinal) {
    switch (ordinal) {
        case 0x0080:
            return "Button";
        case 0x0081:
            return "Edit";
        case 0x0082:
            return "Static";
        case 0x0083:
            return "ListBox";
        case 0x0084:
            return "ScrollBar";
        case 0x0085:
            return "ComboBox";
        default:
            return nullptr;
    }
}

}  // namespace layer
