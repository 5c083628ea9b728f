// The AVX2 kernels of the trace passes: twice the bytes per instruction, and
// Diffusion carries two bands per register. Only reached after Avx2Usable().
// The standard headers come before the target switch so that nothing they
// define is compiled for AVX2 and shared with the baseline code.
#include "frame_TraceFast.h"
#ifdef QUORVEX_TRACE_AVX2
#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "frame.h"
#include "frame_TraceFast.h"

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC target("avx2")
#elif defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#endif

namespace quorvex {
namespace {

struct Avx2Ops {
    using V = __m256i;
    static constexpr int32_t Bytes = 32;
    static constexpr int32_t Halves = 2;

    static V Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static V LoadHalves(const uint8_t* const* p) {
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p[0]));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p[1]));
        return _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
    }
    static void StoreHalf(uint8_t* p, V v, int32_t h) {
        const __m128i half = h == 0 ? _mm256_castsi256_si128(v) : _mm256_extracti128_si256(v, 1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), half);
    }
    static V Set1(uint8_t b) { return _mm256_set1_epi8(static_cast<char>(b)); }
    static V SetHalves(const int8_t* b) { return _mm256_setr_m128i(_mm_set1_epi8(b[0]), _mm_set1_epi8(b[1])); }
    static V Broadcast16(const int8_t* b) {
        return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b)));
    }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Avg(V a, V b) { return _mm256_avg_epu8(a, b); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }
    static V Sub(V a, V b) { return _mm256_sub_epi8(a, b); }
    static V SubSat(V a, V b) { return _mm256_subs_epu8(a, b); }
    static V CmpGt(V a, V b) { return _mm256_cmpgt_epi8(a, b); }
    static V Up1(V v) { return _mm256_bslli_epi128(v, 1); }
    static V Down1(V v) { return _mm256_bsrli_epi128(v, 1); }
    static V Up15(V v) { return _mm256_bslli_epi128(v, 15); }
    static V Down15(V v) { return _mm256_bsrli_epi128(v, 15); }
    static V UnpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
    static V UnpackLo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }
    static V UnpackLo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
    static V UnpackLo64(V a, V b) { return _mm256_unpacklo_epi64(a, b); }
    static V UnpackHi64(V a, V b) { return _mm256_unpackhi_epi64(a, b); }
};

}  // namespace
}  // namespace quorvex

#include "frame_TraceFast_impl.h"

namespace quorvex {

void SimpleRunAvx2(uint8_t* p, size_t n, uint8_t fade) { SimpleRunT<Avx2Ops>(p, n, fade); }

void FireRowAvx2(uint8_t* out, const uint8_t* below, const uint8_t* below2, int32_t width, uint8_t fade) {
    FireRowT<Avx2Ops>(out, below, below2, width, fade);
}

void DiffusionAvx2(IndexedPixels px, int32_t fade) { DiffusionT<Avx2Ops>(px, fade); }

}  // namespace quorvex

#if defined(__clang__)
#pragma clang attribute pop
#endif
#endif
