#include "canvas.h"

#include <algorithm>
#include <fstream>
#include <utility>

namespace drawres {

namespace {

std::uint8_t clamp8(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

void put_le(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

Rgb mix(Rgb a, Rgb b, int num, int den) {
    auto lerp = [&](int p, int q) { return clamp8(p + ((q - p) * num + (q >= p ? den / 2 : -den / 2)) / den); };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

Rgb scale(Rgb c, int num, int den) {
    return {clamp8((c.r * num + den / 2) / den), clamp8((c.g * num + den / 2) / den),
            clamp8((c.b * num + den / 2) / den)};
}

Image::Image(int w, int h, Rgb fill) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill) {}

void Image::set(int x, int y, Rgb c) {
    if (inside(x, y)) px_[static_cast<size_t>(y) * w_ + x] = c;
}

void Image::set_wrapped(int x, int y, Rgb c) {
    x %= w_;
    y %= h_;
    if (x < 0) x += w_;
    if (y < 0) y += h_;
    px_[static_cast<size_t>(y) * w_ + x] = c;
}

void Image::fill_rect(int x0, int y0, int x1, int y1, Rgb c) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) set(x, y, c);
}

void Image::frame_rect(int x0, int y0, int x1, int y1, Rgb c) {
    hline(x0, x1, y0, c);
    hline(x0, x1, y1, c);
    vline(x0, y0, y1, c);
    vline(x1, y0, y1, c);
}

void Image::hatch_rect(int x0, int y0, int x1, int y1, int pitch, bool rising, Rgb c) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            // Measured from the corner so every box starts its pattern the same way.
            const int d = rising ? (x - x0) + (y - y0) : (x - x0) + (y1 - y);
            if (d % pitch == 0) set(x, y, c);
        }
}

std::vector<std::uint8_t> Image::to_bmp() const {
    const std::uint32_t stride = (static_cast<std::uint32_t>(w_) * 3 + 3) & ~3u;
    const std::uint32_t image_size = stride * static_cast<std::uint32_t>(h_);
    std::vector<std::uint8_t> out;
    out.reserve(54 + image_size);
    out.push_back('B');
    out.push_back('M');
    put_le(out, 54 + image_size, 4);
    put_le(out, 0, 4);  // two reserved words
    put_le(out, 54, 4);
    put_le(out, 40, 4);
    put_le(out, static_cast<std::uint32_t>(w_), 4);
    put_le(out, static_cast<std::uint32_t>(h_), 4);  // positive: bottom-up rows
    put_le(out, 1, 2);
    put_le(out, 24, 2);
    put_le(out, 0, 4);  // BI_RGB
    put_le(out, image_size, 4);
    put_le(out, 2835, 4);  // 72 dpi
    put_le(out, 2835, 4);
    put_le(out, 0, 4);
    put_le(out, 0, 4);
    for (int y = h_ - 1; y >= 0; --y) {
        for (int x = 0; x < w_; ++x) {
            const Rgb c = at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(w_) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

bool Image::save_bmp(const std::string& path) const {
    const auto bytes = to_bmp();
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

std::uint64_t Rng::next() {
    std::uint64_t z = (s_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

int Rng::range(int lo, int hi) {
    const auto span = static_cast<std::uint64_t>(hi - lo + 1);
    return lo + static_cast<int>(next() % span);
}

}  // namespace drawres
