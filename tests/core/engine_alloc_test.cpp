// StepFrame must not allocate: operator new counts while a test asks it to,
// so any allocation of a frame, the refills at the ends of a morph included,
// shows up.
#include <gtest/gtest.h>

#include <vector>

#include "../alloc_count.h"
#include "engine_fixture.h"

namespace {

template <typename Work>
long AllocationsDuring(Work work) {
    quorvex::alloc_count::Start();
    work();
    return static_cast<long>(quorvex::alloc_count::Stop());
}

}  // namespace

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
