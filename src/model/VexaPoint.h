#pragma once

namespace kalvion {

// A point in sector space, light years.
struct TVexaPoint {
    double X = 0, Y = 0, Z = 0;
    friend bool operator==(const TVexaPoint &, const TVexaPoint &) = default;
};

} // namespace kalvion
