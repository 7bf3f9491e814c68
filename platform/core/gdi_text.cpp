// DrawTextA: lines, alignment, '&' prefixes, opaque backgrounds, DT_CALCRECT.
#include "platform/core/gdi_font.h"
#include "platform/core/gdi_objects.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace layer;

namespace {

// One line as shown: its characters and which of them are underlined.
struct Line {
    std::string text;
    std::vector<bool> underlined;
};

// Applies '&' prefixes: "&x" underlines x, "&&" is one '&', a '&' at the
// end is dropped. Control characters are not shown.
Line Shown(const char* text, int count, bool prefixes) {
    Line line;
    for (int i = 0; i < count; ++i) {
        char c = text[i];
        bool underline = false;
        if (prefixes && c == '&') {
            if (++i >= count) {
                break;
            }
            c = text[i];
            underline = c != '&';
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            continue;
        }
        line.text.push_back(c);
        line.underlined.push_back(underline);
    }
    return line;
}

int WidthOf(Font* font, const Line& line) {
    return TextWidth(font, line.text.data(), static_cast<int>(line.text.size()));
}

// Breaks a paragraph at blanks so that each line fits the width; a word wider
// than the width stands on a line of its own.
void WrapInto(std::vector<Line>* lines, Font* font, const Line& paragraph, int width) {
    size_t start = 0;
    const std::string& text = paragraph.text;
    while (start < text.size()) {
        size_t end = start;
        size_t lastFit = std::string::npos;
        while (end < text.size()) {
            size_t next = text.find(' ', end + 1);
            size_t wordEnd = next == std::string::npos ? text.size() : next;
            if (TextWidth(font, text.data() + start, static_cast<int>(wordEnd - start)) > width &&
                lastFit != std::string::npos) {
                break;
            }
            lastFit = wordEnd;
            end = wordEnd;
        }
        Line line;
        line.text = text.substr(start, end - start);
        line.underlined.assign(paragraph.underlined.begin() + static_cast<ptrdiff_t>(start),
                               paragraph.underlined.begin() + static_cast<ptrdiff_t>(end));
        lines->push_back(std::move(line));
        start = end;
        while (start < text.size() && text[start] == ' ') {
            ++start;
        }
    }
    if (text.empty()) {
        lines->push_back(paragraph);
    }
}

std::vector<Line> LayOut(Font* font, const char* text, int count, UINT format, int width) {
    std::vector<Line> lines;
    bool prefixes = (format & DT_NOPREFIX) == 0;
    if ((format & DT_SINGLELINE) != 0) {
        lines.push_back(Shown(text, count, prefixes));
        return lines;
    }
    int start = 0;
    for (int i = 0; i <= count; ++i) {
        if (i == count || text[i] == '\n') {
            int end = i > start && text[i - 1] == '\r' ? i - 1 : i;
            Line paragraph = Shown(text + start, end - start, prefixes);
            if ((format & DT_WORDBREAK) != 0) {
                WrapInto(&lines, font, paragraph, width);
            } else {
                lines.push_back(std::move(paragraph));
            }
            start = i + 1;
        }
    }
    return lines;
}

}  // namespace

int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
    DeviceContext* context = Find<DeviceContext>(dc);
    if (context == nullptr || text == nullptr || rect == nullptr || count < -1) {
        return 0;
    }
    if (count == -1) {
        count = static_cast<int>(std::strlen(text));
    }
    if (count == 0) {
        if ((format & DT_CALCRECT) != 0) {
            rect->right = rect->left;
            rect->bottom = rect->top;
        }
        return 0;
    }
    Font* font = FontOfDC(dc);
    int lineHeight = MetricsOf(font).height;
    std::vector<Line> lines = LayOut(font, text, count, format, rect->right - rect->left);
    int totalHeight = lineHeight * static_cast<int>(lines.size());

    if ((format & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const Line& line : lines) {
            widest = std::max(widest, WidthOf(font, line));
        }
        rect->right = rect->left + widest;
        rect->bottom = rect->top + totalHeight;
        return totalHeight;
    }

    int y = rect->top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0) {
            y = (rect->top + rect->bottom - lineHeight) / 2;
        } else if ((format & DT_BOTTOM) != 0) {
            y = rect->bottom - lineHeight;
        }
    }
    int result = y - rect->top + totalHeight;

    DrawTarget target;
    if (!TargetOf(dc, &target)) {
        return result;
    }
    if ((format & DT_NOCLIP) == 0) {
        RECT bounds{rect->left + target.origin.x, rect->top + target.origin.y, rect->right + target.origin.x,
                    rect->bottom + target.origin.y};
        target.clip = Intersect(target.clip, bounds);
    }
    for (const Line& line : lines) {
        int width = WidthOf(font, line);
        int x = rect->left;
        if ((format & DT_CENTER) != 0) {
            x = (rect->left + rect->right - width) / 2;
        } else if ((format & DT_RIGHT) != 0) {
            x = rect->right - width;
        }
        if (context->backMode == OPAQUE && width > 0) {
            RECT back{x + target.origin.x, y + target.origin.y, x + width + target.origin.x,
                      y + lineHeight + target.origin.y};
            back = Intersect(back, target.clip);
            uint32_t pixel = PixelOf(context->backColour);
            for (LONG row = back.top; row < back.bottom; ++row) {
                uint32_t* out = target.surface->pixels.data() + static_cast<size_t>(row) * target.surface->width;
                std::fill(out + back.left, out + back.right, pixel);
            }
        }
        std::vector<uint8_t> underlined(line.underlined.begin(), line.underlined.end());
        DrawGlyphs(target, font, x + target.origin.x, y + target.origin.y, line.text.data(),
                   static_cast<int>(line.text.size()), context->textColour,
                   underlined.data());
        y += lineHeight;
    }
    return result;
}
