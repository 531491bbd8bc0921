#pragma once

#include <cmath>

namespace tavlo {

// Nearest whole number, halves to the even neighbour (179.5 -> 180,
// 178.5 -> 178): how durations, positions and percentages are shown.
inline int nearestEven(double x)
{
    // nearbyint follows the current rounding mode, which the program never
    // changes from round-to-nearest-even.
    return static_cast<int>(std::nearbyint(x));
}

}  // namespace tavlo
