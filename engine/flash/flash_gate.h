#pragma once

#include "engine/flash/flash_case.h"
#include "engine/flash/flash_results.h"
#include "engine/flash/flash_state.h"

#include <span>

// The driver's last word on a run that says it converged, for every flash type: the result is
// checked from its stored 32-bit values, and one that fails is marked not converged with the
// reason. Checked: every fraction in 0..1 and each composition summing to 1; the mole balance
// of the feed (z = V·y + (1 − V)·x, the saturated phase equal to the feed, one phase equal to
// the feed); both Z positive; K finite and positive wherever it is reported (splits and
// saturation points); no temperature or pressure on the floor an iteration clamps to
// (−459 °F, −455 °F, 1e-6 psia, 1e-5 psia); and for splits and saturation points the equation
// of the type (Σ K·x = 1, Σ y/K = 1, the Rachford-Rice sum) and equal fugacities.

namespace quorvane {

// Tolerances of the gate, relative to the 32-bit rounding of stored values (about 6e-8) as
// the sensitivity of K to the stored temperature magnifies it.
inline constexpr double kGateBalance = 1e-6;  // |z_i − V·y_i − (1 − V)·x_i|
inline constexpr double kGateSum = 1e-5;      // |Σ K·x − 1| and the like
inline constexpr double kGateFugacity = 1e-4; // largest |ln(f_L,i/f_V,i)|

void ApplyFinalGate(FlashType type, const FlashMixture& mixture, std::span<const float> z,
                    FlashResults& out, FlashState& state);

} // namespace quorvane
