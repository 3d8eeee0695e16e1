// One line per figure that has a target, in one form for every benchmark, so that `make bench`
// can gather them at its end:
//   target  knob paint                          0.9 x BitBlt   (target <= 3 x)   met
#pragma once

#include <cstdio>

namespace quorelle::bench {

// `value` in `unit` against `limit`: met when value <= limit (or < limit when `strict`).
inline void PrintTarget(const char* what, double value, const char* unit, double limit,
                        bool strict = false) {
    const bool met = strict ? value < limit : value <= limit;
    std::printf("target  %-36s %9.2f %-10s (target %s %g %s)  %s\n", what, value, unit,
                strict ? "<" : "<=", limit, unit, met ? "met" : "NOT MET");
}

}  // namespace quorelle::bench
