// About-box picture: looking up between glass towers at night, with the web
// address, the EXIT plate and the version drawn in pure blue over the bottom.
//
// The towers are boxes in a small world (metres, camera at the origin looking
// along +Y, pitched up). For a pitch with sin = 3/5 and cos = 4/5 and a focal
// length of 300 px, a pixel's ray has X/D = 5*dx / (3*dy) and
// Z/D = (2500 - 4*dy) / (3*dy), where D is the horizontal distance along +Y and
// dx, dy are measured from the vanishing point of the verticals. That keeps the
// whole projection in integers, so the picture is the same on every compiler.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "pictures.h"
#include "pixel_font.h"

namespace drawres {

namespace {

constexpr int kW = 327, kH = 315;
constexpr int kBand = 24;  // black band across the top
// Vanishing point of the verticals, in eighths of a pixel from the top-left.
constexpr std::int64_t kVx8 = 4 * kW;
constexpr std::int64_t kVy8 = -8 * 243;
constexpr int kSub = 4;  // samples per pixel along each axis

constexpr Rgb kBlue{0, 0, 255};

struct Tower {
    int x0, x1, y0, y1;  // footprint, metres
    int height;          // metres
    Rgb glass;           // pane colour at mid height
    int module16;        // window width, 1/16 m
    int floor16;         // storey height, 1/16 m
};

// Near towers rise past the top of the frame on both sides; the ones further
// back stop short, so their roof lines stand against the sky between them.
constexpr std::array<Tower, 8> kTowers{{
    {-62, -16, 28, 70, 300, {58, 30, 120}, 32, 56},
    {18, 66, 32, 78, 320, {18, 34, 118}, 32, 56},
    {-40, -8, 96, 130, 150, {16, 44, 112}, 48, 64},
    {12, 44, 120, 150, 175, {52, 28, 112}, 48, 64},
    {-14, 18, 170, 205, 205, {10, 78, 96}, 64, 80},
    {-8, 12, 176, 200, 232, {10, 78, 96}, 64, 80},  // setback crown
    {1, 3, 186, 188, 262, {40, 60, 110}, 16, 16},   // mast
    {-60, -30, 200, 240, 380, {12, 66, 98}, 64, 80},
}};

struct Sample {
    std::int64_t a, b, c;  // X/D = a/c, Z/D = b/c, c > 0
};

struct Hit {
    int tower = -1;
    bool side = false;
    std::int64_t d16 = 0;  // distance along +Y, 1/16 m
    std::int64_t s16 = 0;  // across the face, 1/16 m
    std::int64_t z16 = 0;  // height, 1/16 m
    int width = 0;         // face width, metres
};

Hit trace(const Sample& smp) {
    Hit best;
    for (int i = 0; i < static_cast<int>(kTowers.size()); ++i) {
        const Tower& t = kTowers[static_cast<size_t>(i)];
        // Face towards the camera, at Y = y0.
        if (t.x0 * smp.c <= t.y0 * smp.a && t.y0 * smp.a <= t.x1 * smp.c && t.y0 * smp.b <= t.height * smp.c) {
            const std::int64_t d16 = 16 * t.y0;
            if (best.tower < 0 || d16 < best.d16)
                best = {i, false, d16, 16 * t.y0 * smp.a / smp.c - 16 * t.x0, 16 * t.y0 * smp.b / smp.c, t.x1 - t.x0};
        }
        // The side facing the centre line, for towers wholly to one side.
        const int xs = t.x1 < 0 ? t.x1 : (t.x0 > 0 ? t.x0 : 0);
        if (xs == 0 || smp.a == 0 || (xs < 0) != (smp.a < 0)) continue;
        const std::int64_t d16 = 16 * xs * smp.c / smp.a;
        const std::int64_t z16 = 16 * xs * smp.b / smp.a;
        if (d16 < 16 * t.y0 || d16 > 16 * t.y1 || z16 > 16 * t.height) continue;
        if (best.tower < 0 || d16 < best.d16) best = {i, true, d16, d16 - 16 * t.y0, z16, t.y1 - t.y0};
    }
    return best;
}

std::uint32_t hash3(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    std::uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

struct Acc {
    int r = 0, g = 0, b = 0;
    void add(int cr, int cg, int cb) {
        r += cr;
        g += cg;
        b += cb;
    }
};

// Night sky between the towers: indigo low down, black towards the zenith.
void sky(Acc& acc, const Sample& smp) {
    const std::int64_t elev = std::clamp<std::int64_t>(smp.b * 100 / smp.c, 0, 250);  // Z/D in hundredths
    const int k = static_cast<int>(250 - elev);
    acc.add(4 + k * 10 / 250, 6 + k * 12 / 250, 16 + k * 40 / 250);
}

void glass(Acc& acc, const Hit& h) {
    const Tower& t = kTowers[static_cast<size_t>(h.tower)];
    const std::int64_t mod16 = t.module16, fl16 = t.floor16;
    const std::int64_t fs = h.s16 % mod16, fz = h.z16 % fl16;
    const auto col = static_cast<std::uint32_t>(h.s16 / mod16);
    const auto row = static_cast<std::uint32_t>(h.z16 / fl16);
    const std::uint32_t cell = hash3(static_cast<std::uint32_t>(h.tower * 2 + h.side), col, row);

    // Higher floors catch the glow of the sky; faces turned to the side are
    // a shade darker than those facing us.
    const int lift = static_cast<int>(std::clamp<std::int64_t>(h.z16 * 100 / (16 * t.height), 0, 100));
    int bright = 55 + lift * 55 / 100;
    if (h.side) bright = bright * 3 / 4;

    int r = t.glass.r, g = t.glass.g, b = t.glass.b;
    const bool edge = h.s16 < 6 || h.s16 > 16 * h.width - 6;
    const bool roof = h.z16 > 16 * t.height - 10;
    if (edge || roof) {
        // Lit corner and roof lines outline each tower.
        r = r / 2 + 40;
        g = g + 70;
        b = b + 100;
        bright = 70 + lift * 40 / 100;
    } else if (fs < mod16 / 8 || fz < fl16 / 5) {
        // Mullions and floor slabs.
        r = r * 2 / 5;
        g = g * 2 / 5;
        b = b * 2 / 5;
    } else {
        // Pane: slight per-window variation, a diagonal reflection sweeping
        // across the face, and the odd lit office.
        bright = bright * static_cast<int>(88 + cell % 25) / 100;
        const std::int64_t sweep = (h.s16 * 3 + h.z16) % (16 * 90);
        const int tri = static_cast<int>(sweep < 16 * 45 ? sweep : 16 * 90 - sweep);  // 0..720
        const int glint = std::max(0, tri - 16 * 30) * 60 / (16 * 15);                // 0..60
        r += glint / 3;
        g += glint * 2 / 3;
        b += glint;
        if (cell % 41 == 0) {
            r = 70;
            g = 96;
            b = 180;
            bright = 100;
        }
    }
    r = r * bright / 100;
    g = g * bright / 100;
    b = b * bright / 100;

    // Distance haze towards the sky colour.
    const int haze = static_cast<int>(std::clamp<std::int64_t>(h.d16 / 16 - 60, 0, 400)) * 45 / 400;
    r += (6 - r) * haze / 100;
    g += (10 - g) * haze / 100;
    b += (40 - b) * haze / 100;
    acc.add(r, g, b);
}

Image render_towers() {
    Image img(kW, kH, Rgb{0, 0, 0});
    for (int y = kBand; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            Acc acc;
            int sky_samples = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx) {
                    const std::int64_t dx8 = 8 * x + 2 * sx + 1 - kVx8;
                    const std::int64_t dy8 = 8 * y + 2 * sy + 1 - kVy8;
                    const Sample smp{5 * dx8, 8 * 2500 - 4 * dy8, 3 * dy8};
                    const Hit h = trace(smp);
                    if (h.tower < 0) {
                        sky(acc, smp);
                        ++sky_samples;
                    } else {
                        glass(acc, h);
                    }
                }
            constexpr int n = kSub * kSub;
            if (sky_samples == n && hash3(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 7) % 90 == 0) {
                // A faint star.
                const int glow = 40 + static_cast<int>(hash3(static_cast<std::uint32_t>(y), static_cast<std::uint32_t>(x), 3) % 50);
                acc = {glow * n, glow * n, (glow + 40) * n};
            }
            // Blue stays below 255 so only the lettering is pure blue.
            img.set(x, y,
                    {static_cast<std::uint8_t>(std::clamp(acc.r / n, 0, 255)),
                     static_cast<std::uint8_t>(std::clamp(acc.g / n, 0, 255)),
                     static_cast<std::uint8_t>(std::clamp(acc.b / n, 0, 240))});
        }
    }
    return img;
}

// Fades the picture towards black over the lettering so pure blue stays
// readable on it.
void darken_foot(Image& img, int from, int full) {
    for (int y = from; y < kH; ++y) {
        const int keep = y >= full ? 16 : 100 - (y - from) * 84 / (full - from);
        for (int x = 0; x < kW; ++x) img.set(x, y, scale(img.at(x, y), keep, 100));
    }
}

// Blue text with a one-pixel black surround, drawn by stamping the text in
// black around its final position first. Bold doubles each stroke one pixel
// to the right, which the thin pixel font needs to read as block letters.
void outlined_text(Image& img, const Font& font, int x, int y, std::string_view s, int scale_px, bool bold) {
    const int extra = bold ? 1 : 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1 + extra; ++dx) draw_text(img, font, x + dx, y + dy, s, Rgb{0, 0, 0}, scale_px);
    for (int dx = 0; dx <= extra; ++dx) draw_text(img, font, x + dx, y, s, kBlue, scale_px);
}

}  // namespace

Image draw_about() {
    Image img = render_towers();
    darken_foot(img, 236, 258);

    constexpr std::string_view kAddress = "www.ostrel.example";
    const int aw = text_width(kLettering, kAddress, 2);
    outlined_text(img, kLettering, 164 - (aw + 1) / 2, 264, kAddress, 2, true);

    // EXIT plate: two-pixel frame around the word.
    constexpr int bx0 = 137, by0 = 287, bx1 = 191, by1 = 310;
    img.fill_rect(bx0 - 1, by0 - 1, bx1 + 1, by1 + 1, Rgb{0, 0, 0});
    img.frame_rect(bx0, by0, bx1, by1, kBlue);
    img.frame_rect(bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, kBlue);
    const int ew = text_width(kFont5x7, "EXIT", 2) + 1;
    for (int dx = 0; dx <= 1; ++dx) draw_text(img, kFont5x7, (bx0 + bx1 - ew) / 2 + dx, by0 + 5, "EXIT", kBlue, 2);

    const int vw = text_width(kFont5x7, "2.0");
    outlined_text(img, kFont5x7, kW - 6 - vw, kH - 12, "2.0", 1, false);
    return img;
}

}  // namespace drawres
