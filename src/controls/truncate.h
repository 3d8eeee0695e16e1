#pragma once

#include <cmath>
#include <cstdint>

namespace quorelle::controls {

// Double to int32, rounding toward zero; saturates outside the int32 range and maps NaN to 0
// instead of invoking undefined behaviour.
inline int32_t TruncToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace quorelle::controls
