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

namespace {

// step * (longest - length). From `longest` up it is 0: a longer length
// would make it negative, add to every pixel and wrap bytes past 255. Held at
// 255, which already blanks every byte, so very negative lengths cannot
// overflow it. Every other hand-edited length keeps the plain result.
int32_t Fade(int32_t traceLength, int32_t longest, int32_t step) {
    if (traceLength >= longest) return 0;
    const int64_t fade = static_cast<int64_t>(step) * (static_cast<int64_t>(longest) - traceLength);
    return fade > 255 ? 255 : static_cast<int32_t>(fade);
}

}  // namespace

int32_t SimpleFade(int32_t traceLength) { return Fade(traceLength, 4, 6); }
int32_t AverageFade(int32_t traceLength) { return Fade(traceLength, 3, 1); }

void SimplePass(IndexedPixels px, int32_t traceLength) {
    if (!Usable(px)) return;
    const int32_t step = SimpleFade(traceLength);
    for (int32_t y = 0; y < px.height; ++y) {
        uint8_t* row = Row(px, y);
        for (int32_t x = 0; x < px.width; ++x) row[x] = Clamp0(row[x] - step);
    }
}

void DiffusionPass(IndexedPixels px, int32_t traceLength) {
    if (!Usable(px)) return;
    const int32_t fade = AverageFade(traceLength);
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
    const int32_t fade = AverageFade(traceLength);
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
