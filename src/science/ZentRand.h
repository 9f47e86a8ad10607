#pragma once
// The random state that is not the shared seed: generator objects that own
// their seed (TZentRandom), and bare seed variables owned by the star-system
// generator and the sector-generation thread.  Both use the seed float
// (RandomSeedFloatFromSeed), never the shared float.
//
// Who draws from which state:
//   NRandom, WMin ........................ the star-system generator's seed variable
//   WMinRange, dice, RandomAlphaString ... the shared generator
//   star positions in multiple systems ... a TZentRandom made from the generator's seed
//   sector-generation thread ............. its own seed variable
#include "base/SharedRandom.h"

#include <cstdint>
#include <string>

namespace kalvion {

// The millisecond tick count that seeds generators created without a seed.
std::int32_t RandomTickCount() noexcept;

// Seed variables: step the variable in place and draw from it.
std::int32_t SeedRandomInt(std::uint32_t &seed, std::int32_t n) noexcept;
double SeedRandomFloat(std::uint32_t &seed) noexcept;

// A small generator that owns its seed.
class TZentRandom {
public:
    // Seed 0 takes the millisecond tick count instead.
    explicit TZentRandom(std::int32_t seed = 0) noexcept;

    // 0 … n-1 (0 for a bound of 0 or less).
    std::int32_t NextInt(std::int32_t n) noexcept;
    // Seed float times scale, in [0, scale).
    double NextFloat(double scale) noexcept;
    // lo + NextFloat(hi - lo), in [lo, hi).
    double NextRange(double lo, double hi) noexcept;

    std::int32_t Seed() const noexcept { return FSeed; }
    void SetSeed(std::int32_t seed) noexcept { FSeed = seed; }

private:
    std::int32_t FSeed;
};

// The low-biased draws of the star-system generator.  NRandom and WMin step
// the generator's seed variable; WMinRange draws from the shared generator.
std::int32_t NRandom(std::uint32_t &seed, std::int32_t n) noexcept;
// Smallest of count draws of NRandom(n); at least one draw is made.
std::int32_t WMin(std::uint32_t &seed, std::int32_t n, std::int32_t count) noexcept;
// lo + (hi - lo) * the smallest of count + 1 shared floats (one when count <= 0).
double WMinRange(double lo, double hi, std::int32_t count) noexcept;

// A random text of letters and digits, each by SharedRandomInt(62).
std::string RandomAlphaString(std::int32_t length);

} // namespace kalvion
