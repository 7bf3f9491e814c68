// Fonts through FreeType: CreateFontIndirectA, the stock GUI font, metrics,
// widths and anti-aliased glyph drawing onto GDI surfaces.
#include "platform/core/gdi_font.h"

#include "platform/core/gdi_objects.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace layer {

const char* const kSansFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

namespace {

// 8 points at 96 dots per inch.
constexpr LONG kGuiFontHeight = -11;

struct Glyph {
    bool loaded = false;
    int left = 0;
    int top = 0;  // rows above the baseline
    int width = 0;
    int rows = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        if (FT_Init_FreeType(&made) != 0) {
            made = nullptr;
        }
        return made;
    }();
    return library;
}

// The cut of the family for a weight and slant; the regular cut when the
// file of that cut is missing.
std::string FacePath(LONG weight, bool italic) {
    std::string base = kSansFontPath;
    std::string stem = base.substr(0, base.size() - 4);  // less ".ttf"
    if (weight >= 600 && italic) {
        return stem + "-BoldOblique.ttf";
    }
    if (weight >= 600) {
        return stem + "-Bold.ttf";
    }
    if (italic) {
        return stem + "-Oblique.ttf";
    }
    return base;
}

}  // namespace

struct FontFace {
    ~FontFace() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
    }
    FT_Face face = nullptr;
    TextMetrics metrics;
    std::array<Glyph, 256> glyphs;
};

namespace {

std::unique_ptr<FontFace> OpenFace(const LOGFONTA& logFont) {
    FT_Library library = Library();
    if (library == nullptr) {
        return nullptr;
    }
    auto made = std::make_unique<FontFace>();
    std::string path = FacePath(logFont.lfWeight, logFont.lfItalic != 0);
    if (FT_New_Face(library, path.c_str(), 0, &made->face) != 0 &&
        FT_New_Face(library, kSansFontPath, 0, &made->face) != 0) {
        made->face = nullptr;
        return nullptr;
    }
    FT_Face face = made->face;
    // Ascent and descent as Windows takes them for TrueType faces: from the
    // OS/2 table's win metrics.
    double units = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    double ascender = face->ascender;
    double descender = -face->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
        ascender = os2->usWinAscent;
        descender = os2->usWinDescent;
    }
    double em;
    if (logFont.lfHeight < 0) {
        em = -static_cast<double>(logFont.lfHeight);  // character height
    } else if (logFont.lfHeight > 0) {
        em = logFont.lfHeight * units / (ascender + descender);  // cell height
    } else {
        em = -kGuiFontHeight;
    }
    em = std::clamp(em, 1.0, 1000.0);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(em))) != 0) {
        return nullptr;
    }
    made->metrics.ascent = static_cast<int>(std::lround(em * ascender / units));
    made->metrics.descent = static_cast<int>(std::lround(em * descender / units));
    made->metrics.height = made->metrics.ascent + made->metrics.descent;
    return made;
}

const Glyph* GlyphOf(FontFace* face, unsigned char c) {
    Glyph& glyph = face->glyphs[c];
    if (glyph.loaded) {
        return &glyph;
    }
    glyph.loaded = true;
    // 8-bit text is taken as Latin-1.
    if (FT_Load_Char(face->face, c, FT_LOAD_RENDER) != 0) {
        return &glyph;
    }
    FT_GlyphSlot slot = face->face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.rows, 0);
    for (int y = 0; y < glyph.rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x) {
            uint8_t value;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                value = (row[x >> 3] & (0x80 >> (x & 7))) != 0 ? 255 : 0;
            } else {
                value = row[x];
            }
            glyph.coverage[static_cast<size_t>(y) * glyph.width + x] = value;
        }
    }
    return &glyph;
}

void Blend(const DrawTarget& target, LONG x, LONG y, uint32_t colour, unsigned alpha) {
    if (alpha == 0 || x < target.clip.left || x >= target.clip.right || y < target.clip.top ||
        y >= target.clip.bottom) {
        return;
    }
    uint32_t& pixel = target.surface->pixels[static_cast<size_t>(y) * target.surface->width + x];
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        unsigned front = (colour >> shift) & 0xFF;
        unsigned back = (pixel >> shift) & 0xFF;
        out |= ((front * alpha + back * (255 - alpha) + 127) / 255) << shift;
    }
    pixel = out;
}

}  // namespace

Font::Font() : Object(kKind) {}
Font::~Font() = default;

LOGFONTA StockGuiLogFont() {
    LOGFONTA font{};
    font.lfHeight = kGuiFontHeight;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(font.lfFaceName, "MS Shell Dlg");
    return font;
}

Font* FontOf(HGDIOBJ handle) {
    if (handle != nullptr && (handle == GetStockObject(DEFAULT_GUI_FONT) || handle == GetStockObject(SYSTEM_FONT))) {
        static Font* stock = [] {
            auto* font = new Font();  // lives as long as the process
            font->logFont = StockGuiLogFont();
            font->face = OpenFace(font->logFont);
            return font;
        }();
        return stock;
    }
    return Find<Font>(handle);
}

Font* FontOfDC(HDC dc) {
    const DeviceContext* context = Find<DeviceContext>(dc);
    Font* font = context != nullptr ? FontOf(context->font) : nullptr;
    return font != nullptr ? font : FontOf(GetStockObject(DEFAULT_GUI_FONT));
}

TextMetrics MetricsOf(Font* font) {
    return font != nullptr && font->face != nullptr ? font->face->metrics : TextMetrics{};
}

int TextWidth(Font* font, const char* text, int count) {
    if (font == nullptr || font->face == nullptr) {
        return 0;
    }
    int width = 0;
    for (int i = 0; i < count; ++i) {
        width += GlyphOf(font->face.get(), static_cast<unsigned char>(text[i]))->advance;
    }
    return width;
}

void DrawGlyphs(const DrawTarget& target, Font* font, int x, int y, const char* text, int count,
                COLORREF colour, const uint8_t* underline) {
    if (font == nullptr || font->face == nullptr) {
        return;
    }
    uint32_t pixel = PixelOf(colour);
    int baseline = y + font->face->metrics.ascent;
    int underlineRow = std::min(baseline + 1, y + font->face->metrics.height - 1);
    for (int i = 0; i < count; ++i) {
        const Glyph* glyph = GlyphOf(font->face.get(), static_cast<unsigned char>(text[i]));
        for (int gy = 0; gy < glyph->rows; ++gy) {
            for (int gx = 0; gx < glyph->width; ++gx) {
                Blend(target, x + glyph->left + gx, baseline - glyph->top + gy, pixel,
                      glyph->coverage[static_cast<size_t>(gy) * glyph->width + gx]);
            }
        }
        if (font->logFont.lfUnderline != 0 || (underline != nullptr && underline[i] != 0)) {
            for (int ux = 0; ux < glyph->advance; ++ux) {
                Blend(target, x + ux, underlineRow, pixel, 255);
            }
        }
        x += glyph->advance;
    }
}

}  // namespace layer

using namespace layer;

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* logFont) {
    if (logFont == nullptr) {
        return nullptr;
    }
    auto* font = new Font();
    font->logFont = *logFont;
    font->logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    font->face = OpenFace(font->logFont);
    return reinterpret_cast<HFONT>(AddObject(font));
}
