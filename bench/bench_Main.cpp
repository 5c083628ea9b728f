// Rows run in registration order: the memcpy yardstick first, then the
// passes, then the frame step and whole frames, so every ratio_to_memcpy is
// taken against the Memcpy row of the same size in the same run.
#include "../tests/alloc_count.h"
#include "bench_Common.h"

namespace quorvex::bench {
uint64_t AllocationCount() { return alloc_count::Allocations.load(std::memory_order_relaxed); }
}  // namespace quorvex::bench

int main(int argc, char** argv) {
    // Every row reads the count before and after its loop.
    quorvex::alloc_count::Counting.store(true);
    using namespace quorvex::bench;
    RegisterMemcpy();
    RegisterTracePasses();
    RegisterFrames();
    RegisterExtended();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
