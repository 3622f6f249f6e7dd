#pragma once

#include <cmath>
#include <cstdint>

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Used for every real-to-integer rounding of the program; std::round would
// round halves away from zero.
inline std::int64_t RoundHalfEven(double value)
{
    return static_cast<std::int64_t>(std::nearbyint(value));
}
