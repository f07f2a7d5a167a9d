#pragma once

// Helpers shared by the exported functions: caller's units in, caller's units out, and
// the failure value for anything that cannot be answered.

#include "calvix/constants.h"
#include "calvix/units.h"

#include <cmath>
#include <optional>

namespace calvix {

// The caller's value in internal units; nothing when it cannot be converted.
inline std::optional<double> Input(Quantity quantity, double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return ToInternal(quantity, value);
}

// An internal result in the caller's units, or the error value (never converted).
inline double Answer(Quantity quantity, std::optional<double> internal) {
    if (!internal || !std::isfinite(*internal)) {
        return kErrorValue;
    }
    const std::optional<double> converted = FromInternal(quantity, *internal);
    return converted ? *converted : kErrorValue;
}

// A result without unit (speed of sound, isentropic exponent), or the error value.
inline double AnswerPlain(std::optional<double> value) {
    return value && std::isfinite(*value) ? *value : kErrorValue;
}

} // namespace calvix
