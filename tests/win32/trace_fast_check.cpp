// The vectorised trace passes of the 32-bit build against its plain ones, on
// every instruction set the machine offers (run under Wine by
// tests/e2e/trace_fast_test.sh). Prints one line per failing case and a
// closing "N passed, M failed"; exits 1 on any failure.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "frame.h"
#include "frame_TraceFast.h"

namespace {

using quorvex::IndexedPixels;
using PassFn = void (*)(IndexedPixels, int32_t);

struct PassPair {
    const char* name;
    PassFn plain;
    PassFn fast;
};

uint32_t Next(uint32_t& s) {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
}

// Same picture for both passes; padding bytes hold 0xA5 and must keep it.
bool Same(const PassPair& pass, int32_t w, int32_t h, int32_t stride, int32_t length, uint32_t& seed) {
    std::vector<uint8_t> plain(static_cast<size_t>(stride) * (h - 1) + w, 0xA5);
    const uint32_t kind = Next(seed) % 3;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t r = Next(seed);
            uint32_t v = r;  // any value, near black or near white
            if (kind == 1) v = r % 6;
            if (kind == 2) v = 250 + r % 6;
            plain[static_cast<size_t>(y) * stride + x] = static_cast<uint8_t>(v);
        }
    }
    std::vector<uint8_t> fast = plain;
    pass.plain(IndexedPixels{plain.data(), w, h, stride}, length);
    pass.fast(IndexedPixels{fast.data(), w, h, stride}, length);
    if (plain == fast) return true;
    std::printf("FAIL %s %dx%d stride %d TraceLength %d\n", pass.name, w, h, stride, length);
    return false;
}

}  // namespace

int main() {
    using namespace quorvex;
    const PassPair passes[] = {
        {"Simple", SimplePass, SimplePassFast},
        {"Diffusion", DiffusionPass, DiffusionPassFast},
        {"Fire", FirePass, FirePassFast},
    };
    int passed = 0, failed = 0;
    std::vector<TraceVectorPath> paths = {TraceVectorPath::Sse2};
    if (Avx2Usable()) paths.push_back(TraceVectorPath::Avx2);
    std::printf("AVX2 %s\n", Avx2Usable() ? "usable" : "not usable");
    for (const TraceVectorPath path : paths) {
        SetTraceVectorPath(path);
        uint32_t seed = 2463534242u;
        for (const PassPair& pass : passes) {
            for (int32_t w = 1; w <= 70; ++w) {
                for (const int32_t h : {1, 2, 3, 5, 33}) {
                    const int32_t stride = w + static_cast<int32_t>(Next(seed) % 5);
                    (Same(pass, w, h, stride, static_cast<int32_t>(Next(seed) % 6) - 1, seed) ? passed : failed)++;
                }
            }
            for (int i = 0; i < 60; ++i) {
                const int32_t w = 1 + static_cast<int32_t>(Next(seed) % 400);
                const int32_t h = 1 + static_cast<int32_t>(Next(seed) % 150);
                (Same(pass, w, h, w + static_cast<int32_t>(Next(seed) % 4), static_cast<int32_t>(Next(seed) % 4), seed)
                     ? passed
                     : failed)++;
            }
            (Same(pass, 1366, 128, 1368, 1, seed) ? passed : failed)++;
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
