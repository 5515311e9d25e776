// Truncation toward zero of fractional positions, tween values and rule
// values, saturating at the int32 range so that runaway values never overflow
// a conversion; NaN gives 0.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace truncate_detail {

// The values the processor's conversion does not give: out of range, NaN, and
// -2^31 itself (whose conversion looks like a failed one).
inline int32_t Saturated(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(v);
}

}  // namespace truncate_detail

inline int32_t TruncToInt(double v) {
#if defined(__SSE2__)
    // The conversion truncates; it answers INT32_MIN for anything it cannot
    // hold, so one integer comparison finds the rare long way.
    const int32_t t = _mm_cvttsd_si32(_mm_set_sd(v));
    if (t != std::numeric_limits<int32_t>::min()) return t;
    return truncate_detail::Saturated(v);
#else
    // Inside the range truncation is exact (NaN fails the comparison).
    if (std::fabs(v) < 2147483648.0) return static_cast<int32_t>(v);
    return truncate_detail::Saturated(v);
#endif
}

// A float converts to double exactly: the same result, without the widening.
inline int32_t TruncToInt(float v) {
#if defined(__SSE2__)
    const int32_t t = _mm_cvtt_ss2si(_mm_set_ss(v));
    if (t != std::numeric_limits<int32_t>::min()) return t;
#endif
    return TruncToInt(static_cast<double>(v));
}
