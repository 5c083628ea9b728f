// The vectorised trace passes against the plain row-by-row ones: every byte
// of the surface, padding included, on both instruction sets this machine
// can run.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "RDrawUn.h"
#include "frame.h"
#include "frame_TraceFast.h"
#include "surface_Software.h"

namespace quorvex {
namespace {

using PassFn = void (*)(IndexedPixels, int32_t);

struct PassPair {
    const char* name;
    PassFn plain;
    PassFn fast;
};
const PassPair Passes[] = {
    {"Simple", SimplePass, SimplePassFast},
    {"Diffusion", DiffusionPass, DiffusionPassFast},
    {"Fire", FirePass, FirePassFast},
};

constexpr uint8_t Padding = 0xA5;

// Rows of `stride` bytes; the bytes past `width` in each row hold Padding.
// The last row ends at its last pixel, so a read past the picture leaves the
// allocation (which a sanitizer build reports).
struct Picture {
    Picture(int32_t w, int32_t h, int32_t s) : width(w), height(h), stride(s) {
        bytes.assign(static_cast<size_t>(s) * static_cast<size_t>(h - 1) + static_cast<size_t>(w), Padding);
    }
    IndexedPixels Pixels() { return IndexedPixels{bytes.data(), width, height, stride}; }
    uint8_t& At(int32_t x, int32_t y) { return bytes[static_cast<size_t>(y) * stride + x]; }

    int32_t width, height, stride;
    std::vector<uint8_t> bytes;
};

enum class Fill { Any, NearBlack, NearWhite, Sparse };

Picture RandomPicture(std::mt19937& rng, int32_t w, int32_t h, int32_t s, Fill fill) {
    Picture p(w, h, s);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t r = rng();
            uint8_t v = static_cast<uint8_t>(r);
            if (fill == Fill::NearBlack) v = static_cast<uint8_t>(r % 8);
            if (fill == Fill::NearWhite) v = static_cast<uint8_t>(248 + r % 8);
            if (fill == Fill::Sparse) v = (r % 16 == 0) ? static_cast<uint8_t>(r >> 8) : 0;
            p.At(x, y) = v;
        }
    }
    return p;
}

std::string Describe(const PassPair& pass, int32_t w, int32_t h, int32_t s, int32_t length) {
    return std::string(pass.name) + " " + std::to_string(w) + "x" + std::to_string(h) + " stride " + std::to_string(s) +
           " TraceLength " + std::to_string(length);
}

// Runs both passes on copies of `p` and compares every byte; padding must
// still hold its fill.
void ExpectSame(const PassPair& pass, const Picture& p, int32_t length) {
    Picture plain = p, fast = p;
    pass.plain(plain.Pixels(), length);
    pass.fast(fast.Pixels(), length);
    const std::string what = Describe(pass, p.width, p.height, p.stride, length);
    for (size_t i = 0; i < p.bytes.size(); ++i) {
        const int32_t y = static_cast<int32_t>(i / static_cast<size_t>(p.stride));
        const int32_t x = static_cast<int32_t>(i % static_cast<size_t>(p.stride));
        if (x >= p.width) {
            ASSERT_EQ(fast.bytes[i], Padding) << what << ": padding at (" << x << ", " << y << ") written";
        } else {
            ASSERT_EQ(fast.bytes[i], plain.bytes[i]) << what << ": pixel (" << x << ", " << y << ")";
        }
    }
}

class TraceFastTest : public ::testing::TestWithParam<TraceVectorPath> {
protected:
    void SetUp() override {
        if (GetParam() == TraceVectorPath::Avx2 && !Avx2Usable()) GTEST_SKIP() << "no AVX2 here";
        SetTraceVectorPath(GetParam());
    }
    void TearDown() override { SetTraceVectorPath(TraceVectorPath::Automatic); }
};

TEST_P(TraceFastTest, TinySurfacesAndEveryLength) {
    std::mt19937 rng(11);
    const int32_t shapes[][2] = {{1, 1}, {2, 2}, {1, 5}, {5, 1}, {2, 7}, {3, 3}, {7, 2}, {4, 3}, {3, 40}};
    for (const PassPair& pass : Passes) {
        for (const auto& shape : shapes) {
            for (int32_t length = -2; length <= 6; ++length) {
                ExpectSame(pass, RandomPicture(rng, shape[0], shape[1], shape[0], Fill::Any), length);
                ExpectSame(pass, RandomPicture(rng, shape[0], shape[1], shape[0] + 3, Fill::NearWhite), length);
            }
        }
    }
}

// Every width up to a few vectors, three rows and a few more, with and
// without padding: the vector loops, their tails and the narrow fallbacks.
TEST_P(TraceFastTest, EveryNarrowWidth) {
    std::mt19937 rng(12);
    for (const PassPair& pass : Passes) {
        for (int32_t w = 1; w <= 67; ++w) {
            for (const int32_t h : {3, 4, 9}) {
                const int32_t length = static_cast<int32_t>(rng() % 4);
                ExpectSame(pass, RandomPicture(rng, w, h, w, Fill::Any), length);
                ExpectSame(pass, RandomPicture(rng, w, h, w + 1 + static_cast<int32_t>(rng() % 13), Fill::Any), length);
            }
        }
    }
}

TEST_P(TraceFastTest, ValuesNearBlackAndWhite) {
    std::mt19937 rng(13);
    for (const PassPair& pass : Passes) {
        for (const Fill fill : {Fill::NearBlack, Fill::NearWhite, Fill::Sparse}) {
            for (int32_t length = 0; length <= 3; ++length) {
                ExpectSame(pass, RandomPicture(rng, 97, 70, 100, fill), length);
            }
        }
    }
}

// Diffusion works in bands of rows and blocks of columns; these sizes put
// the band and block edges in every position, with one, two and three bands
// per register pair and both ends of a row short of a whole block.
TEST_P(TraceFastTest, DiffusionBandAndBlockEdges) {
    std::mt19937 rng(14);
    const PassPair& diffusion = Passes[1];
    for (const int32_t w : {31, 32, 33, 47, 48, 49, 50, 63, 64, 65, 66, 81, 96, 97, 130, 203}) {
        for (const int32_t h : {30, 31, 32, 33, 61, 62, 63, 64, 92, 93, 95, 123, 125}) {
            const int32_t stride = (w + 3) & ~3;
            ExpectSame(diffusion, RandomPicture(rng, w, h, stride, Fill::Any), static_cast<int32_t>(rng() % 4));
        }
    }
    // Rows as wide as a screen's, so the body blocks run far from both ends.
    for (const int32_t w : {1000, 1921}) {
        ExpectSame(diffusion, RandomPicture(rng, w, 125, w, Fill::Any), 1);
    }
}

TEST_P(TraceFastTest, RandomShapes) {
    std::mt19937 rng(15);
    for (int i = 0; i < 400; ++i) {
        const PassPair& pass = Passes[rng() % 3];
        const int32_t w = 1 + static_cast<int32_t>(rng() % 300);
        const int32_t h = 1 + static_cast<int32_t>(rng() % 140);
        const int32_t stride = w + static_cast<int32_t>(rng() % 3 == 0 ? rng() % 40 : 0);
        const int32_t length = static_cast<int32_t>(rng() % 8) - 2;
        ExpectSame(pass, RandomPicture(rng, w, h, stride, static_cast<Fill>(rng() % 4)), length);
    }
}

// The worked cases of the trace effects, computed by hand, on the fast
// passes alone: a fault shared with the plain passes shows here.
TEST_P(TraceFastTest, WorkedCases) {
    for (const int32_t w : {9, 70}) {
        Picture d(w, 40, w);
        std::fill(d.bytes.begin(), d.bytes.end(), 0);
        d.At(4, 20) = 200;
        DiffusionPassFast(d.Pixels(), 1);
        EXPECT_EQ(d.At(4, 19), 48);
        EXPECT_EQ(d.At(3, 20), 48);
        EXPECT_EQ(d.At(4, 20), 22);
        EXPECT_EQ(d.At(5, 20), 6);
        EXPECT_EQ(d.At(4, 21), 6);
        EXPECT_EQ(d.At(5, 19), 10);
        EXPECT_EQ(d.At(3, 21), 10);
        EXPECT_EQ(d.At(5, 21), 1);
        int32_t lit = 0;
        for (uint8_t v : d.bytes) lit += v != 0;
        EXPECT_EQ(lit, 8) << "width " << w;

        Picture f(w, 40, w);
        std::fill(f.bytes.begin(), f.bytes.end(), 0);
        f.At(4, 20) = 200;
        FirePassFast(f.Pixels(), 1);
        EXPECT_EQ(f.At(3, 19), 48);
        EXPECT_EQ(f.At(4, 19), 48);
        EXPECT_EQ(f.At(5, 19), 48);
        EXPECT_EQ(f.At(4, 18), 48);
        EXPECT_EQ(f.At(4, 20), 0);
        lit = 0;
        for (uint8_t v : f.bytes) lit += v != 0;
        EXPECT_EQ(lit, 4) << "width " << w;
    }

    Picture s(40, 1, 40);
    s.At(0, 0) = 20;
    s.At(1, 0) = 17;
    s.At(39, 0) = 255;
    SimplePassFast(s.Pixels(), 1);
    EXPECT_EQ(s.At(0, 0), 2);
    EXPECT_EQ(s.At(1, 0), 0);
    EXPECT_EQ(s.At(39, 0), 237);

    // Three lower neighbours of 100 and 0 two rows down: 75 - 2.
    Picture g(40, 5, 40);
    std::fill(g.bytes.begin(), g.bytes.end(), 0);
    for (int32_t x = 0; x < 40; ++x) g.At(x, 3) = 100;
    FirePassFast(g.Pixels(), 1);
    EXPECT_EQ(g.At(20, 2), 73);
    EXPECT_EQ(g.At(0, 2), 0);
}

// Lengths outside the slider's range count as the nearest one, so nothing
// passes 255 and wraps.
TEST_P(TraceFastTest, LengthsOutsideTheSliderCountAsTheNearest) {
    std::mt19937 rng(17);
    for (const PassPair& pass : Passes) {
        const Picture start = RandomPicture(rng, 60, 50, 64, Fill::NearWhite);
        for (const int32_t length : {-1000, -1, 4, 5, 1000}) {
            Picture fast = start, nearest = start;
            pass.fast(fast.Pixels(), length);
            pass.plain(nearest.Pixels(), length < 0 ? 0 : 3);
            EXPECT_EQ(fast.bytes, nearest.bytes) << pass.name << " TraceLength " << length;
        }
    }
    // By hand on white: Simple loses 6 or 24, Fire keeps 255 or loses 3.
    for (const int32_t length : {1000, -1000}) {
        Picture s(40, 40, 40), f(40, 40, 40);
        std::fill(s.bytes.begin(), s.bytes.end(), 255);
        std::fill(f.bytes.begin(), f.bytes.end(), 255);
        SimplePassFast(s.Pixels(), length);
        FirePassFast(f.Pixels(), length);
        EXPECT_EQ(s.At(20, 20), length > 0 ? 249 : 231);
        EXPECT_EQ(f.At(20, 20), length > 0 ? 255 : 252);
    }
}

TEST_P(TraceFastTest, SurfacesThatCannotBeAddressedAreLeftAlone) {
    for (const PassPair& pass : Passes) {
        pass.fast(IndexedPixels{nullptr, 100, 100, 100}, 1);
        Picture p(20, 5, 20);
        const std::vector<uint8_t> before = p.bytes;
        pass.fast(IndexedPixels{p.bytes.data(), 20, 5, 19}, 1);  // rows would overlap
        pass.fast(IndexedPixels{p.bytes.data(), 0, 5, 20}, 1);
        pass.fast(IndexedPixels{p.bytes.data(), 20, -1, 20}, 1);
        EXPECT_EQ(p.bytes, before) << pass.name;
    }
}

// Frames of a real engine run on a padded surface: each pass applied to the
// engine's picture, plain and fast, frame after frame.
TEST_P(TraceFastTest, FramesOfAnEngineRun) {
    for (int32_t mode = 0; mode < 3; ++mode) {
        SaverSettings settings;
        settings.TraceModeInd = mode;
        settings.TraceLength = mode;  // 0, 1, 2: a different fade each
        SimulatedTicks ticks(5000);
        SoftwareSurface surface(333, 250, SurfaceKind::Indexed, 336);
        Engine engine;
        engine.Settings = &settings;
        engine.Ticks = &ticks;
        engine.Target = &surface;
        engine.ClientRight = surface.Width();
        engine.ClientBottom = surface.Height();
        PrepareClouds(engine);
        SetUpSurface(engine, surface.Width(), surface.Height());
        const PassPair& pass = Passes[mode];
        for (int frame = 0; frame < 90; ++frame) {
            ticks.Advance(30);
            StepFrame(engine);
            const IndexedPixels px = surface.Pixels();
            Picture before(px.width, px.height, px.stride);
            for (int32_t y = 0; y < px.height; ++y) {
                for (int32_t x = 0; x < px.width; ++x) before.At(x, y) = px.bits[y * px.stride + x];
            }
            ExpectSame(pass, before, settings.TraceLength);
            if (::testing::Test::HasFatalFailure()) return;
            pass.plain(px, settings.TraceLength);
        }
        // The run drew something, so the comparisons were not all of black.
        int32_t lit = 0;
        for (int32_t y = 0; y < surface.Height(); ++y) {
            for (int32_t x = 0; x < surface.Width(); ++x) lit += surface.IndexAt(x, y) != 0;
        }
        EXPECT_GT(lit, 100) << pass.name;
    }
}

// The dispatch runs the pass TraceModeInd selects, with the same bytes as the
// plain pass; a negative remainder selects Fire.
TEST_P(TraceFastTest, TracePassMatchesThePlainPassItSelects) {
    std::mt19937 rng(16);
    const int32_t modes[] = {0, 1, 2, -1, -2};
    const PassFn expected[] = {SimplePass, DiffusionPass, FirePass, FirePass, FirePass};
    for (int i = 0; i < 5; ++i) {
        Picture p = RandomPicture(rng, 77, 45, 80, Fill::Any);
        Picture q = p;
        SaverSettings s;
        s.TraceModeInd = modes[i];
        s.TraceLength = 2;
        TracePass(s, p.Pixels());
        expected[i](q.Pixels(), 2);
        EXPECT_EQ(p.bytes, q.bytes) << "TraceModeInd " << modes[i];
    }
}

INSTANTIATE_TEST_SUITE_P(VectorPaths, TraceFastTest, ::testing::Values(TraceVectorPath::Sse2, TraceVectorPath::Avx2),
                         [](const ::testing::TestParamInfo<TraceVectorPath>& info) {
                             return info.param == TraceVectorPath::Sse2 ? std::string("Sse2") : std::string("Avx2");
                         });

}  // namespace
}  // namespace quorvex
