// Counts heap allocations; include it in exactly one translation unit (it replaces the global operators).
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace quorvex::alloc_count {

inline std::atomic<bool> Counting{false};
inline std::atomic<uint64_t> Allocations{0};

// Counting from zero until Stop, which returns the count.
inline void Start() { Allocations = 0, Counting = true; }
inline uint64_t Stop() { return Counting = false, Allocations.load(); }

}  // namespace quorvex::alloc_count

// The library's array, nothrow and sized forms call these.
void* operator new(std::size_t n) {
    if (quorvex::alloc_count::Counting.load(std::memory_order_relaxed)) quorvex::alloc_count::Allocations++;
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
