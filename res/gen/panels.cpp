// The two readout panels that clad the towers. Layout is placed by hand so the
// blocks line up; the numbers and bar heights come from a seeded generator so
// the panels read as live data without us typing every figure.
#include <string>
#include <string_view>

#include "pictures.h"
#include "pixel_font.h"

namespace drawres {

namespace {

constexpr Rgb kBack{2, 16, 17};
constexpr Rgb kFill{4, 30, 32};      // raised block behind text
constexpr Rgb kCyan{40, 236, 232};
constexpr Rgb kCyanHi{72, 255, 250};
constexpr Rgb kCyanMid{0, 200, 204};
constexpr Rgb kCyanDim{0, 128, 134};
constexpr Rgb kCyanFaint{0, 62, 68};

std::string digits(Rng& rng, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>('0' + rng.range(0, 9));
    return s;
}

std::string hex(Rng& rng, int count) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < count; ++i) s += kHex[rng.range(0, 15)];
    return s;
}

// A reading such as "-12.407": whole part without leading zeros.
std::string reading(Rng& rng, int whole, int frac, bool signed_value) {
    // One draw per statement: compilers differ in which operand of an
    // expression they evaluate first, and the panels must not.
    std::string s = signed_value && rng.chance(40) ? "-" : "";
    int value = rng.range(0, 9);
    if (whole > 1) value += 10 * rng.range(1, 9);
    s += std::to_string(value);
    if (frac > 0) {
        s += '.';
        s += digits(rng, frac);
    }
    return s;
}

void brackets(Image& img, int x0, int y0, int x1, int y1, int len, Rgb c) {
    img.hline(x0, x0 + len, y0, c);
    img.vline(x0, y0, y0 + len, c);
    img.hline(x1 - len, x1, y0, c);
    img.vline(x1, y0, y0 + len, c);
    img.hline(x0, x0 + len, y1, c);
    img.vline(x0, y1 - len, y1, c);
    img.hline(x1 - len, x1, y1, c);
    img.vline(x1, y1 - len, y1, c);
}

// Faintly ruled block with an inverse-video title tab on its top edge. Left
// unfilled: the panel must stay mostly plain background to read as dark.
void block(Image& img, int x0, int y0, int x1, int y1, std::string_view title) {
    img.frame_rect(x0, y0, x1, y1, kCyanFaint);
    if (title.empty()) return;
    const int tw = text_width(kFont3x5, title);
    img.fill_rect(x0, y0, x0 + tw + 3, y0 + 6, kCyanMid);
    draw_text(img, kFont3x5, x0 + 2, y0 + 1, title, kBack);
}

void hatched_box(Image& img, int x0, int y0, int x1, int y1, int pitch, bool rising, Rgb line) {
    img.hatch_rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, pitch, rising, line);
    img.frame_rect(x0, y0, x1, y1, kCyan);
}

// Tick scale along a horizontal edge, long ticks every 5th with a label.
void ruler(Image& img, int x0, int x1, int y, int step, Rng& rng) {
    img.hline(x0, x1, y, kCyanDim);
    const int base = rng.range(1, 60) * 10;
    for (int x = x0, i = 0; x <= x1; x += step, ++i) {
        const bool major = i % 5 == 0;
        img.vline(x, y - (major ? 4 : 2), y, major ? kCyan : kCyanDim);
        if (major && x + 12 < x1) draw_text(img, kFont3x5, x, y - 11, std::to_string(base + i * 2), kCyanDim);
    }
}

// Framed chart on the bare panel: dotted grid, outlined bars (alternately hatched and solid),
// title above and index numbers below.
void bar_chart(Image& img, int x0, int y0, int x1, int y1, int bars, std::string_view title, Rng& rng) {
    draw_text(img, kFont3x5, x0, y0, title, kCyan);
    const std::string peak = reading(rng, 2, 1, false) + "%";
    draw_text(img, kFont3x5, x1 - text_width(kFont3x5, peak), y0, peak, kCyanMid);

    const int top = y0 + 8, bottom = y1 - 8;
    for (int y = bottom - 8; y > top; y -= 8)
        for (int x = x0 + 2; x < x1; x += 2) img.set(x, y, kCyanFaint);
    img.frame_rect(x0, top, x1, bottom, kCyanDim);
    img.hline(x0 - 2, x0, bottom - 8 * 2, kCyanDim);
    img.hline(x0 - 2, x0, bottom - 8 * 5, kCyanDim);

    const int inner = x1 - x0 - 5;
    const int pitch = inner / bars;
    const int bw = pitch - 3;
    int x = x0 + 3 + (inner - pitch * bars) / 2;
    for (int i = 0; i < bars; ++i, x += pitch) {
        const int h = rng.range((bottom - top) / 5, bottom - top - 6);
        const int bx0 = x, bx1 = x + bw - 1, by0 = bottom - h;
        if (i % 3 == 1)
            img.fill_rect(bx0, by0, bx1, bottom - 1, kCyanMid);
        else
            img.hatch_rect(bx0 + 1, by0 + 1, bx1 - 1, bottom - 1, 3, true, kCyanDim);
        img.frame_rect(bx0, by0, bx1, bottom, kCyanHi);
        draw_text(img, kFont3x5, bx0 + (bw - 3) / 2, bottom + 3, std::string(1, static_cast<char>('1' + i)),
                  kCyanDim);
    }
}

// Label column in capitals with a reading beside each label.
void readings(Image& img, int x, int y, int line_h, std::initializer_list<std::string_view> labels,
              int value_x, Rng& rng) {
    for (std::string_view label : labels) {
        draw_text(img, kFont5x7, x, y, label, kCyan);
        draw_text(img, kFont5x7, value_x, y, reading(rng, 2, 3, true), kCyanHi);
        y += line_h;
    }
}

void code_table(Image& img, int x, int y, int cols, int rows, int col_w, Rng& rng) {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const Rgb col = (r + c) % 4 == 0 ? kCyanHi : (c == 0 ? kCyan : kCyanDim);
            draw_text(img, kFont3x5, x + c * col_w, y + r * 7, c == 0 ? digits(rng, 3) : hex(rng, 4), col);
        }
}

void status_lights(Image& img, int x, int y, int count, Rng& rng) {
    for (int i = 0; i < count; ++i, x += 7) {
        if (rng.chance(60))
            img.fill_rect(x, y, x + 4, y + 4, kCyanMid);
        else
            img.frame_rect(x, y, x + 4, y + 4, kCyanDim);
    }
}

}  // namespace

Image draw_panel_a() {
    Image img(256, 256, kBack);
    Rng rng(0x0A5751E1);
    brackets(img, 1, 1, 254, 254, 8, kCyanDim);

    // Header strip.
    img.fill_rect(5, 5, 143, 15, kFill);
    img.fill_rect(5, 5, 7, 15, kCyan);
    draw_text(img, kFont5x7, 11, 7, "OSTREL DX-7", kCyanHi);
    draw_text(img, kFont3x5, 90, 8, "SEQ " + digits(rng, 4), kCyanMid);

    bar_chart(img, 154, 5, 250, 98, 8, "LOAD INDEX", rng);

    block(img, 5, 20, 143, 100, "CHANNELS");
    readings(img, 9, 29, 9, {"FLUX", "GRID", "CORE", "VECT", "SYNC", "RELAY", "NODE", "AXIS"}, 46, rng);
    for (int i = 0; i < 8; ++i) {
        std::string code = hex(rng, 3) + "-";
        code += hex(rng, 2);
        draw_text(img, kFont3x5, 96, 30 + 9 * i, code, kCyanDim);
        if (rng.chance(55))
            img.fill_rect(134, 30 + 9 * i, 138, 34 + 9 * i, kCyanMid);
        else
            img.frame_rect(134, 30 + 9 * i, 138, 34 + 9 * i, kCyanDim);
    }

    // Hatched zone row.
    hatched_box(img, 5, 104, 58, 150, 4, true, kCyanDim);
    img.fill_rect(8, 107, 36, 115, kBack);
    draw_text(img, kFont5x7, 9, 108, "ZN-A", kCyan);
    hatched_box(img, 64, 104, 100, 125, 3, false, kCyanDim);
    hatched_box(img, 64, 129, 100, 150, 3, true, kCyanMid);
    draw_text(img, kFont5x7, 108, 104, "PORT", kCyan);
    draw_text(img, kFont5x7, 108, 114, "LINE", kCyan);
    draw_text(img, kFont5x7, 108, 124, "GATE", kCyan);
    draw_text(img, kFont5x7, 108, 134, "BANK", kCyan);
    draw_text(img, kFont5x7, 108, 144, "TIER", kCyan);
    for (int i = 0; i < 5; ++i) {
        draw_text(img, kFont5x7, 140, 104 + 10 * i, digits(rng, 2), kCyanHi);
        draw_text(img, kFont3x5, 160, 105 + 10 * i, i % 2 ? "OPEN" : "HOLD", kCyanMid);
        draw_text(img, kFont3x5, 186, 105 + 10 * i, reading(rng, 1, 2, false), kCyanDim);
        status_lights(img, 210, 105 + 10 * i, 6, rng);
    }

    // Lower half: code table on the left, labelled readings on the right.
    block(img, 5, 157, 122, 238, "TRACE LOG");
    code_table(img, 9, 166, 5, 10, 23, rng);
    readings(img, 130, 160, 10, {"DELTA", "ORBIT", "PHASE", "DRIFT"}, 172, rng);
    hatched_box(img, 130, 202, 170, 226, 4, false, kCyanDim);
    img.fill_rect(176, 202, 250, 212, kCyanMid);
    draw_text(img, kFont5x7, 179, 204, "NOMINAL", kBack);
    draw_text(img, kFont3x5, 176, 216, "CYCLE " + digits(rng, 5), kCyan);
    draw_text(img, kFont3x5, 176, 223, "MARGIN " + reading(rng, 1, 1, false), kCyanDim);

    ruler(img, 5, 250, 250, 4, rng);
    return img;
}

Image draw_panel_b() {
    Image img(256, 256, kBack);
    Rng rng(0x0B5751E2);
    brackets(img, 1, 1, 254, 254, 8, kCyanDim);

    // Header strip across the full width.
    img.fill_rect(5, 5, 250, 15, kFill);
    img.fill_rect(248, 5, 250, 15, kCyan);
    draw_text(img, kFont5x7, 9, 7, "OSTREL RK-2", kCyanHi);
    draw_text(img, kFont3x5, 88, 8, "NET " + hex(rng, 4), kCyanMid);
    status_lights(img, 196, 8, 7, rng);

    // Two word columns side by side.
    block(img, 5, 20, 122, 104, "ROUTES");
    readings(img, 9, 29, 9, {"NORTH", "SOUTH", "EAST", "WEST", "UPPER", "LOWER", "SPAN", "LOOP"}, 50, rng);
    block(img, 128, 20, 250, 104, "CELLS");
    code_table(img, 132, 28, 5, 11, 24, rng);

    // Hatched blocks on the right under the columns.
    hatched_box(img, 128, 110, 180, 150, 3, false, kCyanDim);
    hatched_box(img, 186, 110, 250, 128, 4, true, kCyanMid);
    hatched_box(img, 186, 132, 250, 150, 4, false, kCyanDim);
    img.fill_rect(131, 113, 157, 121, kBack);
    draw_text(img, kFont5x7, 132, 114, "ZN-B", kCyan);

    draw_text(img, kFont5x7, 5, 112, "SHIFT", kCyan);
    draw_text(img, kFont5x7, 5, 122, "QUEUE", kCyan);
    draw_text(img, kFont5x7, 5, 132, "FIELD", kCyan);
    draw_text(img, kFont5x7, 5, 142, "TRACK", kCyan);
    for (int i = 0; i < 4; ++i) {
        draw_text(img, kFont5x7, 42, 112 + 10 * i, reading(rng, 1, 2, false), kCyanHi);
        draw_text(img, kFont3x5, 74, 113 + 10 * i, i % 2 ? "IDLE" : "LIVE", kCyanMid);
        draw_text(img, kFont3x5, 98, 113 + 10 * i, hex(rng, 3), kCyanDim);
    }

    bar_chart(img, 7, 158, 110, 250, 9, "OUTPUT", rng);

    // Right of the chart: readings and a status plate.
    readings(img, 122, 160, 10, {"OMEGA", "SIGMA", "KAPPA"}, 164, rng);
    img.fill_rect(122, 194, 198, 204, kCyanMid);
    draw_text(img, kFont5x7, 125, 196, "STANDBY", kBack);
    hatched_box(img, 204, 194, 250, 222, 3, true, kCyanDim);
    draw_text(img, kFont3x5, 122, 210, "LATENCY " + reading(rng, 1, 2, false), kCyan);
    draw_text(img, kFont3x5, 122, 217, "BUFFER " + digits(rng, 4), kCyanDim);
    ruler(img, 122, 250, 236, 4, rng);
    std::string rev = "REV " + digits(rng, 2) + ".";
    rev += digits(rng, 1);
    draw_text(img, kFont3x5, 122, 243, rev, kCyanDim);
    return img;
}

}  // namespace drawres
