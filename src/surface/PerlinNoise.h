#pragma once
// Seeded gradient-lattice noise with cosine-smoothed interpolation.  The tables,
// draws and arithmetic order decide what every planet looks like for a seed, so
// they must not change.
#include "surface/TerrainRandom.h"

#include <array>
#include <cstdint>

namespace kalvion {

class TPerlinNoiseGenerator {
public:
    static constexpr int TABLE_SIZE = 514;  // 256 entries, copied to 256 + i for i = 0 … 257
    static constexpr int MAX_OCTAVES = 101; // room of the weight table

    explicit TPerlinNoiseGenerator(std::int32_t seed);

    std::int32_t Seed() const noexcept { return Seed_; }

    double Persistence() const noexcept { return Persistence_; }
    void SetPersistence(double p) noexcept;
    double BaseFrequency() const noexcept { return BaseFrequency_; }
    void SetBaseFrequency(double f) noexcept { BaseFrequency_ = f; }
    int Octaves() const noexcept { return Octaves_; }
    // Clamped to 0 … MAX_OCTAVES so the weight table is never overrun.
    void SetOctaves(int n) noexcept;

    // Roughly in [-1, 1]; 0 at every lattice point.
    double Noise3(double x, double y, double z) const noexcept;
    // Sum over the octaves of Noise3(point * f) * persistence^k, f starting at
    // the base frequency and doubling each octave.
    double FractalNoise(double x, double y, double z) noexcept;

    // Tables, exposed read-only for checks.
    int Perm(int i) const noexcept { return P_[i]; }
    double Gradient1(int i) const noexcept { return G1_[i]; }
    const std::array<double, 2> &Gradient2(int i) const noexcept { return G2_[i]; }
    const std::array<double, 3> &Gradient3(int i) const noexcept { return G3_[i]; }
    double CosineTable(int i) const noexcept { return Cosine_[i]; }
    // The interpolation step: clamp t to [0, 1], weight from the cosine table.
    double Interpolate(double t, double a, double b) const noexcept;

private:
    void BuildTables() noexcept;
    void ComputeWeights() noexcept;
    // The cosine weight Interpolate blends with at t.
    double Weight(double t) const noexcept;

    std::int32_t Seed_;
    TRandomState Random_;
    double Persistence_ = 0.75;
    double BaseFrequency_ = 1.0;
    int Octaves_ = 8;
    bool WeightsValid_ = false;
    std::array<double, 101> Cosine_{};
    std::array<double, MAX_OCTAVES> Weights_{};
    std::array<int, TABLE_SIZE> P_{};
    std::array<double, TABLE_SIZE> G1_{};
    std::array<std::array<double, 2>, TABLE_SIZE> G2_{};
    std::array<std::array<double, 3>, TABLE_SIZE> G3_{};
};

} // namespace kalvion
