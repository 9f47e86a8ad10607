#include "science/ZentRand.h"

#include <chrono>

namespace kalvion {

std::int32_t RandomTickCount() noexcept
{
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms.count()));
}

std::int32_t SeedRandomInt(std::uint32_t &seed, std::int32_t n) noexcept
{
    const std::int32_t next = NextRandomSeed(static_cast<std::int32_t>(seed));
    seed = static_cast<std::uint32_t>(next);
    return RandomIntFromSeed(next, n);
}

double SeedRandomFloat(std::uint32_t &seed) noexcept
{
    const std::int32_t next = NextRandomSeed(static_cast<std::int32_t>(seed));
    seed = static_cast<std::uint32_t>(next);
    return RandomSeedFloatFromSeed(next);
}

TZentRandom::TZentRandom(std::int32_t seed) noexcept : FSeed(seed != 0 ? seed : RandomTickCount()) {}

std::int32_t TZentRandom::NextInt(std::int32_t n) noexcept
{
    FSeed = NextRandomSeed(FSeed);
    return RandomIntFromSeed(FSeed, n);
}

double TZentRandom::NextFloat(double scale) noexcept
{
    FSeed = NextRandomSeed(FSeed);
    return RandomSeedFloatFromSeed(FSeed) * scale;
}

double TZentRandom::NextRange(double lo, double hi) noexcept { return lo + NextFloat(hi - lo); }

std::int32_t NRandom(std::uint32_t &seed, std::int32_t n) noexcept { return SeedRandomInt(seed, n); }

std::int32_t WMin(std::uint32_t &seed, std::int32_t n, std::int32_t count) noexcept
{
    std::int32_t best = NRandom(seed, n);
    for (std::int32_t i = 1; i < count; ++i) {
        const std::int32_t r = NRandom(seed, n);
        if (r < best)
            best = r;
    }
    return best;
}

double WMinRange(double lo, double hi, std::int32_t count) noexcept
{
    double m = SharedRandomFloat();
    for (std::int32_t i = 0; i < count; ++i) {
        const double r = SharedRandomFloat();
        if (r < m)
            m = r;
    }
    return lo + (hi - lo) * m;
}

std::string RandomAlphaString(std::int32_t length)
{
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string s;
    if (length <= 0)
        return s;
    s.reserve(static_cast<std::size_t>(length));
    for (std::int32_t i = 0; i < length; ++i)
        s.push_back(kChars[SharedRandomInt(62)]);
    return s;
}

} // namespace kalvion
