#include "surface/PerlinNoise.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace kalvion {

namespace {

// Lattice coordinates beyond this are not meaningful and would not fit the
// integer conversion; such points read the cell at 0.
constexpr double MAX_LATTICE = 1e15;

struct LatticeAxis {
    int b0, b1;
    double r0, r1;
};

inline LatticeAxis Axis(double c) noexcept
{
    const double t = c + 4096.0;
    const double whole = std::trunc(t);
    const std::int64_t ti = (whole < MAX_LATTICE && whole > -MAX_LATTICE) ? static_cast<std::int64_t>(whole) : 0;
    LatticeAxis a;
    a.b0 = static_cast<int>(ti & 255);
    a.b1 = (a.b0 + 1) & 255;
    a.r0 = t - whole;
    a.r1 = a.r0 - 1.0;
    return a;
}

inline double SCurve(double t) noexcept { return t * t * (3.0 - 2.0 * t); }

inline double At(const std::array<double, 3> &q, double rx, double ry, double rz) noexcept
{
    return rx * q[0] + ry * q[1] + rz * q[2];
}

// One gradient component: ((random(100000) mod 512) - 256) / 256.
inline double GradientDraw(TRandomState &r) noexcept
{
    return (static_cast<double>(static_cast<int>(r.Random(100000) % 512u)) - 256.0) / 256.0;
}

} // namespace

TPerlinNoiseGenerator::TPerlinNoiseGenerator(std::int32_t seed) : Seed_(seed)
{
    BuildTables();
}

void TPerlinNoiseGenerator::SetPersistence(double p) noexcept
{
    Persistence_ = p;
    WeightsValid_ = false;
}

void TPerlinNoiseGenerator::SetOctaves(int n) noexcept
{
    Octaves_ = n < 0 ? 0 : (n > MAX_OCTAVES ? MAX_OCTAVES : n);
    WeightsValid_ = false;
}

void TPerlinNoiseGenerator::BuildTables() noexcept
{
    Random_.State = static_cast<std::uint32_t>(Seed_);
    // Every entry takes six draws in this order, although only the 3D gradients
    // are read afterwards: the later draws depend on them.
    for (int i = 0; i < 256; ++i) {
        P_[i] = i;
        G1_[i] = GradientDraw(Random_);
        for (double &g : G2_[i])
            g = GradientDraw(Random_);
        const double len2 = std::sqrt(G2_[i][0] * G2_[i][0] + G2_[i][1] * G2_[i][1]);
        if (len2 != 0.0) {
            G2_[i][0] = G2_[i][0] / len2;
            G2_[i][1] = G2_[i][1] / len2;
        }
        for (double &g : G3_[i])
            g = GradientDraw(Random_);
        const double len3 = std::sqrt(G3_[i][0] * G3_[i][0] + G3_[i][1] * G3_[i][1] + G3_[i][2] * G3_[i][2]);
        if (len3 != 0.0) {
            G3_[i][0] = G3_[i][0] / len3;
            G3_[i][1] = G3_[i][1] / len3;
            G3_[i][2] = G3_[i][2] / len3;
        }
    }
    for (int i = 255; i >= 1; --i) {
        const int j = static_cast<int>(Random_.Random(100000) % 256u);
        std::swap(P_[i], P_[j]);
    }
    // The copy runs two entries past 256 so that p[i + 1] lookups stay in the table.
    for (int i = 0; i <= 257; ++i) {
        P_[256 + i] = P_[i];
        G1_[256 + i] = G1_[i];
        G2_[256 + i] = G2_[i];
        G3_[256 + i] = G3_[i];
    }
    for (int i = 0; i <= 100; ++i)
        Cosine_[i] = (1.0 - std::cos(std::numbers::pi * i / 100.0)) / 2.0;
}

inline double TPerlinNoiseGenerator::Weight(double t) const noexcept
{
    // A NaN weight reads as 0 rather than indexing outside the table.
    if (!(t > 0.0))
        t = 0.0;
    else if (t > 1.0)
        t = 1.0;
    // Adding and taking away 2^52 rounds a value in [0, 2^51) half to even in
    // the default rounding mode: the same as nearbyint, without a library call.
    const double scaled = 100.0 * t;
    const double rounded = (scaled + 4503599627370496.0) - 4503599627370496.0;
    return Cosine_[static_cast<int>(rounded)];
}

namespace {

inline double Blend(double w, double a, double b) noexcept { return (1.0 - w) * a + w * b; }

} // namespace

double TPerlinNoiseGenerator::Interpolate(double t, double a, double b) const noexcept
{
    return Blend(Weight(t), a, b);
}

double TPerlinNoiseGenerator::Noise3(double x, double y, double z) const noexcept
{
    const LatticeAxis ax = Axis(x), ay = Axis(y), az = Axis(z);
    const int i = P_[ax.b0];
    const int j = P_[ax.b1];
    const int b00 = P_[i + ay.b0];
    const int b10 = P_[j + ay.b0];
    const int b01 = P_[i + ay.b1];
    const int b11 = P_[j + ay.b1];

    // Each axis blends with one weight several times: look it up once.
    const double wx = Weight(SCurve(ax.r0));
    const double wy = Weight(SCurve(ay.r0));
    const double wz = Weight(SCurve(az.r0));

    double u = At(G3_[b00 + az.b0], ax.r0, ay.r0, az.r0);
    double v = At(G3_[b10 + az.b0], ax.r1, ay.r0, az.r0);
    const double a0 = Blend(wx, u, v);
    u = At(G3_[b01 + az.b0], ax.r0, ay.r1, az.r0);
    v = At(G3_[b11 + az.b0], ax.r1, ay.r1, az.r0);
    const double b0 = Blend(wx, u, v);
    const double c = Blend(wy, a0, b0);

    u = At(G3_[b00 + az.b1], ax.r0, ay.r0, az.r1);
    v = At(G3_[b10 + az.b1], ax.r1, ay.r0, az.r1);
    const double a1 = Blend(wx, u, v);
    u = At(G3_[b01 + az.b1], ax.r0, ay.r1, az.r1);
    v = At(G3_[b11 + az.b1], ax.r1, ay.r1, az.r1);
    const double b1 = Blend(wx, u, v);
    const double d = Blend(wy, a1, b1);

    return Blend(wz, c, d);
}

void TPerlinNoiseGenerator::ComputeWeights() noexcept
{
    for (int k = 0; k < Octaves_; ++k)
        Weights_[k] = std::pow(Persistence_, k);
    WeightsValid_ = true;
}

double TPerlinNoiseGenerator::FractalNoise(double x, double y, double z) noexcept
{
    // The weights depend only on persistence and octave count, and both setters
    // invalidate them, so keeping them between calls changes no result.
    if (!WeightsValid_)
        ComputeWeights();
    double sum = 0.0;
    double f = BaseFrequency_;
    for (int k = 0; k < Octaves_; ++k) {
        sum += Noise3(x * f, y * f, z * f) * Weights_[k];
        f *= 2.0;
    }
    return sum;
}

} // namespace kalvion
