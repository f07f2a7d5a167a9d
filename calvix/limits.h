#pragma once

// Range limits reached within rounding. A value the library answered at a limit (h at
// 1073.15 K, the saturated liquid at a pressure) comes back from its caller through a unit
// conversion, a display rounded to ten significant digits or a recomputation from the other
// variable of the saturation line, and may then lie a hair outside the limit it was computed
// at. Such a value is taken as the limit itself; anything further out stays outside.

#include "calvix/calvix.h"

#include <algorithm>
#include <cmath>

namespace calvix {

// Accepted overshoot, relative to the size of the limit: a few units in the tenth significant
// digit, far above double rounding and far below any difference that means another state.
inline constexpr double kLimitSlack = CALVIX_LIMIT_SLACK;

// Whether `value` lies beyond `limit` by no more than the slack (on either side).
inline bool NearLimit(double value, double limit) {
    return std::fabs(value - limit) <= kLimitSlack * std::fabs(limit);
}

// `value` raised onto `low` when it lies just below it; otherwise unchanged.
inline double OntoLow(double value, double low) {
    return value < low && NearLimit(value, low) ? low : value;
}

// `value` lowered onto `high` when it lies just above it; otherwise unchanged.
inline double OntoHigh(double value, double high) {
    return value > high && NearLimit(value, high) ? high : value;
}

inline double OntoRange(double value, double low, double high) {
    return OntoHigh(OntoLow(value, low), high);
}

// Whether `value` lies between the ends `a` and `b` (either order), counting values within
// the slack of the ends' size as inside.
inline bool InsideBand(double value, double a, double b) {
    const double slack = kLimitSlack * std::max(std::fabs(a), std::fabs(b));
    return value >= std::min(a, b) - slack && value <= std::max(a, b) + slack;
}

} // namespace calvix
