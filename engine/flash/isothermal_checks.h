#pragma once

#include "engine/flash/flash_results.h"
#include "engine/flash/flash_state.h"

#include <span>

// Checks on the outcome of an isothermal flash, run once its iteration has ended: a result is
// kept as converged only when it is physical and at equilibrium. A result that is not is
// replaced by the phase state the stability test of the feed gives (one phase, or a split
// carried on to equal fugacities from the phase that splits off), or else marked as not
// converged with the reason.

namespace quorvane::detail {

// Largest |ln(f_L,i/f_V,i)| accepted for a split stored in 32 bits.
inline constexpr double kStoredFugacityTolerance = 1e-4;

// Largest |ln(x_i·φ_L,i/(y_i·φ_V,i))| over the components present, evaluated afresh from x
// and y; throws an EngineError when the phases cannot be evaluated.
double StoredFugacityMismatch(FlashState& state, std::span<const float> z, float tempF,
                              float pressPsia, std::span<const float> x, std::span<const float> y);

// Validates out (already written by the substitution loop and its phase-state decision) and
// puts it right where it is not sound. The mixture must be bound to state.
void SettleIsothermal(const FlashMixture& mixture, std::span<const float> z, float tempF,
                      float pressPsia, FlashResults& out, FlashState& state);

} // namespace quorvane::detail
