// The trace passes: exact in-place results, the fade for every TraceLength, the choice of pass, and the
// vectorised passes byte for byte against the plain ones on both instruction sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "frame.h"
#include "frame_TraceFast.h"
#include "surface_Software.h"
#include "../trace_check.h"

namespace quorvex {
namespace {

constexpr uint8_t Padding = 0xA5;

// Padded rows; the last row ends at its last pixel, so a read past the
// picture leaves the allocation (which a sanitizer build reports).
struct Picture {
    int32_t w, h, stride;
    std::vector<uint8_t> bytes;
    Picture(int32_t width, int32_t height, int32_t s = 0, uint8_t fill = 0)
        : w(width), h(height), stride(s ? s : width + 3), bytes(size_t(stride) * (height - 1) + width, Padding) {
        for (int32_t y = 0; y < h; ++y) std::fill_n(&at(0, y), w, fill);
    }
    uint8_t& at(int32_t x, int32_t y) { return bytes[size_t(y) * stride + x]; }
    IndexedPixels px() { return IndexedPixels{bytes.data(), w, h, stride}; }
    // Lit pixels; -1 when the padding was written.
    int Lit() const {
        int n = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (int32_t(i % stride) >= w && bytes[i] != Padding) return -1;
            if (int32_t(i % stride) < w) n += bytes[i] != 0;
        }
        return n;
    }
};

using PassFn = void (*)(IndexedPixels, int32_t);
const std::pair<PassFn, PassFn> Passes[] = {
    {SimplePass, SimplePassFast}, {DiffusionPass, DiffusionPassFast}, {FirePass, FirePassFast}};

class TracePasses : public ::testing::TestWithParam<TraceVectorPath> {
protected:
    void SetUp() override {
        if (GetParam() == TraceVectorPath::Avx2 && !Avx2Usable()) GTEST_SKIP() << "no AVX2 here";
        SetTraceVectorPath(GetParam());
    }
    void TearDown() override { SetTraceVectorPath(TraceVectorPath::Automatic); }
    // Both passes on copies of p: the same bytes, padding included.
    void ExpectSame(int pass, const Picture& p, int32_t length) {
        Picture plain = p, fast = p;
        Passes[pass].first(plain.px(), length);
        Passes[pass].second(fast.px(), length);
        ASSERT_EQ(fast.bytes, plain.bytes) << "pass " << pass << " " << p.w << "x" << p.h << " stride " << p.stride
                                           << " length " << length;
    }
    static Picture Random(std::mt19937& rng, int32_t w, int32_t h, int32_t stride) {
        Picture p(w, h, stride);
        const uint32_t kind = rng() % 4;  // any byte, near black, near white, mostly black
        for (int32_t i = 0; i < w * h; ++i) {
            const uint32_t r = rng();
            const uint8_t v[] = {uint8_t(r), uint8_t(r % 8), uint8_t(248 + r % 8), uint8_t(r % 16 ? 0 : r >> 8)};
            p.at(i % w, i / w) = v[kind];
        }
        return p;
    }
};

TEST_P(TracePasses, FadeForEveryKindOfLength) {
    // A uniform field: Simple takes its fade off every pixel; Diffusion at
    // (1,1) and Fire at (1,0) average four equal neighbours and take theirs.
    // Only lengths that would make a pixel grow (and wrap) are limited.
    struct Case { int pass; int32_t length; uint8_t value, expected; } const cases[] = {
        {0, 3, 100, 94},   {0, 4, 255, 255}, {0, 5, 255, 255}, {0, 0, 100, 76},  {0, -1, 100, 70},
        {0, -38, 255, 3},  {0, -39, 255, 0}, {0, INT32_MIN, 255, 0},
        {1, 3, 200, 200},  {1, 4, 255, 255}, {1, 2, 200, 199}, {1, -1, 200, 196}, {1, INT32_MIN, 255, 0},
        {2, 3, 200, 200},  {2, 4, 255, 255}, {2, 0, 200, 197}, {2, -1, 200, 196}, {2, -251, 255, 1},
        {2, INT32_MIN, 255, 0},
    };
    for (const Case& c : cases) {
        for (bool fast : {false, true}) {
            Picture p(40, 4, 0, c.value);
            (fast ? Passes[c.pass].second : Passes[c.pass].first)(p.px(), c.length);
            const int32_t y = c.pass == 2 ? 0 : 1;
            EXPECT_EQ(p.at(1, y), c.expected) << "pass " << c.pass << " length " << c.length << " fast " << fast;
            // Diffusion's left neighbour there is already rewritten.
            EXPECT_TRUE(c.pass == 1 || p.at(33, y) == c.expected) << "pass " << c.pass << " length " << c.length;
        }
    }
}

TEST_P(TracePasses, ExactResultsOfThePlainOrder) {
    Picture d(11, 11), f(11, 11), s(3, 1);
    d.at(5, 5) = f.at(5, 5) = 200;
    s.at(0, 0) = 20, s.at(1, 0) = 17, s.at(2, 0) = 255;
    SimplePassFast(s.px(), 1);
    EXPECT_TRUE(s.at(0, 0) == 2 && s.at(1, 0) == 0 && s.at(2, 0) == 237 && s.Lit() == 2);
    DiffusionPassFast(d.px(), 1);
    // above, left, itself, right, below, above-right, below-left, below-right
    const int spread[][3] = {
        {5, 4, 48}, {4, 5, 48}, {5, 5, 22}, {6, 5, 6}, {5, 6, 6}, {6, 4, 10}, {4, 6, 10}, {6, 6, 1}};
    for (const auto& v : spread) EXPECT_EQ(d.at(v[0], v[1]), v[2]) << v[0] << "," << v[1];
    EXPECT_EQ(d.Lit(), 8);
    FirePassFast(f.px(), 1);  // rises from the rows below, as if from an unchanged copy
    EXPECT_TRUE(f.at(4, 4) == 48 && f.at(5, 4) == 48 && f.at(6, 4) == 48 && f.at(5, 3) == 48 && f.Lit() == 4);
    // Borders stay (Fire's last two rows); fewer than 3 rows leave the averaging passes nothing to do.
    for (int32_t h : {1, 2, 5}) {
        Picture a(6, h, 0, 90), b(6, h, 0, 90);
        DiffusionPassFast(a.px(), 0);
        FirePassFast(b.px(), 0);
        for (int32_t i = 0; i < 6 * h; ++i) {
            const int32_t x = i % 6, y = i / 6;
            EXPECT_TRUE(!(x % 5 == 0 || y == 0 || y == h - 1) || a.at(x, y) == 90) << x << "," << y;
            EXPECT_TRUE(!(x % 5 == 0 || y + 2 >= h) || b.at(x, y) == 90) << x << "," << y;
        }
    }
    // Surfaces the passes cannot address are left alone.
    for (const auto& [plain, fast] : Passes) {
        Picture p(20, 5, 20, 7);
        for (PassFn fn : {plain, fast}) {
            fn(IndexedPixels{nullptr, 100, 100, 100}, 1);
            fn(IndexedPixels{p.bytes.data(), 20, 5, 19}, 1);  // rows would overlap
            fn(IndexedPixels{p.bytes.data(), 0, 5, 20}, 1);
            fn(IndexedPixels{p.bytes.data(), 20, -1, 20}, 1);
        }
        EXPECT_EQ(p.bytes, Picture(20, 5, 20, 7).bytes);
    }
}

TEST_P(TracePasses, TheModeSelectsThePass) {
    const int modes[][2] = {{0, 0}, {1, 1}, {2, 2}, {-1, 2}, {-2, 2}, {4, 1}, {INT32_MIN, 2}};
    for (const auto& m : modes) EXPECT_EQ(int(EffectFor(m[0])), m[1]) << m[0];
    SaverSettings s;
    const int32_t expected[3][2] = {{5, 182}, {4, 48}, {3, 48}};  // (y, value) at x 5 from a dot at (5,5)
    for (int32_t mode = 0; mode < 3; ++mode) {
        s.TraceModeInd = mode;
        Picture p(11, 11);
        p.at(5, 5) = 200;
        TracePass(s, p.px());
        EXPECT_EQ(p.at(5, expected[mode][0]), expected[mode][1]) << mode;
    }
}

// Every narrow width with and without padding, and wider pictures across the
// Diffusion band and block edges: fast equals plain.
TEST_P(TracePasses, FastEqualsPlain) {
    std::mt19937 rng(11);
    for (int pass = 0; pass < 3; ++pass) {
        for (int32_t w = 1; w <= 67; ++w) {
            for (const int32_t h : {1, 2, 3, 9, 40}) {
                for (const int32_t length : {-1000, -1, 0, 1, 3, 4, 5, 1000}) {
                    ExpectSame(pass, Random(rng, w, h, w + (length % 2 ? 0 : 1 + int32_t(rng() % 13))), length);
                    if (HasFatalFailure()) return;
                }
            }
        }
    }
    for (const int32_t w : {31, 32, 33, 48, 49, 50, 64, 65, 66, 97, 130, 203}) {
        for (const int32_t h : {30, 31, 32, 33, 62, 63, 64, 93, 95, 125}) {
            for (int pass = 0; pass < 3; ++pass) ExpectSame(pass, Random(rng, w, h, (w + 3) & ~3), int32_t(rng() % 4));
        }
    }
}

// The pass over what holds the light gives the full pass's bytes on random pictures inside random rectangles
// (empty, on the edges) for every kind of length, and the exact box of what it leaves lit.
TEST_P(TracePasses, BoundedEqualsFull) {
    std::mt19937 rng(22);
    std::vector<uint8_t> bytes(8 + 96 * 64);
    for (uint32_t n = 0, kind = 0; n < 3000; ++n, kind = rng() % 3) {  // pixels of any value, mostly black, near white
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = uint8_t(i < 8 || kind == 0 ? rng() : kind == 1 ? (rng() % 8 ? 0 : rng()) : 255 - rng() % 8);
        ASSERT_EQ(CheckBoundedPass(bytes.data(), bytes.size()), "") << "case " << n;
    }
}

// Each margin is reached, never passed: 255 past a line 1..20 lines from the edge lights at most that far beyond it,
// at some depth exactly (Diffusion 4 right and down, 3 for the dialog's other lengths, 1 up, left; Fire 2 up, 1 aside).
TEST_P(TracePasses, MarginsAreExact) {
    constexpr int32_t N = 40;
    for (int32_t fade = 0, side = 0, spread = 0; fade < 256;
         side = (side + 1) % 8, fade += side ? 0 : fade < 70 ? 1 : 37, spread = 0) {
        for (int32_t depth = 1; depth <= N / 2; ++depth) {
            const int32_t dir = side % 2 ? -1 : 1, edge = side % 2 ? N - depth : depth - 1;
            auto past = [&](int32_t i) { return dir * ((side % 4 < 2 ? i % N : i / N) - edge); };
            Picture p(N, N, N);
            for (int32_t i = 0; i < N * N; ++i) p.bytes[i] = past(i) <= 0 ? 255 : 0;
            Passes[1 + side / 4].first(p.px(), 3 - fade);
            for (int32_t i = 0; i < N * N; ++i) spread = std::max(spread, p.bytes[i] ? past(i) : 0);
        }
        const TraceMargins m = MarginsFor(TraceEffect(1 + side / 4), fade);
        const int32_t want[] = {m.right, m.left, m.bottom, m.top}, d = 4 - !!fade, dialog[] = {d, 1, d, 1, 1, 1, 0, 2};
        ASSERT_TRUE(spread == want[side % 4] && (fade > 3 || spread == dialog[side])) << side << " " << fade;
    }
}

INSTANTIATE_TEST_SUITE_P(VectorPaths, TracePasses, ::testing::Values(TraceVectorPath::Sse2, TraceVectorPath::Avx2),
                         [](const auto& info) { return info.param == TraceVectorPath::Sse2 ? "Sse2" : "Avx2"; });

}  // namespace
}  // namespace quorvex
