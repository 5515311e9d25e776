// Truncation toward zero of fractional positions, tween values and rule
// values, saturating at the int32 range so that runaway values never overflow
// a conversion; NaN gives 0.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

inline int32_t TruncToInt(double v) {
    // Inside the range truncation is exact (NaN fails the comparison); -2^31 and
    // the values just below it take the long way to the same result.
    if (std::fabs(v) < 2147483648.0) return static_cast<int32_t>(v);
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(v);
}
