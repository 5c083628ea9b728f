// The trace passes that turn the points of earlier frames into fading
// trails. Each works in place, top row first and left to right within a row;
// Diffusion depends on that order (above and left already hold new values).
#include "frame.h"

namespace quorvex {

namespace {

inline uint8_t Clamp0(int32_t v) { return static_cast<uint8_t>(v < 0 ? 0 : v); }

inline uint8_t* Row(const IndexedPixels& px, int32_t y) {
    return px.bits + static_cast<size_t>(y) * static_cast<size_t>(px.stride);
}

bool Usable(const IndexedPixels& px) {
    return px.bits != nullptr && px.width > 0 && px.height > 0 && px.stride >= px.width;
}

}  // namespace

TraceEffect EffectFor(int32_t traceModeInd) {
    // The caller has reduced the value already; reducing again keeps a value
    // that was not reduced inside the table instead of reading past it.
    const int32_t k = traceModeInd % 3;
    if (k < 0) return TraceEffect::Fire;
    switch (TraceModeTable[k]) {
        case 0:
            return TraceEffect::Simple;
        case 1:
            return TraceEffect::Diffusion;
        default:
            return TraceEffect::Fire;
    }
}

int32_t EffectiveTraceLength(int32_t traceLength) {
    // A hand-edited value outside the slider's range would let a pixel pass
    // 255 and wrap; it counts as the nearest length the slider offers.
    if (traceLength < 0) return 0;
    if (traceLength > 3) return 3;
    return traceLength;
}

void SimplePass(IndexedPixels px, int32_t traceLength) {
    if (!Usable(px)) return;
    const int32_t step = 6 * (4 - EffectiveTraceLength(traceLength));
    for (int32_t y = 0; y < px.height; ++y) {
        uint8_t* row = Row(px, y);
        for (int32_t x = 0; x < px.width; ++x) row[x] = Clamp0(row[x] - step);
    }
}

void DiffusionPass(IndexedPixels px, int32_t traceLength) {
    if (!Usable(px)) return;
    const int32_t fade = 3 - EffectiveTraceLength(traceLength);
    for (int32_t y = 1; y <= px.height - 2; ++y) {
        const uint8_t* above = Row(px, y - 1);
        uint8_t* row = Row(px, y);
        const uint8_t* below = Row(px, y + 1);
        for (int32_t x = 1; x <= px.width - 2; ++x) {
            const int32_t sum = above[x] + below[x] + row[x - 1] + row[x + 1];
            row[x] = Clamp0((sum >> 2) - fade);
        }
    }
}

void FirePass(IndexedPixels px, int32_t traceLength) {
    if (!Usable(px)) return;
    const int32_t fade = 3 - EffectiveTraceLength(traceLength);
    for (int32_t y = 0; y <= px.height - 3; ++y) {
        uint8_t* row = Row(px, y);
        const uint8_t* below = Row(px, y + 1);
        const uint8_t* below2 = Row(px, y + 2);
        for (int32_t x = 1; x <= px.width - 2; ++x) {
            const int32_t sum = below[x - 1] + below[x] + below[x + 1] + below2[x];
            row[x] = Clamp0((sum >> 2) - fade);
        }
    }
}

void TracePass(const SaverSettings& s, IndexedPixels px) {
    switch (EffectFor(s.TraceModeInd)) {
        // The vectorised passes give the same bytes as the plain ones above.
        case TraceEffect::Simple:
            SimplePassFast(px, s.TraceLength);
            break;
        case TraceEffect::Diffusion:
            DiffusionPassFast(px, s.TraceLength);
            break;
        case TraceEffect::Fire:
            FirePassFast(px, s.TraceLength);
            break;
    }
}

}  // namespace quorvex
