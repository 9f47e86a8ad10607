#include "travel/ProximityGrid.h"

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

bool FinitePoint(const TVexaPoint &p) { return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z); }

} // namespace

std::uint64_t TProximityGrid::Pack(std::int64_t cx, std::int64_t cy, std::int64_t cz)
{
    return (static_cast<std::uint64_t>(cx) << 42) | (static_cast<std::uint64_t>(cy) << 21) |
           static_cast<std::uint64_t>(cz);
}

bool TProximityGrid::CellOf(const TVexaPoint &p, std::int64_t &cx, std::int64_t &cy, std::int64_t &cz) const
{
    const double fx = std::floor((p.X - Origin.X) / Cell);
    const double fy = std::floor((p.Y - Origin.Y) / Cell);
    const double fz = std::floor((p.Z - Origin.Z) / Cell);
    // Outside the grid's box (or not finite): no cell.  The box reaches one
    // cell beyond the indexed points on every side, so a query point outside
    // it has no indexed point within the distance.
    const double limit = static_cast<double>(kMaxCellsPerAxis);
    if (!(fx >= -1 && fx <= limit && fy >= -1 && fy <= limit && fz >= -1 && fz <= limit))
        return false;
    cx = static_cast<std::int64_t>(fx) + 1;
    cy = static_cast<std::int64_t>(fy) + 1;
    cz = static_cast<std::int64_t>(fz) + 1;
    return true;
}

bool TProximityGrid::Build(const std::vector<TVexaPoint> &points, const std::vector<char> &member, double distance)
{
    Sorted.clear();
    Ranges.clear();
    if (!(distance > 0) || !std::isfinite(distance) || points.size() != member.size())
        return false;
    bool any = false;
    TVexaPoint lo, hi;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!member[i] || !FinitePoint(points[i]))
            continue;
        const TVexaPoint &p = points[i];
        if (!any) {
            lo = hi = p;
            any = true;
            continue;
        }
        lo.X = std::min(lo.X, p.X), lo.Y = std::min(lo.Y, p.Y), lo.Z = std::min(lo.Z, p.Z);
        hi.X = std::max(hi.X, p.X), hi.Y = std::max(hi.Y, p.Y), hi.Z = std::max(hi.Z, p.Z);
    }
    if (!any)
        return true;
    // A margin on the cell size absorbs the rounding of the cell arithmetic:
    // two points within the distance never lie two cells apart.
    Cell = distance * 1.001;
    Origin = lo;
    const double spans[3] = {hi.X - lo.X, hi.Y - lo.Y, hi.Z - lo.Z};
    for (int a = 0; a < 3; ++a) {
        const double n = std::floor(spans[a] / Cell) + 1;
        // Indexed cells run 1 … n with one empty cell either side.
        if (!std::isfinite(n) || n + 2 >= static_cast<double>(kMaxCellsPerAxis))
            return false;
        Cells[a] = static_cast<std::int64_t>(n) + 2;
    }

    std::vector<std::pair<std::uint64_t, int>> keyed;
    keyed.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        std::int64_t cx, cy, cz;
        if (member[i] && FinitePoint(points[i]) && CellOf(points[i], cx, cy, cz))
            keyed.emplace_back(Pack(cx, cy, cz), static_cast<int>(i));
    }
    std::sort(keyed.begin(), keyed.end());
    Sorted.reserve(keyed.size());
    Ranges.reserve(keyed.size());
    for (std::size_t i = 0; i < keyed.size();) {
        std::size_t j = i;
        while (j < keyed.size() && keyed[j].first == keyed[i].first)
            Sorted.push_back(keyed[j++].second);
        Ranges.emplace(keyed[i].first, std::make_pair(static_cast<int>(i), static_cast<int>(j)));
        i = j;
    }
    return true;
}

void TProximityGrid::Near(const TVexaPoint &p, std::vector<int> &out) const
{
    std::int64_t cx, cy, cz;
    if (Ranges.empty() || !CellOf(p, cx, cy, cz))
        return;
    for (std::int64_t x = cx - 1; x <= cx + 1; ++x)
        for (std::int64_t y = cy - 1; y <= cy + 1; ++y)
            for (std::int64_t z = cz - 1; z <= cz + 1; ++z) {
                if (x < 0 || y < 0 || z < 0 || x >= Cells[0] || y >= Cells[1] || z >= Cells[2])
                    continue;
                const auto it = Ranges.find(Pack(x, y, z));
                if (it == Ranges.end())
                    continue;
                out.insert(out.end(), Sorted.begin() + it->second.first, Sorted.begin() + it->second.second);
            }
}

} // namespace kalvion
