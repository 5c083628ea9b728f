// Shared by the vectorised trace passes: the baseline SSE2 translation unit
// and the AVX2 one, which only runs where the processor and the system
// support AVX2.
#pragma once

#include <cstddef>
#include <cstdint>

#include "RDrawUn.h"

namespace quorvex {

// The rows a Diffusion band works on: lane 0 is the finished row above the
// band, lanes 1..outRows are rewritten, lane outRows + 1 is the untouched row
// below, and the lanes past it repeat that row.
struct DiffusionBand {
    uint8_t* rows[32];
    int32_t outRows;
};

// Which instruction set the fast passes use. Automatic picks AVX2 where it is
// usable; a test pins each path in turn.
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
