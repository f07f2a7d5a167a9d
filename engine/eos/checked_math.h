#pragma once

#include "engine/eos/engine_errors.h"

#include <cmath>

// Arithmetic that reports its failures as typed exceptions, the way the engine's callers expect
// them: a zero divisor, a non-positive logarithm argument or a non-finite result end the
// statement with an EngineError instead of letting inf or NaN travel on.

namespace quorvane::checked {

inline double Div(double num, double den, const char* what) {
    if (den == 0.0) {
        throw DivisionByZeroError(what);
    }
    const double q = num / den;
    if (!std::isfinite(q)) {
        throw OverflowError(what);
    }
    return q;
}

inline double Log(double value, const char* what) {
    if (!(value > 0.0) || !std::isfinite(value)) {
        throw InvalidArgumentError(what);
    }
    return std::log(value);
}

inline double Sqrt(double value, const char* what) {
    if (!(value >= 0.0)) {
        throw InvalidArgumentError(what);
    }
    return std::sqrt(value);
}

inline double Exp(double value, const char* what) {
    if (std::isnan(value)) {
        throw InvalidArgumentError(what);
    }
    const double e = std::exp(value);
    if (!std::isfinite(e)) {
        throw OverflowError(what);
    }
    return e;
}

// A finished result that must be a number: NaN means an invalid operation went before it,
// infinity an overflow.
inline double Finite(double value, const char* what) {
    if (std::isnan(value)) {
        throw InvalidArgumentError(what);
    }
    if (!std::isfinite(value)) {
        throw OverflowError(what);
    }
    return value;
}

// Narrowing to 32-bit storage overflows when the value does not fit.
inline float Single(double value, const char* what) {
    Finite(value, what);
    if (std::fabs(value) > 3.4028234663852886e38) {
        throw OverflowError(what);
    }
    return static_cast<float>(value);
}

} // namespace quorvane::checked
