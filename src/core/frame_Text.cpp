// Pacing of the repaint requests and the two overlay texts.
#include <cstdio>
#include <cstring>

#include "XMath.h"
#include "frame.h"
#include "settings.h"

namespace quorvex {

uint32_t RepaintWait(uint32_t period, uint32_t elapsed) {
    uint32_t wait = elapsed < period ? period - elapsed : 0u;
    return wait < 3u ? 3u : wait;
}

size_t FpsText(int32_t frameCount, uint32_t elapsedMs, const char* suffix, char* out, size_t outSize) {
    if (outSize == 0) return 0;
    out[0] = '\0';
    if (elapsedMs == 0) return 0;
    Extended fps = static_cast<Extended>(frameCount) / static_cast<Extended>(elapsedMs) * 1000.0L;
    // A frame count of 2^31 in one millisecond cannot happen on a real clock;
    // keep the conversion defined anyway.
    if (fps > 2147483647.0L) fps = 2147483647.0L;
    if (fps < -2147483648.0L) fps = -2147483648.0L;
    char digits[16];
    size_t n = IntToDecimal(RoundHalfEven(fps), digits);
    size_t suffixLength = std::strlen(suffix);
    if (n + suffixLength + 1 > outSize) return 0;
    std::memcpy(out, digits, n);
    std::memcpy(out + n, suffix, suffixLength);
    out[n + suffixLength] = '\0';
    return n + suffixLength;
}

size_t ClockText(const TimeOfDay& t, const TimeFormat& f, char* out, size_t outSize) {
    int hour = t.hour;
    const char* designator = nullptr;
    if (f.twelveHour) {
        designator = hour < 12 ? f.am : f.pm;
        hour %= 12;
        if (hour == 0) hour = 12;
    }
    char hm[32];
    std::snprintf(hm, sizeof hm, f.leadingZero ? "%02d%c%02d%c%02d" : "%d%c%02d%c%02d", hour, f.separator, t.minute,
                  f.separator, t.second);
    int n;
    if (designator == nullptr || designator[0] == '\0') {
        n = std::snprintf(out, outSize, "%s", hm);
    } else if (f.designatorFirst) {
        n = std::snprintf(out, outSize, "%s %s", designator, hm);
    } else {
        n = std::snprintf(out, outSize, "%s %s", hm, designator);
    }
    if (n < 0) return 0;
    return static_cast<size_t>(n) < outSize ? static_cast<size_t>(n) : outSize - 1;
}

}  // namespace quorvex
