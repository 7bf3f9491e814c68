// Floor tile: magenta circuit traces on black. The tile is repeated edge to
// edge across the floor, so everything is drawn on a torus (coordinates wrap)
// and traces that leave one edge come back in at the opposite one.
//
// Pieces are placed one at a time from a seeded generator; each must keep a
// clear gap from what is already there, which keeps the board tidy without a
// hand-made layout.
#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "pictures.h"

namespace drawres {

namespace {

constexpr int kW = 622, kH = 608;
constexpr Rgb kTrace{182, 85, 182};
constexpr int kClearance = 3;  // free pixels kept around every placed piece

struct Pt {
    int x = 0, y = 0;
};
Pt operator+(Pt a, Pt b) { return {a.x + b.x, a.y + b.y}; }
Pt operator*(int k, Pt a) { return {k * a.x, k * a.y}; }

constexpr std::array<Pt, 4> kDirs{{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};
Pt dir(int d) { return kDirs[static_cast<size_t>(d & 3)]; }
Pt normal(int d) { return dir(d + 1); }

int wrap_index(Pt p) {
    int x = p.x % kW, y = p.y % kH;
    if (x < 0) x += kW;
    if (y < 0) y += kH;
    return y * kW + x;
}

// Pixels of one piece: centre lines (for the self-crossing test) and every
// pixel lit once line width is applied.
struct Shape {
    std::vector<Pt> centres;
    std::vector<Pt> pixels;

    void dot(Pt p, int thick) {
        centres.push_back(p);
        for (int dy = 0; dy < thick; ++dy)
            for (int dx = 0; dx < thick; ++dx) pixels.push_back({p.x + dx, p.y + dy});
    }
    void rect(Pt a, Pt b) {
        for (int y = std::min(a.y, b.y); y <= std::max(a.y, b.y); ++y)
            for (int x = std::min(a.x, b.x); x <= std::max(a.x, b.x); ++x) pixels.push_back({x, y});
    }
    void append(const Shape& o) {
        centres.insert(centres.end(), o.centres.begin(), o.centres.end());
        pixels.insert(pixels.end(), o.pixels.begin(), o.pixels.end());
    }
};

class Board {
public:
    Board() : lit_(kW * kH, 0), owner_(kW * kH, 0), seen_(kW * kH, 0) {}

    int new_owner() { return ++owners_; }
    int lit_count() const { return lit_count_; }

    // A piece fits if it crosses neither itself nor anything lit, and stays
    // out of every other owner's clearance zone.
    bool fits(const Shape& s, int owner) {
        ++stamp_;
        for (Pt p : s.centres) {
            const int i = wrap_index(p);
            if (seen_[i] == stamp_) return false;
            seen_[i] = stamp_;
        }
        for (Pt p : s.pixels) {
            const int i = wrap_index(p);
            if (lit_[i] || (owner_[i] != 0 && owner_[i] != owner)) return false;
        }
        return true;
    }

    void commit(const Shape& s, int owner) {
        for (Pt p : s.pixels) {
            const int i = wrap_index(p);
            if (!lit_[i]) ++lit_count_;
            lit_[i] = 1;
            for (int dy = -kClearance; dy <= kClearance; ++dy)
                for (int dx = -kClearance; dx <= kClearance; ++dx) {
                    const int j = wrap_index({p.x + dx, p.y + dy});
                    if (owner_[j] == 0) owner_[j] = owner;
                }
        }
    }

    Image render() const {
        Image img(kW, kH, Rgb{0, 0, 0});
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (lit_[y * kW + x]) img.set(x, y, kTrace);
        return img;
    }

private:
    std::vector<std::uint8_t> lit_;
    std::vector<int> owner_;
    std::vector<int> seen_;
    int stamp_ = 0, owners_ = 0, lit_count_ = 0;
};

// Straight run from a to b, a itself left out so corners are not counted
// twice by the self-crossing test.
void run(Shape& s, Pt a, Pt b, int thick) {
    const Pt step{(b.x > a.x) - (b.x < a.x), (b.y > a.y) - (b.y < a.y)};
    for (Pt p = a; p.x != b.x || p.y != b.y;) {
        p = p + step;
        s.dot(p, thick);
    }
}

// Tuning-fork terminal at a trace end: a short crossbar and two prongs
// pointing out along d.
void fork(Shape& s, Pt end, int d, int thick) {
    const Pt n = normal(d), f = dir(d);
    for (int k = -2; k <= 2; ++k)
        if (k != 0) s.dot(end + k * n, thick);
    for (int k = 1; k <= 3; ++k) {
        s.dot(end + 2 * n + k * f, thick);
        s.dot(end + (-2) * n + k * f, thick);
    }
}

struct Bundle {
    int lanes = 3;
    int thick = 1;
    int pitch = 5;
    bool pads = false;   // pad row at the start instead of forks
    int stagger = 0;     // how far each lane's end steps past its neighbour
    bool alternate = false;  // stagger every other lane instead of a staircase
};

// Rasterises a bundle whose centre line starts at start, heads in dirs[0] and
// runs lengths[i] along dirs[i]. Each lane keeps its offset through the bends,
// so inner lanes turn tighter corners, as on a real board.
Shape lay_bundle(const Bundle& b, Pt start, const std::vector<int>& dirs, const std::vector<int>& lengths) {
    Shape s;
    std::vector<Pt> vertices{start};
    for (size_t i = 0; i < dirs.size(); ++i) vertices.push_back(vertices.back() + lengths[i] * dir(dirs[i]));
    const int last = static_cast<int>(dirs.size()) - 1;
    for (int lane = 0; lane < b.lanes; ++lane) {
        const int off = lane * b.pitch - (b.lanes - 1) * b.pitch / 2;
        const int extra = b.alternate ? (lane % 2) * b.stagger : lane * b.stagger;
        std::vector<Pt> path;
        path.push_back(vertices[0] + off * normal(dirs[0]));
        for (int v = 1; v <= last; ++v)
            path.push_back(vertices[static_cast<size_t>(v)] + off * normal(dirs[static_cast<size_t>(v) - 1]) +
                           off * normal(dirs[static_cast<size_t>(v)]));
        path.push_back(vertices.back() + off * normal(dirs.back()) + extra * dir(dirs.back()));

        if (b.pads) {
            const Pt back = dir(dirs[0] + 2), n = normal(dirs[0]);
            const int half = (b.pitch - 2) / 2;
            s.rect(path[0] + 1 * back + (-half) * n, path[0] + 6 * back + (b.pitch - 3 - half) * n);
        } else {
            fork(s, path[0], dirs[0] + 2, b.thick);
        }
        s.dot(path[0], b.thick);
        for (size_t i = 1; i < path.size(); ++i) run(s, path[i - 1], path[i], b.thick);
        fork(s, path.back(), dirs.back(), b.thick);
    }
    return s;
}

// Grows a bundle one bend at a time, keeping the longest version that still
// fits; returns false if not even the first run fits.
bool grow_bundle(Board& board, Rng& rng, const Bundle& b, Pt start, int first_dir, int owner) {
    const int min_run = b.lanes * b.pitch + 8;
    std::vector<int> dirs{first_dir}, lengths{0};
    Shape best;
    bool any = false;
    int same_turns = 0, prev_turn = 0;
    for (int seg = 0; seg < 6; ++seg) {
        int len = rng.range(min_run, min_run + 120);
        bool placed = false;
        for (; len >= min_run; len -= 6) {
            lengths.back() = len;
            Shape s = lay_bundle(b, start, dirs, lengths);
            if (board.fits(s, owner)) {
                best = std::move(s);
                placed = true;
                break;
            }
        }
        if (!placed) {
            lengths.pop_back();
            dirs.pop_back();
            break;
        }
        any = true;
        // Turn left or right; never three times the same way, which would
        // curl the bundle back into itself.
        int turn = rng.chance(50) ? 1 : -1;
        if (turn == prev_turn && same_turns >= 1) turn = -turn;
        same_turns = turn == prev_turn ? same_turns + 1 : 0;
        prev_turn = turn;
        dirs.push_back(dirs.back() + turn + 4);
        lengths.push_back(0);
    }
    if (!any) return false;
    board.commit(best, owner);
    return true;
}

Bundle random_bundle(Rng& rng) {
    Bundle b;
    b.thick = rng.chance(25) ? 2 : 1;
    b.pitch = b.thick == 2 ? 7 : rng.range(5, 6);
    b.lanes = rng.range(2, b.thick == 2 ? 4 : 7);
    b.stagger = rng.chance(30) ? 0 : rng.range(5, 8);
    b.alternate = b.stagger == 0 || rng.chance(40);
    if (b.stagger == 0) b.stagger = 6;
    return b;
}

// Two facing rows of pads with a thin body outline between them, and a
// bundle leaving each row.
void place_chip(Board& board, Rng& rng, Pt at, int d) {
    Bundle b;
    b.lanes = rng.range(4, 8);
    b.pitch = 5;
    b.pads = true;
    b.stagger = rng.range(5, 7);
    b.alternate = rng.chance(50);
    const int body = rng.range(14, 26);
    const Pt f = dir(d), n = normal(d);
    const int lo = -(b.lanes - 1) * b.pitch / 2 - 4, hi = lo + (b.lanes - 1) * b.pitch + 8;
    const int owner = board.new_owner();

    Shape outline;
    const Pt c0 = at + 8 * f + lo * n, c1 = at + (8 + body) * f + hi * n;
    for (int x = std::min(c0.x, c1.x); x <= std::max(c0.x, c1.x); ++x) {
        outline.pixels.push_back({x, c0.y});
        outline.pixels.push_back({x, c1.y});
    }
    for (int y = std::min(c0.y, c1.y); y <= std::max(c0.y, c1.y); ++y) {
        outline.pixels.push_back({c0.x, y});
        outline.pixels.push_back({c1.x, y});
    }
    if (!board.fits(outline, owner)) return;
    // The chip only goes down if at least one side gets its traces.
    const bool a = grow_bundle(board, rng, b, at, d + 2, owner);
    const bool c = grow_bundle(board, rng, b, at + (16 + body) * f, d, owner);
    if ((a || c) && board.fits(outline, owner)) board.commit(outline, owner);
}

// A free-standing row of pads, like a connector edge.
void place_pad_strip(Board& board, Rng& rng, Pt at, int d) {
    const int count = rng.range(5, 12);
    const int across = rng.range(3, 4), along = rng.range(6, 9);
    const Pt f = dir(d), n = normal(d);
    Shape s;
    for (int i = 0; i < count; ++i) {
        const Pt corner = at + (i * (across + 3)) * n;
        s.rect(corner, corner + (across - 1) * n + (along - 1) * f);
    }
    const int owner = board.new_owner();
    if (board.fits(s, owner)) board.commit(s, owner);
}

}  // namespace

Image draw_floor() {
    Board board;
    Rng rng(0xF100125EED);
    const int target = kW * kH * 8 / 100;
    for (int attempt = 0; attempt < 4000 && board.lit_count() < target - 600; ++attempt) {
        const Pt at{rng.range(0, kW - 1), rng.range(0, kH - 1)};
        const int d = rng.range(0, 3);
        const int kind = rng.range(0, 99);
        if (kind < 25) {
            place_chip(board, rng, at, d);
        } else if (kind < 33) {
            place_pad_strip(board, rng, at, d);
        } else {
            Bundle b = random_bundle(rng);
            b.pads = kind < 55;
            if (b.pads) b.pitch = std::max(b.pitch, 5);
            grow_bundle(board, rng, b, at, d, board.new_owner());
        }
    }
    return board.render();
}

}  // namespace drawres
