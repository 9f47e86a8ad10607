#pragma once
// The program's one random recurrence and its process-wide shared state.
//
// Every draw advances a 32-bit seed by seed <- seed * 134775813 + 1 (mod 2^32).
// The seed is held as a signed 32-bit integer and read as unsigned in a draw.
// The shared seed is updated with compare-and-swap so the sector generator's
// worker and the main thread can draw from it at once without losing steps.
#include <cstdint>

namespace kalvion {

inline constexpr std::uint32_t RANDOM_MULTIPLIER = 134775813u;

// One step of the recurrence.
constexpr std::int32_t NextRandomSeed(std::int32_t seed) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(seed) * RANDOM_MULTIPLIER + 1u);
}
// The integer draw for a seed already stepped: high 32 bits of seed * n.
// A bound of 0 or less gives 0 (the seed has still been stepped by the caller),
// so a careless bound never yields a negative "random" index.
constexpr std::int32_t RandomIntFromSeed(std::int32_t steppedSeed, std::int32_t n) noexcept
{
    if (n <= 0)
        return 0;
    const std::int64_t prod =
        static_cast<std::int64_t>(static_cast<std::uint32_t>(steppedSeed)) * static_cast<std::int64_t>(n);
    return static_cast<std::int32_t>(prod >> 32);
}
// The float draw for a seed already stepped: seed * 2^-32, in [0, 1).
constexpr double RandomFloatFromSeed(std::int32_t steppedSeed) noexcept
{
    return static_cast<double>(static_cast<std::uint32_t>(steppedSeed)) * (1.0 / 4294967296.0);
}

// The seed float for a seed already stepped: hi32(seed * 2147483647) /
// 2147483647, in [0, 1).  Generator objects and seed variables use this form;
// it agrees with the shared float to about ten decimals only, so the two are
// never interchangeable.
constexpr double RandomSeedFloatFromSeed(std::int32_t steppedSeed) noexcept
{
    const std::uint64_t prod = static_cast<std::uint64_t>(static_cast<std::uint32_t>(steppedSeed)) * 2147483647u;
    return static_cast<double>(static_cast<std::uint32_t>(prod >> 32)) / 2147483647.0;
}

// The current shared seed.
std::int32_t SharedRandomSeed() noexcept;
// Sets the shared seed (tests, "kalvion-cli --seed").
void SetSharedRandomSeed(std::int32_t seed) noexcept;
// Seeds from the low 32 bits of the high-resolution clock, as at start-up.
void RandomizeSharedSeed() noexcept;
// Steps the shared seed and returns 0 … n-1 (0 for a bound of 0 or less).
std::int32_t SharedRandomInt(std::int32_t n) noexcept;
// Steps the shared seed and returns a value in [0, 1).
double SharedRandomFloat() noexcept;
// Steps the shared seed and returns the new seed value.
std::int32_t SharedRandomStep() noexcept;

} // namespace kalvion
