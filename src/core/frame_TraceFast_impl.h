// The vectorised trace kernels, written once over a small set of vector
// operations (Ops) and compiled by each translation unit that includes this
// file for its own instruction set. Everything is in an unnamed namespace, so
// the copies compiled for a wider instruction set can never stand in for the
// baseline ones at link time. Include the standard headers before this file
// and before any target pragma.
//
// Ops provides: V, Bytes (bytes per vector), Halves (16-byte halves that
// carry a band each), Load/Store (unaligned, full width), LoadHalves,
// StoreHalf, Set1, SetHalves (a byte per half), Broadcast16 (the same 16
// bytes in every half), Zero, Avg, Xor, Or, And, AndNot, Sub, SubSat,
// CmpGt, Up1/Down1/Up15/Down15 (byte shifts within each half: Up moves a
// byte to a higher lane), Unpack{Lo,Hi}{8,16,32,64}.
#pragma once

namespace quorvex {
namespace {

// floor((a + b + c + d) / 4) per byte without widening: the rounding-up
// average of the two pair averages exceeds it by exactly one when a + b or
// c + d is odd, or when both are even and the two halves have an odd sum.
template <class Ops>
inline typename Ops::V FloorMean4(typename Ops::V a, typename Ops::V b, typename Ops::V c, typename Ops::V d,
                                  typename Ops::V one) {
    const auto ab = Ops::Avg(a, b);
    const auto cd = Ops::Avg(c, d);
    const auto up = Ops::Avg(ab, cd);
    const auto odd = Ops::Or(Ops::Or(Ops::Xor(a, b), Ops::Xor(c, d)), Ops::Xor(ab, cd));
    return Ops::Sub(up, Ops::And(odd, one));
}

// Keeps the compiler from folding a load into each instruction that uses it.
template <class V>
inline void InRegister(V& v) {
#if defined(__aarch64__)
    __asm__("" : "+w"(v));
#else
    __asm__("" : "+x"(v));
#endif
}

template <class Ops>
void SimpleRunT(uint8_t* p, size_t n, uint8_t fade) {
    constexpr size_t B = Ops::Bytes;
    const auto f = Ops::Set1(fade);
    size_t i = 0;
    for (; i + 4 * B <= n; i += 4 * B) {
        const auto a = Ops::Load(p + i), b = Ops::Load(p + i + B);
        const auto c = Ops::Load(p + i + 2 * B), d = Ops::Load(p + i + 3 * B);
        Ops::Store(p + i, Ops::SubSat(a, f));
        Ops::Store(p + i + B, Ops::SubSat(b, f));
        Ops::Store(p + i + 2 * B, Ops::SubSat(c, f));
        Ops::Store(p + i + 3 * B, Ops::SubSat(d, f));
    }
    for (; i + B <= n; i += B) Ops::Store(p + i, Ops::SubSat(Ops::Load(p + i), f));
    // Going back over bytes already dimmed would dim them twice: the tail is
    // done one byte at a time.
    for (; i < n; ++i) p[i] = static_cast<uint8_t>(p[i] > fade ? p[i] - fade : 0);
}

// Columns 1..width-2 of one row from the two rows below it, which the pass
// has not rewritten yet; width >= Bytes + 2.
template <class Ops>
void FireRowT(uint8_t* out, const uint8_t* below, const uint8_t* below2, int32_t width, uint8_t fade) {
    constexpr int32_t B = Ops::Bytes;
    const auto f = Ops::Set1(fade);
    const auto one = Ops::Set1(1);
    auto chunk = [&](int32_t x) {
        // Each input feeds two instructions; held in registers, it is read once.
        auto a = Ops::Load(below + x - 1), b = Ops::Load(below + x + 1);
        auto c = Ops::Load(below + x), d = Ops::Load(below2 + x);
        InRegister(a);
        InRegister(b);
        InRegister(c);
        InRegister(d);
        Ops::Store(out + x, Ops::SubSat(FloorMean4<Ops>(a, b, c, d, one), f));
    };
    // The sources are never rewritten, so chunks may overlap: redoing a few
    // columns gives the same bytes again. That lets the first chunk start at
    // column 1, the others on whole vectors of the output row, and the last
    // end at column width - 2.
    const int32_t last = width - 1 - B;
    chunk(1);
    const uintptr_t misalign = reinterpret_cast<uintptr_t>(out + 1) % B;
    int32_t x = 1 + B - static_cast<int32_t>(misalign);
    for (; x + B <= last; x += 2 * B) {
        chunk(x);
        chunk(x + B);
    }
    for (; x <= last; x += B) chunk(x);
    chunk(last);
}

// ---------------------------------------------------------------------------
// Diffusion as a skewed wavefront over a band of rows. Byte lane l of a band
// (two 16-byte vectors stacked, lanes 0..31) stands for row l of the band,
// and at step t lane l works on column t - l. The new upper neighbour is then
// lane l - 1 of the previous step, the new left neighbour lane l of the
// previous step, and the old lower and right neighbours are lanes l + 1 and l
// of the input column one step ahead, which nothing has rewritten yet. Lanes
// of one step depend only on the previous step, so the two stacked vectors
// are two independent chains. Lane 0 is the finished row above the band and
// passes through unchanged; lane 31 is the untouched row below it; lanes
// 1..30 are rewritten.
//
// Blocks of 16 steps are read and written through transposes, with the skew
// built into the row addresses. Near the two ends of a row some lanes are off
// it; those blocks run on a padded copy of the band's ends with a per-lane
// mask. A wider vector carries a second band in its upper half, 64 steps
// behind the first: by the time it reads a column of the first band's last
// row, that column has been written back, and the first band has read every
// column of its own bottom row (the second band's first) before the second
// band rewrites it. (Lane 30 trails lane 0 by 30 steps and a block is written
// back up to 16 steps after it is computed, so 48 steps would not do.)
constexpr int32_t StackedVectors = 2;
constexpr int32_t BandLanes = 16 * StackedVectors;
constexpr int32_t BandOutRows = BandLanes - 2;
constexpr int32_t EndPad = 32;      // columns of the copy before the first one needed
constexpr int32_t EndStride = 128;  // bytes per lane of the copy
constexpr int32_t BandLag = 64;     // steps between the bands of one wide vector

struct BandRows {
    uint8_t* base[BandLanes];  // lane l, column c is at base[l][c + shift]
    ptrdiff_t shift = 0;
    int32_t lastLane = 0;  // lanes 1..lastLane are written back
};

template <class Ops>
struct WaveConsts {
    typename Ops::V one, laneZero, fade, fadeTop, laneIndex;
};

template <class Ops>
struct WaveState {
    typename Ops::V prev[StackedVectors];   // results of the last step
    typename Ops::V carry[StackedVectors];  // input column of the next step
};

// A 16 x 16 byte transpose per half in two passes that need few registers:
// four rows interleaved give q[c] = columns 4c..4c+3 of those rows, one
// 32-bit unit per column; four such groups (q[4g + c]) give four columns.
template <class Ops>
inline void InterleaveFour(const typename Ops::V* r, typename Ops::V* q) {
    const auto a0 = Ops::UnpackLo8(r[0], r[1]);
    const auto a1 = Ops::UnpackHi8(r[0], r[1]);
    const auto a2 = Ops::UnpackLo8(r[2], r[3]);
    const auto a3 = Ops::UnpackHi8(r[2], r[3]);
    q[0] = Ops::UnpackLo16(a0, a2);
    q[1] = Ops::UnpackHi16(a0, a2);
    q[2] = Ops::UnpackLo16(a1, a3);
    q[3] = Ops::UnpackHi16(a1, a3);
}

template <class Ops>
inline void GatherColumns(const typename Ops::V* q, int32_t c, typename Ops::V* out) {
    const auto lo01 = Ops::UnpackLo32(q[c], q[4 + c]);
    const auto hi01 = Ops::UnpackHi32(q[c], q[4 + c]);
    const auto lo23 = Ops::UnpackLo32(q[8 + c], q[12 + c]);
    const auto hi23 = Ops::UnpackHi32(q[8 + c], q[12 + c]);
    out[0] = Ops::UnpackLo64(lo01, lo23);
    out[1] = Ops::UnpackHi64(lo01, lo23);
    out[2] = Ops::UnpackLo64(hi01, hi23);
    out[3] = Ops::UnpackHi64(hi01, hi23);
}

// Where a block reads and writes, copied into the block's own frame: the
// byte stores of the block cannot change it, so nothing is read twice.
template <class Ops>
struct BlockAddress {
    uint8_t* base[Ops::Halves][BandLanes];
    ptrdiff_t offset[Ops::Halves];  // the block's first step, plus the shift
    int32_t lastLane[Ops::Halves];

    BlockAddress(const BandRows* const* rows, const int32_t* steps) {
        for (int32_t h = 0; h < Ops::Halves; ++h) {
            for (int32_t l = 0; l < BandLanes; ++l) base[h][l] = rows[h]->base[l];
            offset[h] = steps[h] + rows[h]->shift;
            lastLane[h] = rows[h]->lastLane;
        }
    }
};

// Sixteen steps. `steps` (the first of each half) only matters masked. The
// input block is interleaved up front; each group of four steps then takes its
// four input columns from it and hands its four results on to be interleaved,
// so that only a few columns are live at once. ahead[i][s] is the input column
// of the step after step s, for vector i.
template <class Ops, bool Masked>
inline void RunBlock(WaveState<Ops>& w, const BlockAddress<Ops>& at, const int32_t* steps, int32_t width,
                     const WaveConsts<Ops>& k) {
    using V = typename Ops::V;
    V quads[StackedVectors][16], outQuads[StackedVectors][16];
#pragma GCC unroll 16
    for (int32_t i = 0; i < StackedVectors; ++i) {
#pragma GCC unroll 16
        for (int32_t g = 0; g < 4; ++g) {
            V in[4];
#pragma GCC unroll 16
            for (int32_t j = 0; j < 4; ++j) {
                const int32_t lane = 16 * i + 4 * g + j;
                const uint8_t* p[Ops::Halves];
#pragma GCC unroll 16
                for (int32_t h = 0; h < Ops::Halves; ++h) p[h] = at.base[h][lane] + (at.offset[h] + 1 - lane);
                in[j] = Ops::LoadHalves(p);
            }
            InterleaveFour<Ops>(in, quads[i] + 4 * g);
        }
    }
    // Lane l is on a column 1..width-2 while step - (width - 2) <= l <= step - 1;
    // held per vector as a range of lane indices, clamped where that cannot
    // matter within 16 steps.
    V upper[StackedVectors], lower[StackedVectors];
    if constexpr (Masked) {
        for (int32_t i = 0; i < StackedVectors; ++i) {
            int8_t hi[Ops::Halves], lo[Ops::Halves];
            for (int32_t h = 0; h < Ops::Halves; ++h) {
                hi[h] = static_cast<int8_t>(std::clamp(steps[h] - 1 - 16 * i, -100, 100));
                lo[h] = static_cast<int8_t>(std::clamp(steps[h] - (width - 2) - 16 * i, -100, 100));
            }
            upper[i] = Ops::SetHalves(hi);
            lower[i] = Ops::SetHalves(lo);
        }
    }
    const V minusOne = Ops::Set1(0xFF);
#pragma GCC unroll 4
    for (int32_t c = 0; c < 4; ++c) {
        V ahead[StackedVectors][4], out[StackedVectors][4];
#pragma GCC unroll 2
        for (int32_t i = 0; i < StackedVectors; ++i) GatherColumns<Ops>(quads[i], c, ahead[i]);
#pragma GCC unroll 4
        for (int32_t s = 0; s < 4; ++s) {
            V next[StackedVectors];
#pragma GCC unroll 2
            for (int32_t i = 0; i < StackedVectors; ++i) {
                V up = Ops::Up1(w.prev[i]);
                if (i > 0) up = Ops::Or(up, Ops::Down15(w.prev[i - 1]));
                V right = ahead[i][s];
                V down = Ops::Down1(right);
                if (i + 1 < StackedVectors) down = Ops::Or(down, Ops::Up15(ahead[i + 1][s]));
                const V mean = FloorMean4<Ops>(up, w.prev[i], down, right, k.one);
                if constexpr (Masked) {
                    V pass = Ops::Or(Ops::CmpGt(k.laneIndex, upper[i]), Ops::CmpGt(lower[i], k.laneIndex));
                    if (i == 0) pass = Ops::Or(pass, k.laneZero);
                    next[i] = Ops::Or(Ops::AndNot(pass, Ops::SubSat(mean, k.fade)), Ops::And(pass, w.carry[i]));
                    upper[i] = Ops::Sub(upper[i], minusOne);
                    lower[i] = Ops::Sub(lower[i], minusOne);
                } else if (i == 0) {
                    // Lane 0 subtracts 255 and comes out 0; the finished row is or-ed in.
                    next[i] = Ops::Or(Ops::SubSat(mean, k.fadeTop), Ops::And(w.carry[i], k.laneZero));
                } else {
                    next[i] = Ops::SubSat(mean, k.fade);
                }
            }
#pragma GCC unroll 2
            for (int32_t i = 0; i < StackedVectors; ++i) {
                w.prev[i] = next[i];
                w.carry[i] = ahead[i][s];
                out[i][s] = next[i];
            }
        }
#pragma GCC unroll 2
        for (int32_t i = 0; i < StackedVectors; ++i) InterleaveFour<Ops>(out[i], outQuads[i] + 4 * c);
    }
#pragma GCC unroll 2
    for (int32_t i = 0; i < StackedVectors; ++i) {
#pragma GCC unroll 4
        for (int32_t c = 0; c < 4; ++c) {
            V lanes[4];
            GatherColumns<Ops>(outQuads[i], c, lanes);
#pragma GCC unroll 4
            for (int32_t j = 0; j < 4; ++j) {
                const int32_t lane = 16 * i + 4 * c + j;
#pragma GCC unroll 2
                for (int32_t h = 0; h < Ops::Halves; ++h) {
                    if (lane < 1 || lane > at.lastLane[h]) continue;
                    Ops::StoreHalf(at.base[h][lane] + (at.offset[h] - lane), lanes[j], h);
                }
            }
        }
    }
}

// `blocks` times sixteen steps from steps[h] on. Unmasked, every lane 1..30
// of every half is on a column 1..width-2 throughout; masked (one block at a
// time), a lane off that range passes its input through.
template <class Ops, bool Masked>
__attribute__((noinline)) void RunBlocks(WaveState<Ops>& w, const BandRows* const* rows, const int32_t* steps,
                                         int32_t width, const WaveConsts<Ops>& k, int32_t blocks) {
    BlockAddress<Ops> at(rows, steps);
    for (int32_t block = 0; block < blocks; ++block) {
        RunBlock<Ops, Masked>(w, at, steps, width, k);
        for (int32_t h = 0; h < Ops::Halves; ++h) at.offset[h] += 16;
    }
}

// One band as a half of the wavefront: where its blocks read from, by step.
struct BandHalf {
    const DiffusionBand* band = nullptr;  // null: the half has nothing to do
    int32_t lag = 0;
    int32_t width = 0;
    int32_t tailBegin = 0;
    int32_t tailEnd = 0;
    BandRows rows;
    alignas(32) uint8_t copy[BandLanes][EndStride];
    int32_t copyFirst = 0;            // column at copy index 0
    const uint8_t* source = nullptr;  // what rows.base points into

    void Start(const DiffusionBand* b, int32_t w, int32_t lagSteps) {
        band = b;
        source = nullptr;
        width = w;
        lag = lagSteps;
        // The body runs while a block reads no further than column width - 1.
        tailBegin = width - 1 < 48 ? 32 : 32 + 16 * ((width - 49) / 16 + 1);
        tailEnd = tailBegin + 16 * ((std::max(0, width - 2 + BandOutRows + 1 - tailBegin) + 15) / 16);
    }
    int32_t End() const { return band ? lag + tailEnd : 0; }
    bool Body(int32_t step) const { return band && step >= 32 && step < tailBegin; }
    bool Copied(int32_t step) const {
        return band && ((step >= 0 && step < 32) || (step >= tailBegin && step < tailEnd));
    }

    // Makes `rows` the source of the block at `step`.
    void Prepare(int32_t step) {
        if (Body(step)) {
            if (source != band->rows[0]) {
                source = band->rows[0];
                for (int32_t l = 0; l < BandLanes; ++l) rows.base[l] = band->rows[l];
            }
            rows.shift = 0;
            rows.lastLane = band->outRows;
            return;
        }
        if (Copied(step)) {
            if (step == 0 || step == tailBegin) CopyIn(step - EndPad);
            rows.shift = -copyFirst;
        } else {
            // Nothing of this band is due: any columns of the copy will do.
            rows.shift = EndPad - step;
        }
        if (source != copy[0]) {
            source = copy[0];
            for (int32_t l = 0; l < BandLanes; ++l) rows.base[l] = copy[l];
        }
        rows.lastLane = BandLanes - 1;
    }

    void CopyIn(int32_t first) {
        copyFirst = first;
        const int32_t from = std::max(first, 0);
        const int32_t to = std::min(first + EndStride, width);
        for (int32_t l = 0; l < BandLanes; ++l) {
            uint8_t* row = copy[l];
            if (from >= to) {
                std::fill(row, row + EndStride, uint8_t{0});
                continue;
            }
            std::fill(row, row + (from - first), uint8_t{0});
            std::copy(band->rows[l] + from, band->rows[l] + to, row + (from - first));
            std::fill(row + (to - first), row + EndStride, uint8_t{0});
        }
    }

    // Writes back what the block at `step` computed on the copy.
    void Finish(int32_t step) {
        if (!Copied(step)) return;
        for (int32_t l = 1; l <= band->outRows; ++l) {
            const int32_t from = std::max(1, step - l);
            const int32_t to = std::min(width - 2, step + 15 - l);
            const uint8_t* src = copy[l] + (from - copyFirst);
            uint8_t* dst = band->rows[l] + from;
            for (int32_t n = 0; n <= to - from; ++n) dst[n] = src[n];
        }
    }
};

// Up to Ops::Halves bands, the second BandLag steps behind the first.
template <class Ops>
void RunBands(BandHalf (&halves)[Ops::Halves], const WaveConsts<Ops>& k, int32_t width) {
    WaveState<Ops> w;
    for (int32_t i = 0; i < StackedVectors; ++i) w.prev[i] = w.carry[i] = Ops::Zero();
    int32_t end = 0;
    for (const BandHalf& h : halves) end = std::max(end, h.End());
    const BandRows* rows[Ops::Halves];
    for (int32_t h = 0; h < Ops::Halves; ++h) rows[h] = &halves[h].rows;
    int32_t steps[Ops::Halves];
    for (int32_t global = 0; global < end;) {
        bool body = true;
        for (int32_t h = 0; h < Ops::Halves; ++h) {
            steps[h] = global - halves[h].lag;
            halves[h].Prepare(steps[h]);
            body = body && halves[h].Body(steps[h]);
        }
        if (body) {
            // Every half reads its rows in place until the first one reaches its tail.
            int32_t blocks = INT32_MAX;
            for (int32_t h = 0; h < Ops::Halves; ++h) blocks = std::min(blocks, (halves[h].tailBegin - steps[h]) / 16);
            RunBlocks<Ops, false>(w, rows, steps, width, k, blocks);
            global += 16 * blocks;
            continue;
        }
        RunBlocks<Ops, true>(w, rows, steps, width, k, 1);
        for (int32_t h = 0; h < Ops::Halves; ++h) halves[h].Finish(steps[h]);
        global += 16;
    }
}

template <class Ops>
void DiffusionT(IndexedPixels px, int32_t fade) {
    WaveConsts<Ops> k;
    k.one = Ops::Set1(1);
    int8_t zeroLane[16] = {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    int8_t index[16];
    for (int8_t j = 0; j < 16; ++j) index[j] = j;
    k.laneZero = Ops::Broadcast16(zeroLane);
    k.laneIndex = Ops::Broadcast16(index);
    k.fade = Ops::Set1(static_cast<uint8_t>(fade));
    k.fadeTop = Ops::Or(k.fade, k.laneZero);

    const size_t stride = static_cast<size_t>(px.stride);
    const int32_t bandCount = (px.height - 2 + BandOutRows - 1) / BandOutRows;
    DiffusionBand bands[Ops::Halves];
    BandHalf halves[Ops::Halves];
    for (int32_t first = 0; first < bandCount; first += Ops::Halves) {
        for (int32_t h = 0; h < Ops::Halves; ++h) {
            const int32_t index = first + h;
            if (index >= bandCount) {
                halves[h].band = nullptr;
                continue;
            }
            const int32_t top = 1 + BandOutRows * index;
            DiffusionBand& band = bands[h];
            band.outRows = std::min(BandOutRows, px.height - 1 - top);
            for (int32_t l = 0; l < BandLanes; ++l) {
                const int32_t y = std::min(top - 1 + l, top + band.outRows);
                band.rows[l] = px.bits + static_cast<size_t>(y) * stride;
            }
            halves[h].Start(&band, px.width, BandLag * h);
        }
        RunBands<Ops>(halves, k, px.width);
    }
}

}  // namespace
}  // namespace quorvex
