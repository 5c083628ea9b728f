// StepFrame must not allocate: operator new counts while a test asks it to,
// so any allocation of a frame, the refills at the ends of a morph included,
// shows up.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "engine_fixture.h"

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};

void* CountedAllocate(std::size_t n) {
    if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1, std::memory_order_relaxed);
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

template <typename Work>
long AllocationsDuring(Work work) {
    g_allocations.store(0);
    g_counting.store(true);
    work();
    g_counting.store(false);
    return g_allocations.load();
}

}  // namespace

void* operator new(std::size_t n) { return CountedAllocate(n); }
void* operator new[](std::size_t n) { return CountedAllocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace quorvex::testing {
namespace {

using FrameAllocations = EngineTest;

TEST_F(FrameAllocations, NoFrameAllocatesWithOrWithoutTrace) {
    EXPECT_GE(AllocationsDuring([] { std::vector<int> v(100); }), 1) << "the counter must see allocations";
    for (bool trace : {true, false}) {
        settings.Trace = trace;
        settings.UnSortPoints = true;  // the shuffle runs at each refill too
        settings.PrimitivePoints = false;
        settings.Move3D = true;
        Wire(320, 240, trace ? SurfaceKind::Indexed : SurfaceKind::Rgb);
        PrepareClouds(engine);
        SetUpSurface(engine, 320, 240);
        engine.HoldTime = engine.HoldTimer = 200.0f;
        int ends = 0;
        const long allocations = AllocationsDuring([&] {
            for (int k = 0; k < 400; ++k) {
                const bool forward = engine.MorphForward;
                Step(40);
                ends += engine.MorphForward != forward;
            }
        });
        EXPECT_EQ(allocations, 0) << "trace " << trace;
        EXPECT_GE(ends, 4) << "the frames must reach both ends of the morph";
    }
}

}  // namespace
}  // namespace quorvex::testing
