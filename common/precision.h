#pragma once

// Component data, state variables and stored results are held as 32-bit floats; all
// arithmetic on them is done in 64 bits. ToSingle marks every place where a 64-bit
// result is narrowed for storage, so the rounding is visible where it happens.

namespace quorvane {

constexpr float ToSingle(double value) noexcept {
    return static_cast<float>(value);
}

} // namespace quorvane
