#pragma once
// A uniform grid over points in sector space for finding every point within a
// distance of another without measuring every pair.  Cells are a little larger
// than the search distance, so the 27 cells around a point hold every point
// within that distance of it.
#include "model/VexaPoint.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace kalvion {

class TProximityGrid {
public:
    // Indexes the points whose flag in `member` is set.  False (and an empty
    // grid) when the distance is not a positive finite number or the points
    // spread over too many cells; the caller then measures every pair.
    // Points with a non-finite coordinate are left out: no finite distance
    // reaches them.
    bool Build(const std::vector<TVexaPoint> &points, const std::vector<char> &member, double distance);

    // Appends to `out` the indexed points in the 27 cells around p (a superset
    // of those within the distance), in no particular order.
    void Near(const TVexaPoint &p, std::vector<int> &out) const;

private:
    static constexpr std::int64_t kMaxCellsPerAxis = std::int64_t{1} << 20;
    bool CellOf(const TVexaPoint &p, std::int64_t &cx, std::int64_t &cy, std::int64_t &cz) const;
    static std::uint64_t Pack(std::int64_t cx, std::int64_t cy, std::int64_t cz);

    double Cell = 0;
    TVexaPoint Origin;
    std::int64_t Cells[3] = {0, 0, 0};
    std::vector<int> Sorted;  // point indices grouped by cell
    std::unordered_map<std::uint64_t, std::pair<int, int>> Ranges;  // cell -> [begin, end) in Sorted
};

} // namespace kalvion
