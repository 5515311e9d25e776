// Signed 32-bit rule arithmetic that cannot overflow: results that no longer fit
// an int32 saturate at its limits (doubles go through TruncToInt, objects/Truncate.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

namespace rules {

inline constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
inline constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

inline int32_t ClampToInt32(int64_t v) {
    if (v > kInt32Max) return kInt32Max;
    if (v < kInt32Min) return kInt32Min;
    return static_cast<int32_t>(v);
}

inline int32_t SatAdd(int32_t a, int32_t b) { return ClampToInt32(int64_t{a} + int64_t{b}); }
inline int32_t SatSub(int32_t a, int32_t b) { return ClampToInt32(int64_t{a} - int64_t{b}); }
inline int32_t SatMul(int32_t a, int32_t b) { return ClampToInt32(int64_t{a} * int64_t{b}); }

// a * b in 64 bits; false when the product does not fit.
inline bool MulFits(int64_t a, int64_t b, int64_t& out) { return !__builtin_mul_overflow(a, b, &out); }

// A list size as a rule value (lists never come near the limit; clamped regardless).
inline int32_t CountOf(std::size_t n) {
    return n > static_cast<std::size_t>(kInt32Max) ? kInt32Max : static_cast<int32_t>(n);
}

}  // namespace rules
