// Shared by the vectorised trace passes: the baseline SSE2 translation unit
// and the AVX2 one, which only runs where the processor and the system
// support AVX2.
#pragma once

#include <cstddef>
#include <cstdint>

#include "RDrawUn.h"

// The vector code each processor gets: SSE2 with AVX2 beside it on x86, NEON
// on arm64; elsewhere the fast passes are the plain ones.
#if defined(__i386__) || defined(__x86_64__)
#define QUORVEX_TRACE_SSE2 1
#define QUORVEX_TRACE_AVX2 1
#define QUORVEX_TRACE_VECTOR 1
#elif defined(__aarch64__) && defined(__ARM_NEON)
#define QUORVEX_TRACE_NEON 1
#define QUORVEX_TRACE_VECTOR 1
#endif

namespace quorvex {

#ifdef QUORVEX_TRACE_AVX2
inline constexpr bool TraceAvx2Built = true;
#else
inline constexpr bool TraceAvx2Built = false;
#endif

// The rows a Diffusion band works on: lane 0 is the finished row above the
// band, lanes 1..outRows are rewritten, lane outRows + 1 is the untouched row
// below, and the lanes past it repeat that row.
struct DiffusionBand {
    uint8_t* rows[32];
    int32_t outRows;
};

// Which instruction set the fast passes use. Automatic picks AVX2 where it is
// usable; a test pins each path in turn. Sse2 stands for the 16-byte
// baseline, NEON on arm64.
enum class TraceVectorPath { Automatic, Sse2, Avx2 };
void SetTraceVectorPath(TraceVectorPath path);
bool Avx2Usable();

// The AVX2 kernels (frame_TraceFast_avx2.cpp).
void SimpleRunAvx2(uint8_t* p, size_t n, uint8_t fade);
// width >= 34
void FireRowAvx2(uint8_t* out, const uint8_t* below, const uint8_t* below2, int32_t width, uint8_t fade);
// width >= 3, height >= 3
void DiffusionAvx2(IndexedPixels px, int32_t fade);

}  // namespace quorvex
