#pragma once

#include "engine/flash/flash_results.h"
#include "engine/flash/flash_state.h"

#include <span>

// The last steps of an isothermal flash once its iteration and checks are done.
//   One phase: the phase is the equation-of-state root of lower Gibbs energy at the feed
//   composition, and every property comes from that root (both Z values are set to it). It is
//   called liquid when its phase-identification parameter Π (Venkatarathnam and Oellrich,
//   2011) exceeds 1, else vapour. Both compositions are the feed and K = 1.
//   Two phases: a component absent from the feed gets K = φ_L,i/φ_V,i of the phases found;
//   when both phases are liquid-like (Π > 1) and each is below its own pseudo-critical
//   temperature, the split is between two liquids, and the warning says so.

namespace quorvane::detail {

void FinishIsothermal(const FlashMixture& mixture, std::span<const float> z, float tempF,
                      float pressPsia, FlashResults& out, FlashState& state);

// The warning of a split between two liquids.
inline constexpr const char* kSecondLiquidWarning =
    "a second liquid phase is predicted; this program computes vapour-liquid equilibrium only";

} // namespace quorvane::detail
