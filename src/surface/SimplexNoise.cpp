#include "surface/SimplexNoise.h"

#include <bit>
#include <cmath>

namespace kalvion {

namespace {

constexpr double F3 = 1.0 / 3.0;
constexpr double G3 = 1.0 / 6.0;
// Keeps i + j + k and the corner offsets well inside 32 bits.
constexpr double MAX_COORD = 5e8;

constexpr std::array<std::array<int, 3>, 12> EDGE_GRADIENTS{{{1, 1, 0},
                                                             {-1, 1, 0},
                                                             {1, -1, 0},
                                                             {-1, -1, 0},
                                                             {1, 0, 1},
                                                             {-1, 0, 1},
                                                             {1, 0, -1},
                                                             {-1, 0, -1},
                                                             {0, 1, 1},
                                                             {0, -1, 1},
                                                             {0, 1, -1},
                                                             {0, -1, -1}}};

inline double Corner(const std::array<double, 3> &g, double x, double y, double z) noexcept
{
    const double t = 0.6 - x * x - y * y - z * z;
    const double t2 = t * t;
    const double v = t2 * t2 * (g[0] * x + g[1] * y + g[2] * z);
    // A corner beyond reach gives exactly +0.  Masking the bits instead of
    // branching: whether a corner is in reach is a coin toss for the predictor.
    const std::uint64_t keep = std::uint64_t{0} - static_cast<std::uint64_t>(t >= 0.0);
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) & keep);
}

} // namespace

void TSimplexNoiseGenerator::SetOctaves(int n) noexcept
{
    Octaves_ = n < 0 ? 0 : (n > MAX_OCTAVES ? MAX_OCTAVES : n);
    WeightsValid_ = false;
}

void TSimplexNoiseGenerator::SetPersistence(double p) noexcept
{
    Persistence_ = p;
    WeightsValid_ = false;
}

void TSimplexNoiseGenerator::Initialize() noexcept
{
    Random_.State = static_cast<std::uint32_t>(Seed_);
    Grad3_ = EDGE_GRADIENTS;
    // The second copy is offset by 255, not 256: perm[255] ends up with the
    // value drawn for 255 and perm[256 … 510] repeat the draws for 1 … 255.
    for (int i = 0; i < 256; ++i) {
        const int v = static_cast<int>(Random_.Random(255));
        Perm_[i] = v;
        Perm_[i + 255] = v;
    }
    for (int i = 0; i < PERM_SIZE; ++i)
        PermMod12_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(Perm_[static_cast<std::size_t>(i)] % 12);
    for (int g = 0; g < 12; ++g)
        for (int a = 0; a < 3; ++a)
            GradD_[static_cast<std::size_t>(g)][static_cast<std::size_t>(a)] = Grad3_[static_cast<std::size_t>(g)][static_cast<std::size_t>(a)];
}

double TSimplexNoiseGenerator::Noise3(double x, double y, double z) const noexcept
{
    const double s = (x + y + z) * F3;
    const double xs = x + s, ys = y + s, zs = z + s;
    if (!(std::fabs(xs) < MAX_COORD && std::fabs(ys) < MAX_COORD && std::fabs(zs) < MAX_COORD))
        return 0.0;
    const int i = static_cast<int>(xs); // truncation towards zero
    const int j = static_cast<int>(ys);
    const int k = static_cast<int>(zs);
    const double t = (i + j + k) * G3;
    const double x0 = x - (i - t);
    const double y0 = y - (j - t);
    const double z0 = z - (k - t);

    // The simplex's corner order from the order of x0, y0, z0, written without
    // branches (random points mispredict them); ties fall as in the branch form
    // "x0 >= y0: y0 >= z0 ? (1,0,0),(1,1,0) : x0 >= z0 ? (1,0,0),(1,0,1) : (0,0,1),(1,0,1);
    //  else: y0 < z0 ? (0,0,1),(0,1,1) : x0 < z0 ? (0,1,0),(0,1,1) : (0,1,0),(1,1,0)".
    const int a = x0 >= y0, b = y0 >= z0, c = x0 >= z0;
    const int i1 = a & c;
    const int j1 = (1 - a) & b;
    const int k1 = (1 - b) & (1 - i1);
    const int i2 = a | (b & c);
    const int j2 = (1 - a) | b;
    const int k2 = (1 - b) | ((1 - a) & (1 - c));

    const double x1 = x0 - i1 + G3, y1 = y0 - j1 + G3, z1 = z0 - k1 + G3;
    const double x2 = x0 - i2 + 2.0 * G3, y2 = y0 - j2 + 2.0 * G3, z2 = z0 - k2 + 2.0 * G3;
    const double x3 = x0 - 1.0 + 3.0 * G3, y3 = y0 - 1.0 + 3.0 * G3, z3 = z0 - 1.0 + 3.0 * G3;

    const int ii = i & 255, jj = j & 255, kk = k & 255;
    const int *p = Perm_.data();
    const std::uint8_t *m = PermMod12_.data();
    const int gi0 = m[ii + p[jj + p[kk]]];
    const int gi1 = m[ii + i1 + p[jj + j1 + p[kk + k1]]];
    const int gi2 = m[ii + i2 + p[jj + j2 + p[kk + k2]]];
    const int gi3 = m[ii + 1 + p[jj + 1 + p[kk + 1]]];

    const double n0 = Corner(GradD_[gi0], x0, y0, z0);
    const double n1 = Corner(GradD_[gi1], x1, y1, z1);
    const double n2 = Corner(GradD_[gi2], x2, y2, z2);
    const double n3 = Corner(GradD_[gi3], x3, y3, z3);
    return 32.0 * (n0 + n1 + n2 + n3);
}

void TSimplexNoiseGenerator::ComputeWeights() noexcept
{
    for (int k = 0; k < Octaves_; ++k)
        Weights_[static_cast<std::size_t>(k)] = std::pow(Persistence_, k);
    WeightsValid_ = true;
}

double TSimplexNoiseGenerator::FractalNoise(double x, double y, double z) noexcept
{
    if (!WeightsValid_)
        ComputeWeights();
    double sum = 0.0;
    double f = BaseFrequency_;
    for (int k = 0; k < Octaves_; ++k) {
        sum += Noise3(x * f, y * f, z * f) * Weights_[static_cast<std::size_t>(k)];
        f *= 2.0;
    }
    return sum;
}

} // namespace kalvion
