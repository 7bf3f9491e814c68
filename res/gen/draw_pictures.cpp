// ostrel-drawres: draws the screen saver's four bitmap resources from code -
// two cyan data-readout panels for the towers, the magenta circuit-trace floor
// tile and the about-box picture of glass towers with the web address - and
// writes them as 24-bit BMP files. The output is the same bytes on every run,
// so the committed BMPs can be checked against a fresh build.
//
// Usage: ostrel-drawres OUTDIR
#include <cstdio>
#include <string>

#include "pictures.h"
#include "pixel_font.h"

namespace {

// A mistyped glyph row would silently shear a letter; refuse to draw with one.
bool fonts_well_formed() {
    bool ok = true;
    for (const drawres::Font* font : {&drawres::kFont5x7, &drawres::kFont3x5, &drawres::kLettering}) {
        for (int i = 0; i < font->count; ++i) {
            const drawres::Glyph& g = font->glyphs[i];
            int rows = 1, width = -1, col = 0;
            for (const char* p = g.rows;; ++p) {
                if (*p == '|' || *p == '\0') {
                    if (width >= 0 && col != width) ok = false;
                    width = col;
                    col = 0;
                    if (*p == '\0') break;
                    ++rows;
                } else if (*p == '#' || *p == '.') {
                    ++col;
                } else {
                    ok = false;
                }
            }
            if (rows != font->height) ok = false;
            if (!ok) {
                std::fprintf(stderr, "ostrel-drawres: glyph '%c' is malformed\n", g.ch);
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ostrel-drawres OUTDIR\n");
        return 2;
    }
    if (!fonts_well_formed()) return 1;

    const std::string dir = argv[1];
    const struct {
        const char* name;
        drawres::Image (*draw)();
    } outputs[] = {
        {"panel_a.bmp", drawres::draw_panel_a},
        {"panel_b.bmp", drawres::draw_panel_b},
        {"floor.bmp", drawres::draw_floor},
        {"about.bmp", drawres::draw_about},
    };
    for (const auto& out : outputs) {
        const std::string path = dir + "/" + out.name;
        if (!out.draw().save_bmp(path)) {
            std::fprintf(stderr, "ostrel-drawres: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
