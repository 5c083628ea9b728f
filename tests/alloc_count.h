// Counts heap allocations; include it in exactly one translation unit (it replaces the global operators).
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace quorvex::alloc_count {

inline std::atomic<bool> Counting{false};
inline std::atomic<uint64_t> Allocations{0};

inline void Note() {
    if (Counting.load(std::memory_order_relaxed)) Allocations.fetch_add(1, std::memory_order_relaxed);
}

inline void* Allocate(std::size_t n) {
    Note();
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

// Counting from zero until Stop, which returns the count.
inline void Start() {
    Allocations.store(0);
    Counting.store(true);
}
inline uint64_t Stop() {
    Counting.store(false);
    return Allocations.load();
}

}  // namespace quorvex::alloc_count

void* operator new(std::size_t n) { return quorvex::alloc_count::Allocate(n); }
void* operator new[](std::size_t n) { return quorvex::alloc_count::Allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n == 0 ? 1 : n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n == 0 ? 1 : n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
