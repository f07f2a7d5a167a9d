#pragma once

#include "engine/flash/flash_results.h"
#include "engine/flash/flash_state.h"

#include <span>

// Bubble and dew points: pressure at a given temperature, temperature at a given pressure.
// The saturated phase composition is the feed; the routines fill the incipient phase, K, the
// computed state variable, both Z values and the iteration count of their last stage.
// Non-convergence (a pass limit, an incipient phase equal to the feed) is recorded in
// out.converged / out.warning. Arithmetic failures that end the routine throw an EngineError.

namespace quorvane {

void BubblePressure(const FlashMixture& mixture, std::span<const float> x, float tempF,
                    FlashResults& out, FlashState& state, SaturationFlags flags = {});
void DewPressure(const FlashMixture& mixture, std::span<const float> y, float tempF,
                 FlashResults& out, FlashState& state, SaturationFlags flags = {});
void BubbleTemperature(const FlashMixture& mixture, std::span<const float> x, float pressPsia,
                       FlashResults& out, FlashState& state, SaturationFlags flags = {});
void DewTemperature(const FlashMixture& mixture, std::span<const float> y, float pressPsia,
                    FlashResults& out, FlashState& state, SaturationFlags flags = {});

} // namespace quorvane
