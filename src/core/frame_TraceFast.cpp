// Vectorised trace passes. Each writes exactly the bytes of its plain
// row-by-row counterpart. SSE2 is the baseline of every x86 build, NEON that
// of every arm64 one; where an x86 processor and its system support AVX2, the
// wider kernels take over. Other processors run the plain passes.
#include "frame_TraceFast.h"

#if defined(QUORVEX_TRACE_SSE2)
#include <emmintrin.h>
#elif defined(QUORVEX_TRACE_NEON)
#include <arm_neon.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "frame.h"

namespace quorvex {

namespace {

#if defined(QUORVEX_TRACE_SSE2)
struct Sse2Ops {
    using V = __m128i;
    static constexpr int32_t Bytes = 16;
    static constexpr int32_t Halves = 1;

    static V Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(uint8_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static V LoadHalves(const uint8_t* const* p) { return Load(p[0]); }
    static void StoreHalf(uint8_t* p, V v, int32_t) { Store(p, v); }
    static V Set1(uint8_t b) { return _mm_set1_epi8(static_cast<char>(b)); }
    static V SetHalves(const int8_t* b) { return _mm_set1_epi8(b[0]); }
    static V Broadcast16(const int8_t* b) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)); }
    static V Zero() { return _mm_setzero_si128(); }
    static V Avg(V a, V b) { return _mm_avg_epu8(a, b); }
    static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }
    static V Sub(V a, V b) { return _mm_sub_epi8(a, b); }
    static V SubSat(V a, V b) { return _mm_subs_epu8(a, b); }
    static V CmpGt(V a, V b) { return _mm_cmpgt_epi8(a, b); }
    static V Up1(V v) { return _mm_slli_si128(v, 1); }
    static V Down1(V v) { return _mm_srli_si128(v, 1); }
    static V Up15(V v) { return _mm_slli_si128(v, 15); }
    static V Down15(V v) { return _mm_srli_si128(v, 15); }
    static V UnpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
    static V UnpackLo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm_unpackhi_epi16(a, b); }
    static V UnpackLo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
    static V UnpackLo64(V a, V b) { return _mm_unpacklo_epi64(a, b); }
    static V UnpackHi64(V a, V b) { return _mm_unpackhi_epi64(a, b); }
};
using BaseOps = Sse2Ops;
#elif defined(QUORVEX_TRACE_NEON)
// The same operations on NEON registers; the byte shifts are extractions
// against zero, the unpacks zips.
struct NeonOps {
    using V = uint8x16_t;
    static constexpr int32_t Bytes = 16;
    static constexpr int32_t Halves = 1;

    static V Load(const uint8_t* p) { return vld1q_u8(p); }
    static void Store(uint8_t* p, V v) { vst1q_u8(p, v); }
    static V LoadHalves(const uint8_t* const* p) { return Load(p[0]); }
    static void StoreHalf(uint8_t* p, V v, int32_t) { Store(p, v); }
    static V Set1(uint8_t b) { return vdupq_n_u8(b); }
    static V SetHalves(const int8_t* b) { return vdupq_n_u8(static_cast<uint8_t>(b[0])); }
    static V Broadcast16(const int8_t* b) { return vld1q_u8(reinterpret_cast<const uint8_t*>(b)); }
    static V Zero() { return vdupq_n_u8(0); }
    static V Avg(V a, V b) { return vrhaddq_u8(a, b); }
    static V Xor(V a, V b) { return veorq_u8(a, b); }
    static V Or(V a, V b) { return vorrq_u8(a, b); }
    static V And(V a, V b) { return vandq_u8(a, b); }
    static V AndNot(V a, V b) { return vbicq_u8(b, a); }
    static V Sub(V a, V b) { return vsubq_u8(a, b); }
    static V SubSat(V a, V b) { return vqsubq_u8(a, b); }
    static V CmpGt(V a, V b) { return vcgtq_s8(vreinterpretq_s8_u8(a), vreinterpretq_s8_u8(b)); }
    static V Up1(V v) { return vextq_u8(Zero(), v, 15); }
    static V Down1(V v) { return vextq_u8(v, Zero(), 1); }
    static V Up15(V v) { return vextq_u8(Zero(), v, 1); }
    static V Down15(V v) { return vextq_u8(v, Zero(), 15); }
    static V UnpackLo8(V a, V b) { return vzip1q_u8(a, b); }
    static V UnpackHi8(V a, V b) { return vzip2q_u8(a, b); }
    static V UnpackLo16(V a, V b) { return vreinterpretq_u8_u16(vzip1q_u16(vreinterpretq_u16_u8(a), vreinterpretq_u16_u8(b))); }
    static V UnpackHi16(V a, V b) { return vreinterpretq_u8_u16(vzip2q_u16(vreinterpretq_u16_u8(a), vreinterpretq_u16_u8(b))); }
    static V UnpackLo32(V a, V b) { return vreinterpretq_u8_u32(vzip1q_u32(vreinterpretq_u32_u8(a), vreinterpretq_u32_u8(b))); }
    static V UnpackHi32(V a, V b) { return vreinterpretq_u8_u32(vzip2q_u32(vreinterpretq_u32_u8(a), vreinterpretq_u32_u8(b))); }
    static V UnpackLo64(V a, V b) { return vreinterpretq_u8_u64(vzip1q_u64(vreinterpretq_u64_u8(a), vreinterpretq_u64_u8(b))); }
    static V UnpackHi64(V a, V b) { return vreinterpretq_u8_u64(vzip2q_u64(vreinterpretq_u64_u8(a), vreinterpretq_u64_u8(b))); }
};
using BaseOps = NeonOps;
#endif

}  // namespace
}  // namespace quorvex

#ifdef QUORVEX_TRACE_VECTOR
#include "frame_TraceFast_impl.h"
#endif

namespace quorvex {

namespace {

std::atomic<TraceVectorPath> RequestedPath{TraceVectorPath::Automatic};

bool UseAvx2() {
    switch (RequestedPath.load(std::memory_order_relaxed)) {
        case TraceVectorPath::Sse2:
            return false;
        case TraceVectorPath::Avx2:
        case TraceVectorPath::Automatic:
            break;
    }
    return Avx2Usable();
}

void FireRowPlain(uint8_t* out, const uint8_t* below, const uint8_t* below2, int32_t width, int32_t fade) {
    for (int32_t x = 1; x <= width - 2; ++x) {
        const int32_t v = static_cast<int32_t>((below[x - 1] + below[x] + below[x + 1] + below2[x]) >> 2) - fade;
        out[x] = static_cast<uint8_t>(v < 0 ? 0 : v);
    }
}

}  // namespace

bool Avx2Usable() {
#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
    static const bool usable = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return usable;
#else
    return false;
#endif
}

// A request for AVX2 where it cannot run falls back to SSE2.
void SetTraceVectorPath(TraceVectorPath path) { RequestedPath.store(path, std::memory_order_relaxed); }

// The AVX2 kernels are only named where they are built (a discarded branch
// needs no definition).
void SimplePassFast(IndexedPixels px, int32_t traceLength) {
#ifndef QUORVEX_TRACE_VECTOR
    return SimplePass(px, traceLength);
#else
    if (!Usable(px)) return;
    const uint8_t fade = static_cast<uint8_t>(SimpleFade(traceLength));
    const bool wide = UseAvx2();
    auto run = [&](uint8_t* p, size_t n) {
        if constexpr (TraceAvx2Built) {
            if (wide) return SimpleRunAvx2(p, n, fade);
        }
        SimpleRunT<BaseOps>(p, n, fade);
    };
    // Rows without padding between them are one run.
    if (px.stride == px.width) {
        run(px.bits, static_cast<size_t>(px.width) * static_cast<size_t>(px.height));
        return;
    }
    for (int32_t y = 0; y < px.height; ++y) {
        run(px.bits + static_cast<size_t>(y) * static_cast<size_t>(px.stride), static_cast<size_t>(px.width));
    }
#endif
}

void FirePassFast(IndexedPixels px, int32_t traceLength) {
#ifndef QUORVEX_TRACE_VECTOR
    return FirePass(px, traceLength);
#else
    if (!Usable(px)) return;
    const int32_t fade = AverageFade(traceLength);
    const bool wide = UseAvx2() && px.width >= 34;
    const size_t stride = static_cast<size_t>(px.stride);
    for (int32_t y = 0; y + 2 < px.height; ++y) {
        uint8_t* out = px.bits + static_cast<size_t>(y) * stride;
        if constexpr (TraceAvx2Built) {
            if (wide) {
                FireRowAvx2(out, out + stride, out + 2 * stride, px.width, static_cast<uint8_t>(fade));
                continue;
            }
        }
        if (px.width >= 18) {
            FireRowT<BaseOps>(out, out + stride, out + 2 * stride, px.width, static_cast<uint8_t>(fade));
        } else {
            FireRowPlain(out, out + stride, out + 2 * stride, px.width, fade);
        }
    }
#endif
}

void DiffusionPassFast(IndexedPixels px, int32_t traceLength) {
#ifndef QUORVEX_TRACE_VECTOR
    return DiffusionPass(px, traceLength);
#else
    if (!Usable(px) || px.width < 3 || px.height < 3) return;
    const int32_t fade = AverageFade(traceLength);
    if constexpr (TraceAvx2Built) {
        if (UseAvx2()) return DiffusionAvx2(px, fade);
    }
    DiffusionT<BaseOps>(px, fade);
#endif
}

}  // namespace quorvex
