#pragma once
// Seeded 3D simplex noise.  Lattice cells are found with truncation (not
// floor) and the hash table's second copy starts at 255: both shape every
// generated planet and must stay as they are.
#include "surface/TerrainRandom.h"

#include <array>
#include <cstdint>

namespace kalvion {

class TSimplexNoiseGenerator {
public:
    static constexpr int PERM_SIZE = 511;
    // Past a few dozen octaves the frequency no longer changes what a double
    // can resolve; the weight table stops there.
    static constexpr int MAX_OCTAVES = 101;

    TSimplexNoiseGenerator() = default;

    std::int32_t Seed() const noexcept { return Seed_; }
    void SetSeed(std::int32_t seed) noexcept { Seed_ = seed; }
    double BaseFrequency() const noexcept { return BaseFrequency_; }
    void SetBaseFrequency(double f) noexcept { BaseFrequency_ = f; }
    int Octaves() const noexcept { return Octaves_; }
    // A new octave count (clamped to 0 … MAX_OCTAVES) rebuilds the weights on next use.
    void SetOctaves(int n) noexcept;
    double Persistence() const noexcept { return Persistence_; }
    void SetPersistence(double p) noexcept;

    // Resets the random state to the seed and fills the gradients and the hash table.
    void Initialize() noexcept;

    // Roughly in [-1, 1].  Points whose lattice cell does not fit in 32 bits
    // (or are not finite) give 0.
    double Noise3(double x, double y, double z) const noexcept;
    double FractalNoise(double x, double y, double z) noexcept;

    int Perm(int i) const noexcept { return Perm_[i]; }
    const std::array<int, 3> &Gradient(int i) const noexcept { return Grad3_[i]; }

private:
    void ComputeWeights() noexcept;

    std::int32_t Seed_ = 0;
    TRandomState Random_;
    double BaseFrequency_ = 1.0 / 128.0;
    int Octaves_ = 8;
    double Persistence_ = 0.7;
    std::array<std::array<int, 3>, 12> Grad3_{};
    std::array<int, PERM_SIZE> Perm_{};
    // perm[i] mod 12 and the gradients as doubles: the same numbers, fewer
    // operations per sample.
    std::array<std::uint8_t, PERM_SIZE> PermMod12_{};
    std::array<std::array<double, 3>, 12> GradD_{};
    std::array<double, MAX_OCTAVES> Weights_{};
    bool WeightsValid_ = false;
};

} // namespace kalvion
