// Checks on the committed bitmap resources in res/bitmaps: the exact BMP
// layout the resource compiler takes, the colour make-up and placements the
// scene and about box rely on, and that ostrel-drawres still draws the same
// bytes (so nobody hand-edits a bitmap or forgets to redraw after a change).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#ifndef OSTREL_SOURCE_DIR
#error "OSTREL_SOURCE_DIR must name the repository root"
#endif

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> read_bytes(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

fs::path committed(const std::string& name) { return fs::path(OSTREL_SOURCE_DIR) / "res" / "bitmaps" / name; }

std::uint32_t le32(const std::vector<std::uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint32_t le16(const std::vector<std::uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Decoded picture, addressed from the top-left corner with y growing down,
// the way the artwork is described.
struct Picture {
    int width = 0, height = 0;
    size_t stride = 0;
    std::vector<std::uint8_t> bytes;

    Rgb at(int x, int y) const {
        const size_t i = 54 + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3;
        return {bytes[i + 2], bytes[i + 1], bytes[i]};
    }
};

Picture load(const std::string& name) {
    Picture p;
    p.bytes = read_bytes(committed(name));
    if (p.bytes.size() < 54) return p;
    p.width = static_cast<int>(le32(p.bytes, 18));
    p.height = static_cast<int>(le32(p.bytes, 22));
    p.stride = (static_cast<size_t>(p.width) * 3 + 3) & ~size_t{3};
    if (p.bytes.size() < 54 + p.stride * p.height) p.width = p.height = 0;
    return p;
}

struct Resource {
    const char* file;
    int id;
    int width, height;
    std::uint32_t stride;
};

constexpr Resource kResources[] = {
    {"panel_a.bmp", 111, 256, 256, 768},
    {"panel_b.bmp", 112, 256, 256, 768},
    {"floor.bmp", 114, 622, 608, 1868},
    {"about.bmp", 117, 327, 315, 984},
};

void PrintTo(const Resource& r, std::ostream* os) { *os << r.file; }

class BitmapFile : public ::testing::TestWithParam<Resource> {};

TEST_P(BitmapFile, HeaderIsBottomUp24BitRgbWithoutPalette) {
    const Resource& r = GetParam();
    const auto b = read_bytes(committed(r.file));
    ASSERT_EQ(b.size(), 54u + static_cast<size_t>(r.stride) * r.height) << r.file;
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size());
    EXPECT_EQ(le32(b, 6), 0u);
    EXPECT_EQ(le32(b, 10), 54u);
    EXPECT_EQ(le32(b, 14), 40u);
    EXPECT_EQ(le32(b, 18), static_cast<std::uint32_t>(r.width));
    EXPECT_EQ(le32(b, 22), static_cast<std::uint32_t>(r.height));  // positive: bottom-up
    EXPECT_EQ(le16(b, 26), 1u);
    EXPECT_EQ(le16(b, 28), 24u);
    EXPECT_EQ(le32(b, 30), 0u);
    EXPECT_EQ(le32(b, 34), r.stride * static_cast<std::uint32_t>(r.height));
    EXPECT_EQ(le32(b, 38), 2835u);
    EXPECT_EQ(le32(b, 42), 2835u);
    EXPECT_EQ(le32(b, 46), 0u);
    EXPECT_EQ(le32(b, 50), 0u);
}

TEST_P(BitmapFile, RowPaddingIsZero) {
    const Resource& r = GetParam();
    const auto b = read_bytes(committed(r.file));
    ASSERT_EQ(b.size(), 54u + static_cast<size_t>(r.stride) * r.height);
    for (int row = 0; row < r.height; ++row)
        for (std::uint32_t i = static_cast<std::uint32_t>(r.width) * 3; i < r.stride; ++i)
            ASSERT_EQ(b[54 + static_cast<size_t>(row) * r.stride + i], 0) << r.file << " row " << row;
}

INSTANTIATE_TEST_SUITE_P(Resources, BitmapFile, ::testing::ValuesIn(kResources),
                         [](const auto& info) { return "res" + std::to_string(info.param.id); });

bool panel_back(Rgb c) { return c == Rgb{2, 16, 17}; }
bool cyan(Rgb c) { return c.r <= 80 && c.g >= 200 && c.b >= 200; }
// Teal through cyan: green and blue both above red. A red/blue swap in the
// writer turns the whole panel orange and fails this.
bool teal_family(Rgb c) { return c.g > c.r && c.b > c.r; }
bool black(Rgb c) { return c == Rgb{0, 0, 0}; }
bool trace(Rgb c) { return std::abs(c.r - 182) <= 24 && std::abs(c.g - 85) <= 24 && std::abs(c.b - 182) <= 24; }
bool black_or_trace(Rgb c) { return black(c) || trace(c); }
bool pure_blue(Rgb c) { return c == Rgb{0, 0, 255}; }
bool blue_leaning(Rgb c) { return c.b >= c.r && c.b >= c.g; }

struct Share {
    const char* file;
    const char* what;
    bool (*match)(Rgb);
    double lo, hi;
};

constexpr Share kShares[] = {
    {"panel_a.bmp", "plain background", panel_back, 0.72, 0.80},
    {"panel_a.bmp", "bright cyan", cyan, 0.05, 0.20},
    {"panel_a.bmp", "teal or cyan", teal_family, 1.0, 1.0},
    {"panel_b.bmp", "plain background", panel_back, 0.72, 0.80},
    {"panel_b.bmp", "bright cyan", cyan, 0.05, 0.20},
    {"panel_b.bmp", "teal or cyan", teal_family, 1.0, 1.0},
    {"floor.bmp", "black", black, 0.90, 0.94},
    {"floor.bmp", "trace magenta", trace, 0.06, 0.10},
    {"floor.bmp", "black or trace", black_or_trace, 1.0, 1.0},
    {"about.bmp", "pure blue lettering", pure_blue, 0.01, 0.03},
    {"about.bmp", "blue, violet or teal", blue_leaning, 0.95, 1.0},
};

void PrintTo(const Share& s, std::ostream* os) { *os << s.file << " " << s.what; }

class ColourShare : public ::testing::TestWithParam<Share> {};

TEST_P(ColourShare, WithinRange) {
    const Share& s = GetParam();
    const Picture p = load(s.file);
    ASSERT_GT(p.width, 0) << s.file;
    long hits = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) hits += s.match(p.at(x, y));
    const double share = static_cast<double>(hits) / (static_cast<double>(p.width) * p.height);
    EXPECT_GE(share, s.lo) << s.file << ": " << s.what;
    EXPECT_LE(share, s.hi) << s.file << ": " << s.what;
}

INSTANTIATE_TEST_SUITE_P(Resources, ColourShare, ::testing::ValuesIn(kShares), [](const auto& info) {
    std::string name = std::string(info.param.file).substr(0, std::string(info.param.file).find('.')) + "_" +
                       std::to_string(info.index);
    return name;
});

// The bar chart has the tallest bright vertical strokes on a panel; where
// the longest one sits tells which corner the chart is in.
struct ChartCorner {
    const char* file;
    bool right, bottom;
};

void PrintTo(const ChartCorner& c, std::ostream* os) { *os << c.file; }

class PanelChart : public ::testing::TestWithParam<ChartCorner> {};

TEST_P(PanelChart, SitsInItsCorner) {
    const ChartCorner& c = GetParam();
    const Picture p = load(c.file);
    ASSERT_GT(p.width, 0);
    int best = 0, best_x = 0, best_y = 0;
    for (int x = 0; x < p.width; ++x)
        for (int y = 0, run = 0; y < p.height; ++y) {
            run = cyan(p.at(x, y)) ? run + 1 : 0;
            if (run > best) {
                best = run;
                best_x = x;
                best_y = y - run / 2;
            }
        }
    EXPECT_GE(best, 40) << c.file << ": no tall bar found";
    EXPECT_EQ(best_x >= p.width / 2, c.right) << c.file << " tallest bar at x " << best_x;
    EXPECT_EQ(best_y >= p.height / 2, c.bottom) << c.file << " tallest bar at y " << best_y;
}

INSTANTIATE_TEST_SUITE_P(Panels, PanelChart,
                         ::testing::Values(ChartCorner{"panel_a.bmp", true, false},
                                           ChartCorner{"panel_b.bmp", false, true}));

struct Box {
    int x0, y0, x1, y1;  // inclusive
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

Box blue_bounds(const Picture& p, Box within) {
    Box b{p.width, p.height, -1, -1};
    for (int y = within.y0; y <= within.y1; ++y)
        for (int x = within.x0; x <= within.x1; ++x)
            if (pure_blue(p.at(x, y))) {
                b.x0 = std::min(b.x0, x);
                b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x);
                b.y1 = std::max(b.y1, y);
            }
    return b;
}

// Where each piece of blue lettering must land on the about picture: the
// dialog lays its hot spots over these places.
struct Lettering {
    const char* what;
    Box search;
    Box expected;
    int slack;
};

constexpr Lettering kLettering[] = {
    {"web address", {0, 255, 326, 283}, {60, 264, 268, 277}, 3},
    {"EXIT plate", {100, 284, 260, 314}, {137, 287, 191, 310}, 1},
    {"version", {280, 284, 326, 314}, {308, 303, 320, 309}, 6},
};

void PrintTo(const Lettering& l, std::ostream* os) { *os << l.what; }

class AboutLettering : public ::testing::TestWithParam<Lettering> {};

TEST_P(AboutLettering, LandsInPlace) {
    const Lettering& l = GetParam();
    const Picture p = load("about.bmp");
    ASSERT_EQ(p.width, 327);
    const Box got = blue_bounds(p, l.search);
    ASSERT_GE(got.x1, 0) << l.what << " not drawn";
    EXPECT_NEAR(got.x0, l.expected.x0, l.slack) << l.what;
    EXPECT_NEAR(got.y0, l.expected.y0, l.slack) << l.what;
    EXPECT_NEAR(got.x1, l.expected.x1, l.slack) << l.what;
    EXPECT_NEAR(got.y1, l.expected.y1, l.slack) << l.what;
}

// Blue on dark blue only reads if what lies between the strokes is near black.
TEST_P(AboutLettering, StandsOnDarkGround) {
    const Lettering& l = GetParam();
    const Picture p = load("about.bmp");
    ASSERT_EQ(p.width, 327);
    const Box box = blue_bounds(p, l.search);
    ASSERT_GE(box.x1, 0);
    for (int y = box.y0; y <= box.y1; ++y)
        for (int x = box.x0; x <= box.x1; ++x) {
            const Rgb c = p.at(x, y);
            if (!pure_blue(c)) {
                ASSERT_LE(c.r + c.g + c.b, 60) << l.what << " at " << x << "," << y;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(About, AboutLettering, ::testing::ValuesIn(kLettering),
                         [](const auto& info) { return "part" + std::to_string(info.index); });

TEST(AboutPicture, NoPureBlueOutsideTheLettering) {
    const Picture p = load("about.bmp");
    ASSERT_EQ(p.width, 327);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const bool lettering = std::any_of(std::begin(kLettering), std::end(kLettering),
                                               [&](const Lettering& l) { return l.search.contains(x, y); });
            if (!lettering) {
                ASSERT_FALSE(pure_blue(p.at(x, y))) << x << "," << y;
            }
        }
}

TEST(AboutPicture, ExitPlateIsAClosedFrame) {
    const Picture p = load("about.bmp");
    ASSERT_EQ(p.width, 327);
    const Box plate = blue_bounds(p, kLettering[1].search);
    ASSERT_GE(plate.x1, plate.x0 + 20);
    for (int x = plate.x0; x <= plate.x1; ++x) {
        EXPECT_TRUE(pure_blue(p.at(x, plate.y0))) << "top edge, x " << x;
        EXPECT_TRUE(pure_blue(p.at(x, plate.y1))) << "bottom edge, x " << x;
    }
    for (int y = plate.y0; y <= plate.y1; ++y) {
        EXPECT_TRUE(pure_blue(p.at(plate.x0, y))) << "left edge, y " << y;
        EXPECT_TRUE(pure_blue(p.at(plate.x1, y))) << "right edge, y " << y;
    }
}

TEST(AboutPicture, BlackBandAcrossTheTopThenTowers) {
    const Picture p = load("about.bmp");
    ASSERT_EQ(p.width, 327);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < p.width; ++x) ASSERT_TRUE(black(p.at(x, y))) << x << "," << y;
    // Below the band the towers are dark but lit: neither black nor washed out.
    long sum = 0, n = 0;
    for (int y = 40; y < 240; ++y)
        for (int x = 0; x < p.width; ++x, ++n) {
            const Rgb c = p.at(x, y);
            sum += std::max({c.r, c.g, c.b});
        }
    EXPECT_GT(sum / n, 30);
    EXPECT_LT(sum / n, 120);
}

// The floor tile repeats edge to edge, so a trace running off one side must
// come back in on the other.
TEST(FloorTile, TracesContinueAcrossTheSeams) {
    const Picture p = load("floor.bmp");
    ASSERT_EQ(p.width, 622);
    int crossings = 0;
    for (int y = 0; y < p.height; ++y) {
        if (!trace(p.at(p.width - 1, y)) || !trace(p.at(p.width - 2, y)) || !trace(p.at(p.width - 3, y))) continue;
        ++crossings;
        EXPECT_TRUE(trace(p.at(0, y))) << "trace ends at the right edge on row " << y;
    }
    for (int x = 0; x < p.width; ++x) {
        if (!trace(p.at(x, p.height - 1)) || !trace(p.at(x, p.height - 2)) || !trace(p.at(x, p.height - 3))) continue;
        ++crossings;
        EXPECT_TRUE(trace(p.at(x, 0))) << "trace ends at the bottom edge in column " << x;
    }
    EXPECT_GT(crossings, 0) << "nothing crosses the tile edges; the seams would show as empty lanes";
}

TEST(DrawRes, ReproducesTheCommittedBitmaps) {
#ifndef OSTREL_DRAWRES_PATH
    GTEST_SKIP() << "built without ostrel-drawres (cross build)";
#else
    const fs::path dir = fs::temp_directory_path() / ("ostrel-drawres-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    std::string cmd = std::string("\"") + OSTREL_DRAWRES_PATH + "\" \"" + dir.string() + "\"";
#ifdef _WIN32
    cmd = "\"" + cmd + "\"";  // cmd.exe strips one outer pair of quotes
#endif
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    for (const Resource& r : kResources) {
        const auto fresh = read_bytes(dir / r.file);
        const auto kept = read_bytes(committed(r.file));
        ASSERT_EQ(fresh.size(), kept.size()) << r.file;
        const auto diff = std::mismatch(fresh.begin(), fresh.end(), kept.begin());
        EXPECT_TRUE(diff.first == fresh.end())
            << r.file << " differs from a fresh drawing at byte " << (diff.first - fresh.begin())
            << "; redraw with the ostrel-bitmaps target and commit the result";
    }
    fs::remove_all(dir);
#endif
}

}  // namespace
