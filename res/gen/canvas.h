// Pixel buffer, BMP writer and a seeded random source for the picture
// generator. Everything here is integer arithmetic so the output bytes do not
// depend on the compiler's floating-point choices (FMA contraction, libm).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drawres {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// Blend a towards b by num/den, rounded.
Rgb mix(Rgb a, Rgb b, int num, int den);
// Scale every channel by num/den, clamped to 255.
Rgb scale(Rgb c, int num, int den);

class Image {
public:
    Image(int w, int h, Rgb fill);

    int width() const { return w_; }
    int height() const { return h_; }

    Rgb at(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
    // Out-of-range writes are dropped so shapes may hang over the edge.
    void set(int x, int y, Rgb c);
    // Wrapping write, for textures that repeat edge to edge.
    void set_wrapped(int x, int y, Rgb c);
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

    // Rectangles take inclusive corners in any order.
    void fill_rect(int x0, int y0, int x1, int y1, Rgb c);
    void frame_rect(int x0, int y0, int x1, int y1, Rgb c);
    void hline(int x0, int x1, int y, Rgb c) { fill_rect(x0, y, x1, y, c); }
    void vline(int x, int y0, int y1, Rgb c) { fill_rect(x, y0, x, y1, c); }
    // Diagonal hatching inside the rectangle, one line every pitch pixels;
    // rising lines run bottom-left to top-right.
    void hatch_rect(int x0, int y0, int x1, int y1, int pitch, bool rising, Rgb c);

    // Serialise as a bottom-up 24-bit BI_RGB BMP with a 54-byte header.
    std::vector<std::uint8_t> to_bmp() const;
    bool save_bmp(const std::string& path) const;

private:
    int w_, h_;
    std::vector<Rgb> px_;
};

// splitmix64: tiny, well mixed, and identical on every platform.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed) {}
    std::uint64_t next();
    // Uniform-ish integer in [lo, hi].
    int range(int lo, int hi);
    bool chance(int percent) { return range(0, 99) < percent; }

private:
    std::uint64_t s_;
};

}  // namespace drawres
