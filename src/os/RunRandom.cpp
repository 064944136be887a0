#include "os/RunRandom.h"

#include <bit>
#include <cstdint>

namespace drilbank {

void RunRandom::seed(float seed) {
    generator_.seed(std::bit_cast<std::uint32_t>(seed));
}

float RunRandom::next() {
    // 24 random bits fill a float's mantissa exactly, so every draw is a multiple of 2^-24
    // below 1 and no rounding can ever reach 1.0.
    const std::uint32_t bits = generator_() >> 8;
    return static_cast<float>(bits) * (1.0f / 16777216.0f);
}

} // namespace drilbank
