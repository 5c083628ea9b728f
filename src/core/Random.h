// The program's one random generator: a 32-bit linear congruential
// generator shared by the shape sequencer, the point shuffle and the spin
// redraws, so that a seed reproduces a whole run.
#pragma once

#include <cstdint>

#include "Extended.h"

namespace quorvex {

struct RandomGenerator {
    uint32_t RandomSeed = 0;
};

// Advances the state: seed := seed * 134775813 + 1 (mod 2^32).
inline void RandomStep(RandomGenerator& rng) { rng.RandomSeed = rng.RandomSeed * 134775813u + 1u; }

// Integer 0..n-1: high 32 bits of the 64-bit product of the new seed and n.
inline uint32_t RandomInt(RandomGenerator& rng, uint32_t n) {
    RandomStep(rng);
    return static_cast<uint32_t>((static_cast<uint64_t>(rng.RandomSeed) * n) >> 32);
}

// Real in [0, 1): the new seed / 2^32, exact in the extended format.
inline Extended RandomReal(RandomGenerator& rng) {
    RandomStep(rng);
    return static_cast<Extended>(rng.RandomSeed) / 4294967296.0L;
}

}  // namespace quorvex
