#pragma once

#include "engine/flash/flash_results.h"
#include "engine/flash/flash_state.h"

#include <span>

// Flashes at a given molar vapour fraction: the pressure at a given temperature ("TV") or the
// temperature at a given pressure ("PV"), by a secant iteration around equation-of-state
// K-values. Reaching the pass limit is recorded in out.converged / out.warning.

namespace quorvane {

void VapourFractionPressure(const FlashMixture& mixture, std::span<const float> z, float tempF,
                            float vapourFraction, FlashResults& out, FlashState& state);
void VapourFractionTemperature(const FlashMixture& mixture, std::span<const float> z,
                               float pressPsia, float vapourFraction, FlashResults& out,
                               FlashState& state);

} // namespace quorvane
