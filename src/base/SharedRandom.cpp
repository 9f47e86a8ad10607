#include "base/SharedRandom.h"

#include <atomic>
#include <chrono>

namespace kalvion {

namespace {

std::int32_t InitialSeed() noexcept
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ticks));
}

std::atomic<std::int32_t> &Seed() noexcept
{
    static std::atomic<std::int32_t> seed{InitialSeed()};
    return seed;
}

} // namespace

std::int32_t SharedRandomSeed() noexcept { return Seed().load(std::memory_order_relaxed); }

void SetSharedRandomSeed(std::int32_t seed) noexcept { Seed().store(seed, std::memory_order_relaxed); }

void RandomizeSharedSeed() noexcept { SetSharedRandomSeed(InitialSeed()); }

std::int32_t SharedRandomStep() noexcept
{
    auto &s = Seed();
    std::int32_t cur = s.load(std::memory_order_relaxed);
    std::int32_t next = NextRandomSeed(cur);
    while (!s.compare_exchange_weak(cur, next, std::memory_order_relaxed))
        next = NextRandomSeed(cur);
    return next;
}

std::int32_t SharedRandomInt(std::int32_t n) noexcept { return RandomIntFromSeed(SharedRandomStep(), n); }

double SharedRandomFloat() noexcept { return RandomFloatFromSeed(SharedRandomStep()); }

} // namespace kalvion
