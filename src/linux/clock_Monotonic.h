// The monotonic clock every back end paces and times its frames with.
#pragma once

#include <time.h>

#include <cstdint>

#include "RDrawUn.h"

namespace quorvex::linux_host {

// The monotonic clock in microseconds, and in milliseconds wrapping at 2^32
// like a tick count (the millisecond clock is the microsecond one divided).
inline uint64_t MonotonicUs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}
inline uint32_t MonotonicMs() { return static_cast<uint32_t>(MonotonicUs() / 1000u); }

class MonotonicTicks final : public TickSource {
public:
    uint32_t Now() override { return MonotonicMs(); }
};

}  // namespace quorvex::linux_host
