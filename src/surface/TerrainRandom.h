#pragma once
// A private random state word stepped by the program's recurrence.  Noise
// generators and terrains each keep one, so generating several planets at once
// never mixes their draws.  All arithmetic is unsigned 32-bit.
#include "base/SharedRandom.h"

#include <cstdint>

namespace kalvion {

struct TRandomState {
    std::uint32_t State = 0;

    // Steps the state and returns 0 … n-1 (0 for n = 0).
    std::uint32_t Random(std::uint32_t n) noexcept
    {
        State = State * RANDOM_MULTIPLIER + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(State) * n) >> 32);
    }
};

} // namespace kalvion
