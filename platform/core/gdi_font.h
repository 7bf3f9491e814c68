// Fonts: a LOGFONTA and the FreeType face that draws it. Every face name maps
// to one sans-serif family (DejaVu Sans), in its bold and oblique cuts where
// the weight or the italic flag ask for them.
#pragma once

#include "platform/api/windows.h"
#include "platform/core/gdi_surface.h"
#include "platform/core/handles.h"

#include <memory>

namespace layer {

struct FontFace;  // the FreeType side, private to gdi_font.cpp

struct Font : Object {
    static constexpr ObjectKind kKind = ObjectKind::Font;
    Font();
    ~Font() override;

    LOGFONTA logFont{};
    std::unique_ptr<FontFace> face;  // null when the font file cannot be read
};

// The regular cut of the family; the other cuts lie beside it.
extern const char* const kSansFontPath;

// The LOGFONTA of a stock font: the GUI and dialog font, 8 points at 96 dpi.
LOGFONTA StockGuiLogFont();
// The font behind a handle: a created font, or the shared font of a stock
// font handle (SYSTEM_FONT, DEFAULT_GUI_FONT); null for anything else.
Font* FontOf(HGDIOBJ handle);
// The font a device context draws with: its selected one or the GUI font.
Font* FontOfDC(HDC dc);

struct TextMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0;
};
TextMetrics MetricsOf(Font* font);
// Width in pixels of characters of an 8-bit string (as Latin-1).
int TextWidth(Font* font, const char* text, int count);
// Draws characters with their top-left at (x, y) on the target, in the colour,
// blending the glyphs' coverage; underlines the characters whose flag is set
// in `underline` (null: none, unless the font itself is underlined).
void DrawGlyphs(const DrawTarget& target, Font* font, int x, int y, const char* text, int count,
                COLORREF colour, const uint8_t* underline);

}  // namespace layer
