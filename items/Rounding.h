#pragma once

// Conversions from a double to the unit's integers. Values beyond the range of
// int are held at its ends (and NaN gives 0) instead of overflowing.

#include <climits>
#include <cmath>

// Cuts toward zero.
inline int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

// Rounds half away from zero.
inline int RoundHalfAway(double value)
{
    return TruncToInt(value >= 0 ? value + 0.5 : value - 0.5);
}
