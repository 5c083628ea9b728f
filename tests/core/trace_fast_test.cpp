// The vectorised trace passes against the plain ones, every byte of the
// surface, padding included, on both instruction sets this machine can run.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "RDrawUn.h"
#include "frame_TraceFast.h"
#include "surface_Software.h"
#include "trace_picture.h"

namespace quorvex {
namespace {

using test::Picture;
using PassFn = void (*)(IndexedPixels, int32_t);
struct PassPair {
    const char* name;
    PassFn plain, fast;
};
const PassPair Passes[] = {{"Simple", SimplePass, SimplePassFast},
                           {"Diffusion", DiffusionPass, DiffusionPassFast},
                           {"Fire", FirePass, FirePassFast}};

// fill: 0 any byte, 1 near black, 2 near white, 3 mostly black.
Picture RandomPicture(std::mt19937& rng, int32_t w, int32_t h, int32_t stride, uint32_t fill) {
    Picture p(w, h, stride);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t r = rng();
            const uint8_t v[] = {uint8_t(r), uint8_t(r % 8), uint8_t(248 + r % 8), uint8_t(r % 16 ? 0 : r >> 8)};
            p.at(x, y) = v[fill % 4];
        }
    }
    return p;
}

void ExpectSame(const PassPair& pass, const Picture& p, int32_t length) {
    Picture plain = p, fast = p;
    pass.plain(plain.px(), length);
    pass.fast(fast.px(), length);
    ASSERT_EQ(fast.bytes, plain.bytes) << pass.name << " " << p.w << "x" << p.h << " stride " << p.stride
                                       << " TraceLength " << length;
}

class TraceFastTest : public ::testing::TestWithParam<TraceVectorPath> {
protected:
    void SetUp() override {
        if (GetParam() == TraceVectorPath::Avx2 && !Avx2Usable()) GTEST_SKIP() << "no AVX2 here";
        SetTraceVectorPath(GetParam());
    }
    void TearDown() override { SetTraceVectorPath(TraceVectorPath::Automatic); }
};

// Every width up to a few vectors, with and without padding, at every length
// and beyond the slider's range: the vector loops, their tails and the
// narrow fallbacks.
TEST_P(TraceFastTest, NarrowSurfacesAtEveryLength) {
    std::mt19937 rng(11);
    for (const PassPair& pass : Passes) {
        for (int32_t w = 1; w <= 67; ++w) {
            for (const int32_t h : {1, 2, 3, 4, 9, 40}) {
                for (const int32_t length : {-1000, -1, 0, 1, 2, 3, 4, 1000}) {
                    const int32_t stride = w + (length % 2 ? 0 : 1 + static_cast<int32_t>(rng() % 13));
                    ExpectSame(pass, RandomPicture(rng, w, h, stride, rng()), length);
                    if (HasFatalFailure()) return;
                }
            }
        }
    }
}

// Diffusion works in bands of rows and blocks of columns; these sizes put
// the band and block edges in every position, and screen-wide rows run the
// body blocks far from both ends.
TEST_P(TraceFastTest, DiffusionBandAndBlockEdges) {
    std::mt19937 rng(14);
    for (const int32_t w : {31, 32, 33, 47, 48, 49, 50, 63, 64, 65, 66, 81, 96, 97, 130, 203}) {
        for (const int32_t h : {30, 31, 32, 33, 61, 62, 63, 64, 92, 93, 95, 123, 125}) {
            ExpectSame(Passes[1], RandomPicture(rng, w, h, (w + 3) & ~3, 0), static_cast<int32_t>(rng() % 4));
        }
    }
    for (const int32_t w : {1000, 1921}) ExpectSame(Passes[1], RandomPicture(rng, w, 125, w, 0), 1);
}

TEST_P(TraceFastTest, RandomShapes) {
    std::mt19937 rng(15);
    for (int i = 0; i < 400 && !HasFatalFailure(); ++i) {
        const int32_t w = 1 + static_cast<int32_t>(rng() % 300), h = 1 + static_cast<int32_t>(rng() % 140);
        const int32_t stride = w + static_cast<int32_t>(rng() % 3 == 0 ? rng() % 40 : 0);
        ExpectSame(Passes[rng() % 3], RandomPicture(rng, w, h, stride, rng()), static_cast<int32_t>(rng() % 8) - 2);
    }
}

TEST_P(TraceFastTest, SurfacesThatCannotBeAddressedAreLeftAlone) {
    for (const PassPair& pass : Passes) {
        pass.fast(IndexedPixels{nullptr, 100, 100, 100}, 1);
        Picture p(20, 5, 20, 7);
        const std::vector<uint8_t> before = p.bytes;
        pass.fast(IndexedPixels{p.bytes.data(), 20, 5, 19}, 1);  // rows would overlap
        pass.fast(IndexedPixels{p.bytes.data(), 0, 5, 20}, 1);
        pass.fast(IndexedPixels{p.bytes.data(), 20, -1, 20}, 1);
        EXPECT_EQ(p.bytes, before) << pass.name;
    }
}

// Each pass on the pictures of a real engine run, frame after frame.
TEST_P(TraceFastTest, FramesOfAnEngineRun) {
    for (int32_t mode = 0; mode < 3; ++mode) {
        SaverSettings settings;
        settings.TraceModeInd = settings.TraceLength = mode;
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
        for (int frame = 0; frame < 90; ++frame) {
            ticks.Advance(30);
            StepFrame(engine);
            const IndexedPixels px = surface.Pixels();
            Picture before(px.width, px.height, px.stride);
            for (int32_t y = 0; y < px.height; ++y) std::copy_n(px.bits + y * px.stride, px.width, &before.at(0, y));
            ExpectSame(Passes[mode], before, mode);
            if (HasFatalFailure()) return;
            Passes[mode].plain(px, mode);
            if (frame == 89) {
                EXPECT_GT(before.Lit(), 100) << "the comparisons were not all of black";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(VectorPaths, TraceFastTest, ::testing::Values(TraceVectorPath::Sse2, TraceVectorPath::Avx2),
                         [](const auto& info) { return info.param == TraceVectorPath::Sse2 ? "Sse2" : "Avx2"; });

}  // namespace
}  // namespace quorvex
