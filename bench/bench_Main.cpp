// Rows run in registration order: the memcpy yardstick first, then the
// passes, then the frame step and whole frames, so every ratio_to_memcpy is
// taken against the Memcpy row of the same size in the same run.
#include <atomic>
#include <cstdlib>
#include <new>

#include "bench_Common.h"

namespace {

std::atomic<uint64_t> Allocations{0};

}  // namespace

// Counting replacements of the global allocation functions, so that a row can
// show whether its loop allocates.
void* operator new(std::size_t size) {
    Allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace quorvex::bench {
uint64_t AllocationCount() { return Allocations.load(std::memory_order_relaxed); }
}  // namespace quorvex::bench

int main(int argc, char** argv) {
    using namespace quorvex::bench;
    RegisterMemcpy();
    RegisterTracePasses();
    RegisterFrames();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
