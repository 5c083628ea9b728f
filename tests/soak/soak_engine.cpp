// Long run of the engine through the whole paint sequence on a small software
// surface: every combination of the eight switches in turn, with the two
// numeric settings at the values the dialog makes and at hostile ones, frame
// periods of 0 to 100 ms drawn at random and the 32-bit tick counter wrapping
// around. After every frame it checks that the picture's state stays sane:
// finite points, morph progress within 0..100, the centre within its bounds
// plus one frame's travel, speeds that only ever change sign, a morph that
// keeps cycling, and not one heap allocation after start.
//
//   quorvex_soak [--frames N] [--seed S] [--width W --height H]
//
// This program replaces the global allocator (operator new, and malloc where
// no sanitizer owns it) so that it can count what the engine takes.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>

#include "RDrawUn.h"
#include "frame.h"
#include "settings.h"
#include "surface_Software.h"

// ------------------------------------------------------------ allocation count

#include "../alloc_count.h"

using quorvex::alloc_count::Note;

#if defined(__SANITIZE_ADDRESS__)
#define QV_SOAK_OWN_MALLOC 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QV_SOAK_OWN_MALLOC 0
#endif
#endif
#ifndef QV_SOAK_OWN_MALLOC
#define QV_SOAK_OWN_MALLOC 1
#endif

#if QV_SOAK_OWN_MALLOC
// glibc's own entry points: every C allocation of the process (the C++
// runtime's included) goes through the counting wrappers below.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);

void* malloc(size_t n) {
    Note();
    return __libc_malloc(n);
}
void* calloc(size_t n, size_t size) {
    Note();
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t n) {
    Note();
    return __libc_realloc(p, n);
}
void free(void* p) { __libc_free(p); }
}
#endif

namespace quorvex::soak {
namespace {

// ------------------------------------------------------------ host

// The platform half of a paint, in memory: nothing to show, a fixed clock
// text, and the software surface cleared when Trace is off.
class MemoryHost final : public FrameHost {
public:
    MemoryHost(SimulatedTicks& ticks, SoftwareSurface*& current) : ticks_(ticks), current_(current) {}
    void Present() override {}
    void ClearSurface() override { current_->Clear(); }
    void DrawClock(const char*, size_t length, const PackedColour*) override { clockChars += length; }
    void DrawFps(const char*, size_t length) override { fpsChars += length; }
    uint32_t Now() override { return ticks_.Now(); }
    void LocalClockText(char* out, size_t outSize, size_t& length) override {
        length = static_cast<size_t>(std::snprintf(out, outSize, "%s", "23:59:59"));
    }
    uint64_t clockChars = 0;
    uint64_t fpsChars = 0;

private:
    SimulatedTicks& ticks_;
    SoftwareSurface*& current_;
};

// ------------------------------------------------------------ checks

struct Failure {
    uint64_t frame = 0;
    char what[256] = {};
};

constexpr float FrameCapMs = 40.0f;
constexpr long double Slack = 1e-4L;  // single-precision rounding of the centre

bool Finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
bool Finite(const Vec3f& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// The bounds of the centre on x and y for the depth it had before the frame.
long double BoundX(long double z, bool move3d) {
    const long double b = 3.5L - z / 2.5L;
    return move3d ? b : std::fmin(b, 2.75L);
}
long double BoundY(long double z, bool move3d) {
    const long double b = 3.0L - z / 3.0L;
    return move3d ? b : std::fmin(b, 1.8L);
}

struct Combo {
    uint32_t switches;  // bit k: switch k in field order
    int32_t traceModeInd;
    int32_t traceLength;
};

constexpr int32_t TraceModeValues[] = {0, 1, 2, -1, INT32_MIN};
constexpr int32_t TraceLengthValues[] = {0, 1, 2, 3, INT32_MAX};
constexpr int ComboCount = 256 * 5 * 5;

Combo ComboAt(int k) {
    return Combo{static_cast<uint32_t>(k % 256), TraceModeValues[(k / 256) / 5], TraceLengthValues[(k / 256) % 5]};
}

void Apply(const Combo& c, SaverSettings& s) {
    for (int bit = 0; bit < 8; ++bit) SetSettingValue(s, bit, (c.switches >> bit) & 1u);
    s.TraceModeInd = c.traceModeInd;
    s.TraceLength = c.traceLength;
}

struct Options {
    uint64_t frames = 10'000'000;
    uint32_t seed = 20240611;
    int32_t width = 80;
    int32_t height = 60;
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (i + 1 >= argc) return false;
        const char* v = argv[++i];
        char* end = nullptr;
        const unsigned long long n = std::strtoull(v, &end, 10);
        if (end == v || *end != '\0') return false;
        if (std::strcmp(a, "--frames") == 0) {
            o.frames = n;
        } else if (std::strcmp(a, "--seed") == 0) {
            o.seed = static_cast<uint32_t>(n);
        } else if (std::strcmp(a, "--width") == 0 && n >= 8 && n <= 4096) {
            o.width = static_cast<int32_t>(n);
        } else if (std::strcmp(a, "--height") == 0 && n >= 6 && n <= 4096) {
            o.height = static_cast<int32_t>(n);
        } else {
            return false;
        }
    }
    return o.frames > 0;
}

// What a run reports.
struct Figures {
    uint64_t frames = 0;
    uint64_t morphEnds = 0;
    uint64_t wraps = 0;
    uint64_t allocations = 0;
    long double engineMs = 0;
    float maxSpinAngle = 0;
    uint64_t maxFramesOutside = 0;
};

// The whole run; false with the first broken property in `fail`.
bool Run(const Options& opt, Figures& fig, Failure& fail) {
    SaverSettings settings;
    SimulatedTicks ticks(0xFFFFFFFFu - 20000u);
    SoftwareSurface indexed(opt.width, opt.height, SurfaceKind::Indexed, (opt.width + 3) & ~3);
    SoftwareSurface rgb(opt.width, opt.height, SurfaceKind::Rgb);
    SoftwareSurface* current = &indexed;
    MemoryHost host(ticks, current);
    std::mt19937 periods(opt.seed);
    std::uniform_int_distribution<uint32_t> period(0, 100);

    static Engine engine;  // large: kept off the stack
    const int framesPerCombo = static_cast<int>(std::max<uint64_t>(1, opt.frames / ComboCount));
    Apply(ComboAt(0), settings);
    current = settings.Trace ? &indexed : &rgb;
    engine.Settings = &settings;
    engine.Ticks = &ticks;
    engine.Target = current;
    engine.Random.RandomSeed = opt.seed;
    PrepareClouds(engine);
    SetUpSurface(engine, opt.width, opt.height);
    PaintState paint;
    StartPaintState(paint, ticks.Now(), ticks.Now());

    const float speed[3] = {std::fabs(engine.CentreVelocity.x), std::fabs(engine.CentreVelocity.y),
                            std::fabs(engine.CentreVelocity.z)};
    const float holdTime = engine.HoldTime;

    // The allocator must see an allocation, or a zero below proves nothing.
    quorvex::alloc_count::Allocations.store(0);
    quorvex::alloc_count::Counting.store(true);
    {
        int* volatile probe = new int(7);
        delete probe;
    }
    if (quorvex::alloc_count::Allocations.load() == 0) {
        std::snprintf(fail.what, sizeof fail.what, "the allocation counter does not count");
        return false;
    }
    quorvex::alloc_count::Allocations.store(0);

#define SOAK_FAIL(...)                                           \
    do {                                                         \
        quorvex::alloc_count::Counting.store(false);                                 \
        fail.frame = fig.frames;                                 \
        std::snprintf(fail.what, sizeof fail.what, __VA_ARGS__); \
        return false;                                            \
    } while (0)

    long double cap[2] = {HUGE_VALL, HUGE_VALL};  // how far outside its x and y bounds the centre may be
    uint64_t outsideRun = 0;
    bool forward = engine.MorphForward;
    long double msSinceEnd = 0;
    for (uint64_t f = 0; f < opt.frames; ++f) {
        const int comboIndex = static_cast<int>((f / static_cast<uint64_t>(framesPerCombo)) % ComboCount);
        if (f % static_cast<uint64_t>(framesPerCombo) == 0) {
            Apply(ComboAt(comboIndex), settings);
            current = settings.Trace ? &indexed : &rgb;
            engine.Target = current;
            // New bounds may lie inside the centre's position: from here on
            // it may only come closer.
            cap[0] = cap[1] = HUGE_VALL;
            // Each new pair of numeric settings starts just before the
            // counter wraps, so every stretch of the run crosses it.
            if (comboIndex % 256 == 0 && f != 0) ticks.Set(0xFFFFFFFFu - period(periods) * 600u);
        }
        const uint32_t before = ticks.Now();
        const uint32_t step = period(periods);
        ticks.Advance(step);
        if (ticks.Now() < before) ++fig.wraps;
        const long double z0 = engine.ObjectCentre.z;
        const Vec3f v0 = engine.CentreVelocity;
        // What the frame may advance the picture by: the clock's step modulo
        // 2^32 (a jump of the clock counts as a stall), at most 40 ms.
        const long double elapsed = std::fmin(static_cast<long double>(ticks.Now() - engine.LastFrameTick), FrameCapMs);

        PaintFrame(engine, paint, host, " fps");
        ++fig.frames;
        fig.engineMs += elapsed;
        msSinceEnd += elapsed;

        // Every point of every cloud, and the motion state, stay finite.
        for (int i = 0; i < CloudCapacity; ++i) {
            if (!Finite(engine.BlendedCloud[i]) || !Finite(engine.CloudA[i]) || !Finite(engine.CloudB[i])) {
                SOAK_FAIL("point %d is not finite", i);
            }
        }
        if (!Finite(engine.ObjectCentre) || !Finite(engine.SpinAngle) || !Finite(engine.SpinSpeed)) {
            SOAK_FAIL("motion state not finite");
        }
        if (!(engine.MorphProgress >= 0.0f && engine.MorphProgress <= 100.0f)) {
            SOAK_FAIL("MorphProgress %.9g", static_cast<double>(engine.MorphProgress));
        }
        if (!(engine.HoldTimer <= holdTime) || engine.HoldTimer < -FrameCapMs) {
            SOAK_FAIL("HoldTimer %.9g", static_cast<double>(engine.HoldTimer));
        }
        if (engine.LastFrameTick != ticks.Now()) SOAK_FAIL("LastFrameTick behind the clock");
        if (settings.TraceModeInd <= -3 || settings.TraceModeInd >= 3) SOAK_FAIL("TraceModeInd not reduced");

        // Bounces only turn the velocity round; its size never drifts.
        const float now[3] = {std::fabs(engine.CentreVelocity.x), std::fabs(engine.CentreVelocity.y),
                              std::fabs(engine.CentreVelocity.z)};
        for (int axis = 0; axis < 3; ++axis) {
            if (now[axis] != speed[axis]) SOAK_FAIL("speed on axis %d drifted to %.9g", axis, double(now[axis]));
        }
        if (engine.SpinSpeed.z != 0.0f || engine.SpinAngle.z != 0.0f) SOAK_FAIL("spin about z");
        if (std::fabs(engine.SpinSpeed.x) > 0.6f || std::fabs(engine.SpinSpeed.y) > 0.6f) SOAK_FAIL("spin speed");

        // The centre within its bounds plus one frame's travel. With Move3D
        // the bounds move with the depth, and the engine tests them against
        // the depth before the frame: they may lag by a frame's depth step.
        // A change of settings can leave the centre far outside new bounds
        // (Move3D off with the object far away): then it may never get
        // further out than it was, and must come back in time.
        const bool move3d = settings.Move3D;
        const long double depthStep = move3d ? std::fabs(static_cast<long double>(v0.z)) * FrameCapMs : 0.0L;
        const long double lag[2] = {depthStep / 2.5L, depthStep / 3.0L};
        const long double tolerance[2] = {std::fabs(static_cast<long double>(v0.x)) * FrameCapMs + 2 * lag[0] + Slack,
                                          std::fabs(static_cast<long double>(v0.y)) * FrameCapMs + 2 * lag[1] + Slack};
        const long double bound[2] = {BoundX(z0, move3d), BoundY(z0, move3d)};
        const long double position[2] = {engine.ObjectCentre.x, engine.ObjectCentre.y};
        bool outside = false;
        for (int axis = 0; axis < 2; ++axis) {
            const long double out = std::fabs(position[axis]) - bound[axis];
            if (out <= tolerance[axis]) {
                cap[axis] = tolerance[axis] + lag[axis];
                continue;
            }
            outside = true;
            if (cap[axis] == HUGE_VALL) cap[axis] = out + lag[axis];
            if (out > cap[axis]) {
                SOAK_FAIL("centre %s = %.6Lf is %.6Lf outside its bound %.6Lf, more than %.6Lf", axis == 0 ? "x" : "y",
                          position[axis], out, bound[axis], cap[axis]);
            }
        }
        // Depth stays where Move3D left it, at most one step past its bounds.
        const long double zStep = std::fabs(static_cast<long double>(v0.z)) * FrameCapMs;
        const long double z = engine.ObjectCentre.z;
        if (z > 4.0L + zStep + Slack || z < -10.0L - zStep - Slack) SOAK_FAIL("centre z = %.6Lf", z);
        outsideRun = outside ? outsideRun + 1 : 0;
        if (outsideRun > fig.maxFramesOutside) fig.maxFramesOutside = outsideRun;
        if (outsideRun > 20000) SOAK_FAIL("centre outside its bounds for %" PRIu64 " frames", outsideRun);

        // The morph keeps cycling: a hold plus a whole morph at most between ends.
        if (engine.MorphForward != forward) {
            ++fig.morphEnds;
            msSinceEnd = 0;
            forward = engine.MorphForward;
        }
        if (msSinceEnd > holdTime + 1500.0L + 2 * FrameCapMs) SOAK_FAIL("morph stalled for %.0Lf ms", msSinceEnd);

        const float spin = std::fmax(std::fabs(engine.SpinAngle.x), std::fabs(engine.SpinAngle.y));
        if (spin > fig.maxSpinAngle) fig.maxSpinAngle = spin;
        if (quorvex::alloc_count::Allocations.load(std::memory_order_relaxed) != 0) SOAK_FAIL("heap allocation during a frame");
    }
    quorvex::alloc_count::Counting.store(false);
    fig.allocations = quorvex::alloc_count::Allocations.load();
    if (host.fpsChars == 0 || host.clockChars == 0) {
        std::snprintf(fail.what, sizeof fail.what, "the FPS or clock text was never drawn");
        return false;
    }
    return true;
#undef SOAK_FAIL
}

}  // namespace
}  // namespace quorvex::soak

int main(int argc, char** argv) {
    using namespace quorvex::soak;
    Options opt;
    if (!ParseOptions(argc, argv, opt)) {
        std::fprintf(stderr, "usage: quorvex_soak [--frames N] [--seed S] [--width W] [--height H]\n");
        return 2;
    }
    Figures fig;
    Failure fail;
    const auto start = std::chrono::steady_clock::now();
    const bool ok = Run(opt, fig, fail);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %" PRIu64 " frames in %.1f s (%.2f us/frame), %.0Lf s of engine time, %" PRIu64
                " morph ends, %" PRIu64
                " tick wraps, %d setting combinations, largest spin angle %.1f, "
                "longest return to bounds %" PRIu64 " frames, %" PRIu64 " allocations\n",
                fig.frames, seconds, seconds * 1e6 / static_cast<double>(fig.frames ? fig.frames : 1),
                fig.engineMs / 1000.0L, fig.morphEnds, fig.wraps, ComboCount, static_cast<double>(fig.maxSpinAngle),
                fig.maxFramesOutside, fig.allocations);
    if (!ok) {
        std::printf("soak: FAILED at frame %" PRIu64 ": %s\n", fail.frame, fail.what);
        std::printf("0 passed, 1 failed\n");
        return 1;
    }
    std::printf("1 passed, 0 failed\n");
    return 0;
}
