// Bitmap fonts drawn by hand for the generator. Glyphs are proportional: each
// one is as wide as its rows, with one blank column between letters.
#pragma once

#include <string_view>

#include "canvas.h"

namespace drawres {

struct Glyph {
    char ch;
    const char* rows;  // '#' lit, '.' dark, rows separated by '|'
};

struct Font {
    int height;
    const Glyph* glyphs;
    int count;
};

// Capitals, digits and readout punctuation, 7 rows tall.
extern const Font kFont5x7;
// Capitals, digits and a little punctuation, 5 rows tall, for dense labels.
extern const Font kFont3x5;
// Lower-case letters for the web address: ascender on row 0, baseline on
// row 5, one-row descender on row 6.
extern const Font kLettering;

// Width in pixels of s drawn at the given scale (no trailing gap).
int text_width(const Font& font, std::string_view s, int scale = 1);
// Draws s with its top-left corner at (x, y); returns the width drawn.
// Characters the font lacks are drawn as blanks of width 3.
int draw_text(Image& img, const Font& font, int x, int y, std::string_view s, Rgb c, int scale = 1);

}  // namespace drawres
